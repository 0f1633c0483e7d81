// The JPEGOPT dialog "IDD_DLGJPEG": the host runs it with every control bound to a field of
// exportOptions; the module only sets the controls' states.
#ifndef RASQET_HOST_OPTIONSDIALOG_H
#define RASQET_HOST_OPTIONSDIALOG_H

#include "host/hostinterface.h"

// Runs when the dialog opens and whenever "Use clipboard resolution" changes: the size edits
// are enabled only while the clipboard size is not used; Help is hidden and the
// black-and-white check box shown.
int WINAPI OptionsDialogSetUp();

#endif
