#include "host/registration.h"

#include "host/commands.h"

namespace {

// Each name NUL-terminated; the literal's own terminator is the closing NUL of the list.
const char kCommandNames[] = "JPEGOPT\0WBS\0WBSM\0JPEGMENUON\0JPEGMENUOFF\0SAVEBMP\0";

// Entry 0 is bound to no name, so the handler of name i sits at entry i + 1.
const XPCommandProc kHandlers[7] = {
    StartUp,           JpegOptCommand,     WbsCommand,     WbsmCommand,
    JpegMenuOnCommand, JpegMenuOffCommand, SaveBmpCommand,
};

const char kMenuText[] =
    "JPEG:\r\n"
    "Write bitmap section:|WBS;\r\n"
    "------:\r\n"
    "Settings:|JPEGOPT;\r\n"
    "------:\r\n"
    "Help:|OPENDOC RASQET.HTML;\r\n";

const char kLabel[] = "Rasqet";

// Lives as long as the module: the host keeps its address from XPRegCmd to XPUnregCmd.
XPRegBlock registrationBlock = {
    0,              // host's
    kCommandNames,  //
    kHandlers,      //
    0,              // host's
    EventHook,      //
    0,              // host's
    61440,          //
    nullptr,        // instance, set before registering
    603,            //
    0,              // host's
    0,              // host's
    603,            //
    0,              // host's
    0,              // host's
    nullptr,        // host module, written by the host
    {0, 0, 0, 0, 0, 0},
    kMenuText,  //
    kLabel,     //
    0,          // host's
};

}  // namespace

void WINAPI StartUp() {}

void RegisterExtension(HINSTANCE instance) {
  registrationBlock.instance = instance;
  _XPRegCmd(&registrationBlock);
  _XPRegExport(JpegExportRoutine, "JPEG File", "JPG");
  _XPRegExport(PngExportRoutine, "PNG File", "PNG");
}

void UnregisterExtension() {
  _XPUnregCmd(&registrationBlock);
}

const XPRegBlock& RegistrationBlock() {
  return registrationBlock;
}
