#include "fakehost.h"

#include <standin/win32standin.h>

#include <algorithm>
#include <cstring>
#include <memory>

const char kExpectedKeyPath[] = "Software\\CadHost\\XP\\Morvel\\RASQET (CadHost)\\";

namespace {

std::unique_ptr<FakeHost> host = std::make_unique<FakeHost>();

// Controls of "IDD_DLGJPEG" that the module reaches as windows, with their visibility at
// creation.
const struct {
  int id;
  bool visible;
} kDialogWindows[] = {{1000, true}, {1001, true}, {1014, true}, {2015, false}};

std::string HostText(const char* text) {
  auto number = reinterpret_cast<std::uintptr_t>(text);
  if (number < 0x10000) return "#" + std::to_string(number);
  return text;
}

RegistryCall Record(const RMValueSpec* request) {
  return RegistryCall{
      request->root, HostText(request->keyPath), HostText(request->valueName), request->size,
      request->type, request->sizeAgain};
}

int dialogToken;

}  // namespace

FakeHost& Host() {
  return *host;
}

void ResetHost() {
  if (host->dialogWindow) StandinDestroyWindow(host->dialogWindow);
  host = std::make_unique<FakeHost>();
}

std::string FakeHost::Key(const std::string& keyPath, const std::string& valueName) {
  return keyPath + "|" + valueName;
}

const Binding* FakeHost::FindBinding(int id) const {
  for (const Binding& binding : bindings) {
    if (binding.id == id) return &binding;
  }
  return nullptr;
}

void FakeHost::SetEdit(int id, std::int32_t value) {
  const Binding* binding = FindBinding(id);
  if (binding && binding->kind == 'E') *binding->field = value;
}

void FakeHost::ClickCheckBox(int id) {
  const Binding* binding = FindBinding(id);
  if (!binding || binding->kind != 'C') return;
  *binding->field ^= binding->maskOrValue;
  if (binding->change) binding->change();
}

void FakeHost::ClickRadioButton(int id) {
  const Binding* binding = FindBinding(id);
  if (binding && binding->kind == 'R') *binding->field = binding->maskOrValue;
}

bool FakeHost::Visible(int id) const {
  return IsWindowVisible(GetDlgItem(dialogWindow, id)) != FALSE;
}

extern "C" {

void WINAPI _XPRegCmd(XPRegBlock* block) {
  block->hostModule = host->module;
  host->registered.push_back(block);
}

void WINAPI _XPUnregCmd(XPRegBlock* block) {
  host->unregistered.push_back(block);
}

void WINAPI _XPRegExport(XPCommandProc routine, const char* description, const char* extension) {
  host->exports.push_back({routine, description, extension});
}

void WINAPI _CmdEnd(void) {
  ++host->cmdEnds;
}

void WINAPI _InfoBox(const char* text) {
  host->infoBoxes.push_back(text);
}

void WINAPI AddMenu(const char* menuText) {
  host->menusAdded.push_back(menuText);
}

const char* WINAPI _RscAdr(int number) {
  return number == 3053 ? host->keyPathStart.c_str() : nullptr;
}

int WINAPI _RMGetValue(const RMValueSpec* request) {
  RegistryCall call = Record(request);
  host->reads.push_back(call);
  auto found = host->registry.find(FakeHost::Key(call.keyPath, call.valueName));
  if (found == host->registry.end()) return 0;
  std::size_t size = std::min<std::size_t>(found->second.size(), request->size);
  std::memcpy(request->data, found->second.data(), size);
  return 1;
}

int WINAPI _RMSetValue(const RMValueSpec* request) {
  RegistryCall call = Record(request);
  host->writes.push_back(call);
  const auto* bytes = static_cast<const std::uint8_t*>(request->data);
  host->registry[FakeHost::Key(call.keyPath, call.valueName)].assign(bytes, bytes + request->size);
  return 1;
}

XPDialog WINAPI DefDlg(const char* templateName, int, int, DialogRoutine setup, int, int) {
  host->dialogTemplate = templateName;
  host->setUp = setup;
  host->bindings.clear();
  host->enabled.clear();
  host->dialogWindow = StandinCreateWindow(nullptr, 0, TRUE, TRUE);
  for (const auto& control : kDialogWindows) {
    StandinCreateWindow(host->dialogWindow, control.id, control.visible, TRUE);
  }
  return &dialogToken;
}

void WINAPI _EDCTL(XPDialog, int id, int, int typeCode, int length, int32_t* field, int) {
  host->bindings.push_back({'E', id, typeCode, length, field, 0, nullptr});
}

void WINAPI _CHKCTL(XPDialog, int id, int, int, int32_t* bits, int mask, DialogRoutine change) {
  host->bindings.push_back({'C', id, 0, 0, bits, mask, change});
}

void WINAPI _RBCTL(XPDialog, int id, int, int, int32_t* field, int value, int) {
  host->bindings.push_back({'R', id, 0, 0, field, value, nullptr});
}

int WINAPI _XPDlog(XPDialog, HINSTANCE instance, int) {
  host->dialogInstance = instance;
  if (host->setUp) host->setUp();
  return host->user(*host);
}

void WINAPI RelDlg(XPDialog) {
  ++host->dialogsReleased;
  StandinDestroyWindow(host->dialogWindow);
}

void WINAPI _EnAbCtl(int id) {
  host->enabled[id] = true;
}

void WINAPI DsAbCtl(int id) {
  host->enabled[id] = false;
}

HWND WINAPI _GetDlgWin(void) {
  return host->dialogWindow;
}

}  // extern "C"
