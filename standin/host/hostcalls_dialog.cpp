// Host operations for dialogs: defining one from the module's template, binding controls,
// running it, enabling controls, releasing it.
#include <algorithm>
#include <filesystem>

#include "hostdialog.h"
#include "hoststate.h"

using rasqethost::Host;
using rasqethost::HostDialog;
using rasqethost::HostState;

namespace {

// The dialog a call names, if the host defined it and has not released it.
HostDialog* Defined(XPDialog dialog, const char* operation) {
  HostState& host = Host();
  for (const auto& d : host.dialogs) {
    if (d.get() == dialog) return d.get();
  }
  host.console.Warning(std::string(operation) + " with a dialog that is not defined");
  return nullptr;
}

void BindControl(XPDialog dialog, int id, const HostDialog::Binding& binding,
                 const char* operation) {
  HostDialog* d = Defined(dialog, operation);
  if (d == nullptr) return;
  std::string problem;
  d->Bind(id, binding, problem);
  if (!problem.empty()) Host().console.Warning(std::string(operation) + ": " + problem);
}

HostDialog* Running(const char* operation) {
  HostState& host = Host();
  if (host.runningDialog == nullptr) {
    host.console.Warning(std::string(operation) + " while no dialog runs");
  }
  return host.runningDialog;
}

}  // namespace

extern "C" {

XPDialog WINAPI DefDlg(const char* templateName, int, int, DialogRoutine setup, int, int) {
  HostState& host = Host();
  if (!host.templatesRead) {
    host.templatesRead = true;
    host.templates = rasqethost::ReadResourceScript(host.options.resourcesPath);
    if (!host.templates.ok) host.console.Warning("dialog templates: " + host.templates.error);
  }
  std::string name = templateName != nullptr ? templateName : "";
  auto found = host.templates.dialogs.find(name);
  if (found == host.templates.dialogs.end()) {
    host.console.Warning("DefDlg: no dialog template \"" + name + "\" in " +
                         host.options.resourcesPath);
    return nullptr;
  }
  host.dialogs.push_back(std::make_unique<HostDialog>(found->second, setup));
  return host.dialogs.back().get();
}

void WINAPI _EDCTL(XPDialog dialog, int id, int, int typeCode, int length, int32_t* field, int) {
  if (typeCode != 3) {
    Host().console.Warning("EDCTL " + std::to_string(id) + ": type code " +
                           std::to_string(typeCode) + " is shown as an integer");
  }
  BindControl(dialog, id, {HostDialog::BindKind::kEdit, field, length, 0, nullptr}, "EDCTL");
}

void WINAPI _CHKCTL(XPDialog dialog, int id, int, int, int32_t* bits, int mask,
                    DialogRoutine change) {
  BindControl(dialog, id, {HostDialog::BindKind::kCheck, bits, mask, 0, change}, "CHKCTL");
}

void WINAPI _RBCTL(XPDialog dialog, int id, int, int, int32_t* field, int value, int) {
  BindControl(dialog, id, {HostDialog::BindKind::kRadio, field, 0, value, nullptr}, "RBCTL");
}

int WINAPI _XPDlog(XPDialog dialog, HINSTANCE instance, int) {
  HostState& host = Host();
  HostDialog* d = Defined(dialog, "XPDlog");
  if (d == nullptr) return 0;
  if (instance != reinterpret_cast<HINSTANCE>(host.module)) {
    host.console.Warning("XPDlog with an instance handle that is not the module's");
  }
  if (host.runningDialog != nullptr) host.console.Warning("XPDlog while another dialog runs");
  HostDialog* outer = host.runningDialog;
  host.runningDialog = d;
  int result = d->Run();
  host.runningDialog = outer;
  return result;
}

void WINAPI RelDlg(XPDialog dialog) {
  HostState& host = Host();
  if (Defined(dialog, "RelDlg") == nullptr) return;
  host.dialogs.erase(std::remove_if(host.dialogs.begin(), host.dialogs.end(),
                                    [&](const auto& d) { return d.get() == dialog; }),
                     host.dialogs.end());
}

void WINAPI _EnAbCtl(int id) {
  HostDialog* d = Running("EnAbCtl");
  if (d != nullptr && !d->Enable(id, true))
    Host().console.Warning("EnAbCtl of unknown control " + std::to_string(id));
}

void WINAPI DsAbCtl(int id) {
  HostDialog* d = Running("DsAbCtl");
  if (d != nullptr && !d->Enable(id, false))
    Host().console.Warning("DsAbCtl of unknown control " + std::to_string(id));
}

HWND WINAPI _GetDlgWin(void) {
  HostDialog* d = Running("GetDlgWin");
  return d != nullptr ? d->window() : nullptr;
}

}  // extern "C"
