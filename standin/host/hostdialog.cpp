#include "hostdialog.h"

#include <standin/win32standin.h>

#include <cerrno>
#include <cstdlib>

#include "hoststate.h"

namespace rasqethost {
namespace {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kGroupBox:
      return "group";
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kCheckBox:
      return "check";
    case ControlKind::kRadioButton:
      return "radio";
    case ControlKind::kPushButton:
      return "button";
  }
  return "control";
}

bool ParseId(const std::string& text, int& id) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < -1 || value > 65535) return false;
  id = static_cast<int>(value);
  return true;
}

// A decimal integer of at most `length` characters, sign included.
bool ParseField(const std::string& text, int length, int32_t& value) {
  if (text.empty() || (length > 0 && static_cast<int>(text.size()) > length)) return false;
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || text[0] == ' ' || number < INT32_MIN || number > INT32_MAX) {
    return false;
  }
  value = static_cast<int32_t>(number);
  return true;
}

}  // namespace

HostDialog::HostDialog(const DialogTemplate& dialogTemplate, DialogRoutine setup)
    : template_(dialogTemplate), setup_(setup) {}

HostDialog::~HostDialog() {
  if (window_ != nullptr) StandinDestroyWindow(window_);
}

bool HostDialog::Bind(int id, const Binding& binding, std::string& problem) {
  for (const ControlTemplate& control : template_.controls) {
    if (control.id != id) continue;
    ControlKind want = binding.kind == BindKind::kEdit    ? ControlKind::kEdit
                       : binding.kind == BindKind::kCheck ? ControlKind::kCheckBox
                                                          : ControlKind::kRadioButton;
    if (control.kind != want) {
      problem = "control " + std::to_string(id) + " is a " + KindName(control.kind) + ", not a " +
                KindName(want);
      return false;
    }
    if (binding.field == nullptr) {
      problem = "control " + std::to_string(id) + " is bound to a null address";
      return false;
    }
    if (bindings_.count(id) != 0) problem = "control " + std::to_string(id) + " is bound twice";
    bindings_[id] = binding;
    return true;
  }
  problem = "dialog " + template_.name + " has no control " + std::to_string(id);
  return false;
}

bool HostDialog::Checked(const Control& control) const {
  const Binding* b = control.binding;
  if (b == nullptr) return control.ownState;
  if (b->kind == BindKind::kCheck)
    return b->lengthOrMask != 0 && (*b->field & b->lengthOrMask) == b->lengthOrMask;
  if (b->kind == BindKind::kRadio) return *b->field == b->value;
  return false;
}

std::string HostDialog::RenderControl(const Control& c) const {
  const ControlTemplate& t = *c.control;
  std::string line = "  ";
  if (t.id >= 0) line += std::to_string(t.id) + " ";
  line += KindName(t.kind);
  switch (t.kind) {
    case ControlKind::kEdit:
      line += " [" + c.text + "]";
      break;
    case ControlKind::kCheckBox:
      line += Checked(c) ? " [x]" : " [ ]";
      break;
    case ControlKind::kRadioButton:
      line += Checked(c) ? " (o)" : " ( )";
      break;
    default:
      break;
  }
  if (t.kind != ControlKind::kEdit) line += " \"" + t.caption + "\"";
  if (t.defaultButton) line += " default";
  if (!IsWindowEnabled(c.window)) line += " disabled";
  return line;
}

std::vector<std::string> HostDialog::Render() const {
  std::vector<std::string> lines;
  for (const Control& c : controls_) {
    lines.push_back(IsWindowVisible(c.window) ? RenderControl(c) : std::string());
  }
  return lines;
}

HostDialog::Control* HostDialog::Find(int id) {
  for (Control& c : controls_) {
    if (c.control->id == id) return &c;
  }
  return nullptr;
}

void HostDialog::Show(const std::vector<std::string>& before) {
  std::vector<std::string> after = Render();
  for (size_t i = 0; i < after.size(); ++i) {
    if (after[i] == before[i]) continue;
    if (after[i].empty()) {
      Host().console.Line("  (hidden) " + before[i].substr(2));
    } else {
      Host().console.Line(after[i]);
    }
  }
}

bool HostDialog::Enable(int id, bool enable) {
  Control* c = Find(id);
  if (c == nullptr) return false;
  EnableWindow(c->window, enable ? TRUE : FALSE);
  return true;
}

int HostDialog::Run() {
  HostState& host = Host();
  window_ = StandinCreateWindow(nullptr, 0, TRUE, TRUE);
  controls_.clear();
  for (const ControlTemplate& t : template_.controls) {
    Control c;
    c.control = &t;
    c.window = StandinCreateWindow(window_, t.id, t.visible, t.enabled);
    auto bound = bindings_.find(t.id);
    if (t.id >= 0 && bound != bindings_.end()) {
      c.binding = &bound->second;
      if (bound->second.kind == BindKind::kEdit) c.text = std::to_string(*bound->second.field);
    }
    controls_.push_back(c);
  }
  if (setup_ != nullptr) setup_();
  host.console.Line("dialog \"" + template_.caption + "\" (" + template_.name + "):");
  for (const std::string& line : Render()) {
    if (!line.empty()) host.console.Line(line);
  }

  int result = -1;
  std::string line;
  std::vector<std::string> words;
  while (result < 0) {
    host.console.Ask("dialog>");
    if (!host.input.Next(line)) {
      host.console.Answer("(end of input: cancel)");
      result = 0;
      break;
    }
    host.console.Answer(line);
    if (!SplitWords(line, words)) {
      ScriptError("unclosed quote");
      continue;
    }
    if (words.empty()) continue;
    Act(words, result);
  }
  host.console.Line(result == 1 ? "dialog closed with OK" : "dialog cancelled");
  StandinDestroyWindow(window_);
  window_ = nullptr;
  for (Control& c : controls_) c.window = nullptr;
  return result;
}

void HostDialog::Act(const std::vector<std::string>& words, int& result) {
  HostState& host = Host();
  const std::string& verb = words[0];
  if (verb == "ok" && words.size() == 1) {
    if (CommitEdits()) result = 1;
    return;
  }
  if (verb == "cancel" && words.size() == 1) {
    result = 0;
    return;
  }
  int id = 0;
  bool isSet = verb == "set" && words.size() == 3;
  bool isClick = verb == "click" && words.size() == 2;
  if (!(isSet || isClick) || !ParseId(words[1], id)) {
    ScriptError("in a dialog: set ID VALUE, click ID, ok or cancel");
    return;
  }
  Control* c = Find(id);
  if (c == nullptr || id < 0) {
    ScriptError("the dialog has no control " + words[1]);
    return;
  }
  if (!IsWindowVisible(c->window) || !IsWindowEnabled(c->window)) {
    host.console.Warning("control " + words[1] + " is " +
                         (IsWindowVisible(c->window) ? "disabled" : "hidden") +
                         ": it cannot be used");
    return;
  }
  std::vector<std::string> before = Render();
  if (isSet) {
    if (c->control->kind != ControlKind::kEdit) {
      ScriptError("control " + words[1] + " is no edit");
      return;
    }
    c->text = words[2];
    // An edit takes no more characters than its bound length.
    if (c->binding != nullptr && c->binding->lengthOrMask > 0 &&
        c->text.size() > static_cast<size_t>(c->binding->lengthOrMask)) {
      c->text.resize(static_cast<size_t>(c->binding->lengthOrMask));
    }
  } else {
    Click(*c, result);
  }
  Show(before);
}

void HostDialog::Click(Control& c, int& result) {
  const ControlTemplate& t = *c.control;
  switch (t.kind) {
    case ControlKind::kCheckBox:
      if (c.binding == nullptr) {
        c.ownState = !c.ownState;
      } else {
        if (Checked(c)) {
          *c.binding->field &= ~c.binding->lengthOrMask;
        } else {
          *c.binding->field |= c.binding->lengthOrMask;
        }
        if (c.binding->change != nullptr) c.binding->change();
      }
      break;
    case ControlKind::kRadioButton:
      if (c.binding != nullptr) {
        *c.binding->field = c.binding->value;
      } else {
        c.ownState = true;
      }
      break;
    case ControlKind::kPushButton:
      if (t.id == 1) {
        if (CommitEdits()) result = 1;
      } else if (t.id == 2) {
        result = 0;
      } else {
        Host().console.Line("button " + std::to_string(t.id) + " \"" + t.caption +
                            "\" does nothing here");
      }
      break;
    default:
      ScriptError("control " + std::to_string(t.id) + " cannot be clicked");
      break;
  }
}

bool HostDialog::CommitEdits() {
  for (Control& c : controls_) {
    if (c.binding == nullptr || c.binding->kind != BindKind::kEdit) continue;
    int32_t value;
    if (!ParseField(c.text, c.binding->lengthOrMask, value)) {
      Host().console.Block("error box: ", "Please enter an integer (control " +
                                              std::to_string(c.control->id) + ").");
      return false;
    }
  }
  for (Control& c : controls_) {
    if (c.binding == nullptr || c.binding->kind != BindKind::kEdit) continue;
    ParseField(c.text, c.binding->lengthOrMask, *c.binding->field);
  }
  return true;
}

}  // namespace rasqethost
