// A dialog the module defines from its template (DefDlg), binds to its variables (EDCTL,
// CHKCTL, RBCTL) and runs (XPDlog). Running it shows the visible controls as text and takes
// "set ID VALUE", "click ID", "ok" and "cancel" lines from the session.
//
// Check boxes and radio buttons write their bound field as they are clicked (a check box's
// change routine runs after that); edits are written when the dialog closes with OK, each
// as a decimal integer of at most its bound length in characters.
#ifndef RASQET_STANDIN_HOST_HOSTDIALOG_H
#define RASQET_STANDIN_HOST_HOSTDIALOG_H

#include <host/hostinterface.h>

#include <map>
#include <string>
#include <vector>

#include "dialogtemplate.h"

namespace rasqethost {

class HostDialog {
 public:
  HostDialog(const DialogTemplate& dialogTemplate, DialogRoutine setup);
  ~HostDialog();

  enum class BindKind { kEdit, kCheck, kRadio };
  struct Binding {
    BindKind kind;
    int32_t* field;
    int lengthOrMask = 0;  // edit: length in characters; check box: mask
    int value = 0;         // radio button
    DialogRoutine change = nullptr;
  };
  // False when the template has no such control, or one of another kind.
  bool Bind(int id, const Binding& binding, std::string& problem);

  // Runs the dialog on the session's input; 1 for OK, 0 for Cancel.
  int Run();
  HWND window() const { return window_; }
  const std::string& name() const { return template_.name; }
  // Enables or disables a control of the running dialog; false for an unknown id.
  bool Enable(int id, bool enable);

 private:
  struct Control {
    const ControlTemplate* control;
    HWND window = nullptr;
    std::string text;       // an edit's contents
    bool ownState = false;  // an unbound check box or radio button
    const Binding* binding = nullptr;
  };

  std::vector<std::string> Render() const;
  std::string RenderControl(const Control& control) const;
  bool Checked(const Control& control) const;
  Control* Find(int id);
  void Show(const std::vector<std::string>& before);
  // One session line; sets result to 1 or 0 when the dialog closes.
  void Act(const std::vector<std::string>& words, int& result);
  void Click(Control& control, int& result);
  bool CommitEdits();

  DialogTemplate template_;
  DialogRoutine setup_;
  std::map<int, Binding> bindings_;
  std::vector<Control> controls_;
  HWND window_ = nullptr;
};

}  // namespace rasqethost

#endif
