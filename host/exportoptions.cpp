#include "host/exportoptions.h"

#include "host/registration.h"
#include "host/settingskey.h"

ExportOptions exportOptions = kDefaultExportOptions;

namespace {

const char kOptionsValue[] = "Options";

// The host resolves these string numbers to its own key and value of the clipboard settings.
const std::uintptr_t kClipboardKeyString = 3512;
const std::uintptr_t kClipboardValueString = 3420;
const int kClipboardSettings = 3;

// Copies the host's clipboard settings into sysVars; false when the host supplies none.
bool ReadClipboardSettings(SysVarRec* sysVars) {
  HMODULE hostModule = RegistrationBlock().hostModule;
  FARPROC entry = hostModule ? GetProcAddress(hostModule, "_GetSysVAdr@4") : nullptr;
  if (entry) {
    // The void(*)() step is the portable way between two unrelated function pointer types.
    auto getSysVAdr = reinterpret_cast<GetSysVAdrProc>(reinterpret_cast<void (*)()>(entry));
    const SysVarRec* hostSysVars = getSysVAdr(kClipboardSettings);
    if (!hostSysVars) return false;
    *sysVars = *hostSysVars;
    return true;
  }
  RMValueSpec request = SettingRequest(reinterpret_cast<const char*>(kClipboardKeyString),
                                       reinterpret_cast<const char*>(kClipboardValueString),
                                       sysVars, sizeof *sysVars);
  _RMGetValue(&request);
  return true;
}

}  // namespace

void LoadExportOptions(bool withClipboardSize) {
  char keyPath[256];
  BuildKeyPath(keyPath, sizeof keyPath);
  RMValueSpec request =
      SettingRequest(keyPath, kOptionsValue, &exportOptions, sizeof exportOptions);
  _RMGetValue(&request);
  if (!withClipboardSize || !(exportOptions.flags & kUseClipboardSize)) return;

  // An absent host value leaves the local record as it is: start it from the loaded size so
  // that the size stays when neither source supplies one.
  SysVarRec sysVars = {};
  sysVars.width = exportOptions.width;
  sysVars.height = exportOptions.height;
  if (!ReadClipboardSettings(&sysVars)) return;
  exportOptions.width = sysVars.width;
  exportOptions.height = sysVars.height;
}

void SaveExportOptions() {
  char keyPath[256];
  BuildKeyPath(keyPath, sizeof keyPath);
  RMValueSpec request =
      SettingRequest(keyPath, kOptionsValue, &exportOptions, sizeof exportOptions);
  _RMSetValue(&request);
}
