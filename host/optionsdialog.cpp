#include "host/optionsdialog.h"

#include "host/commands.h"
#include "host/exportoptions.h"
#include "host/registration.h"
#include "resources/resource.h"

namespace {

// Type code of a bound edit: a 32-bit integer shown in decimal.
const int kIntegerEdit = 3;

void BindControls(XPDialog dialog) {
  ExportOptions& o = exportOptions;
  _EDCTL(dialog, IDC_WIDTH, 0, kIntegerEdit, 4, &o.width, 0);
  _EDCTL(dialog, IDC_HEIGHT, 0, kIntegerEdit, 4, &o.height, 0);
  _CHKCTL(dialog, IDC_CLIPBOARD_SIZE, 0, 0, &o.flags, kUseClipboardSize, OptionsDialogSetUp);
  _EDCTL(dialog, IDC_QUALITY, 0, kIntegerEdit, 3, &o.jpegQuality, 0);
  _CHKCTL(dialog, IDC_GREYSCALE, 0, 0, &o.flags, kGreyscale, nullptr);
  _CHKCTL(dialog, IDC_PROGRESSIVE, 0, 0, &o.flags, kProgressive, nullptr);
  _RBCTL(dialog, IDC_PNG_FAST, 0, 0, &o.pngLevel, 1, 0);
  _RBCTL(dialog, IDC_PNG_DEFAULT, 0, 0, &o.pngLevel, -1, 0);
  _RBCTL(dialog, IDC_PNG_MAXIMUM, 0, 0, &o.pngLevel, 9, 0);
  _RBCTL(dialog, IDC_AREA_NORMAL, 0, 0, &o.spareAreaMode, kSpareAreaNormal, 0);
  _RBCTL(dialog, IDC_AREA_CROP, 0, 0, &o.spareAreaMode, kSpareAreaCrop, 0);
  _RBCTL(dialog, IDC_AREA_BLANK, 0, 0, &o.spareAreaMode, kSpareAreaBlank, 0);
  _CHKCTL(dialog, IDC_BLACK_AND_WHITE, 0, 0, &o.blackAndWhite, 1, nullptr);
}

}  // namespace

int WINAPI OptionsDialogSetUp() {
  if (exportOptions.flags & kUseClipboardSize) {
    DsAbCtl(IDC_WIDTH);
    DsAbCtl(IDC_HEIGHT);
  } else {
    _EnAbCtl(IDC_WIDTH);
    _EnAbCtl(IDC_HEIGHT);
  }
  HWND dialogWindow = _GetDlgWin();
  ShowWindow(GetDlgItem(dialogWindow, IDC_HELP_BUTTON), SW_HIDE);
  ShowWindow(GetDlgItem(dialogWindow, IDC_BLACK_AND_WHITE), SW_SHOW);
  return 0;
}

void WINAPI JpegOptCommand() {
  LoadExportOptions(false);
  // The host edits the bound fields in place; a cancelled dialog must leave them as loaded.
  const ExportOptions loaded = exportOptions;
  XPDialog dialog = DefDlg("IDD_DLGJPEG", 0, 0, OptionsDialogSetUp, 0, 0);
  BindControls(dialog);
  if (_XPDlog(dialog, RegistrationBlock().instance, 0) == 1) {
    SaveExportOptions();
  } else {
    exportOptions = loaded;
  }
  RelDlg(dialog);
  _CmdEnd();
}
