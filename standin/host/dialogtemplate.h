// Dialog templates read from a module's resource script (.rc): the dialog's name, caption
// and size, and each control's kind, caption, id, position and initial state. Numeric ids
// and names from #define lines of included headers are both understood; CONTROL lines and
// the short statements (LTEXT, EDITTEXT, GROUPBOX, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX,
// AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON) are read.
#ifndef RASQET_STANDIN_HOST_DIALOGTEMPLATE_H
#define RASQET_STANDIN_HOST_DIALOGTEMPLATE_H

#include <map>
#include <string>
#include <vector>

namespace rasqethost {

enum class ControlKind { kGroupBox, kLabel, kEdit, kCheckBox, kRadioButton, kPushButton };

struct ControlTemplate {
  ControlKind kind = ControlKind::kLabel;
  std::string caption;
  int id = -1;
  int x = 0, y = 0, width = 0, height = 0;
  bool visible = true;
  bool enabled = true;
  bool group = false;  // starts a group
  bool defaultButton = false;
};

struct DialogTemplate {
  std::string name;
  std::string caption;
  int width = 0, height = 0;
  std::vector<ControlTemplate> controls;
};

struct TemplateSet {
  bool ok = false;
  std::string error;
  std::map<std::string, DialogTemplate> dialogs;  // by name
};

TemplateSet ReadResourceScript(const std::string& path);

}  // namespace rasqethost

#endif
