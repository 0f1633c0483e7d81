// Commands and export routines whose work is not in this version of the module yet: they
// tell the user so. Commands end with CmdEnd; the export routines are no commands and end
// none.
#include "host/commands.h"

namespace {

void NotAvailableCommand(const char* message) {
  _InfoBox(message);
  _CmdEnd();
}

}  // namespace

void WINAPI WbsCommand() {
  NotAvailableCommand("WBS is not available yet.");
}

void WINAPI WbsmCommand() {
  NotAvailableCommand("WBSM is not available yet.");
}

void WINAPI SaveBmpCommand() {
  NotAvailableCommand("SAVEBMP is not available yet.");
}

void WINAPI JpegExportRoutine() {
  _InfoBox("JPEG export is not available yet.");
}

void WINAPI PngExportRoutine() {
  _InfoBox("PNG export is not available yet.");
}
