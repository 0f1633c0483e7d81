// The stored "AddMenu" switch: JPEGMENUON and JPEGMENUOFF set it, the event hook reads it
// when the host asks for menus (event 14).
#include <cstdint>

#include "host/commands.h"
#include "host/registration.h"
#include "host/settingskey.h"

namespace {

const int kAddMenusEvent = 14;
const char kAddMenuValue[] = "AddMenu";

// Refreshed at each event 14; stays 1 while nothing is stored, so the menu is on by default.
std::int32_t addMenu = 1;
char hookKeyPath[255];

void StoreAddMenu(std::int32_t value, const char* message) {
  char keyPath[256];
  BuildKeyPath(keyPath, sizeof keyPath);
  RMValueSpec request = SettingRequest(keyPath, kAddMenuValue, &value, sizeof value);
  _RMSetValue(&request);
  _InfoBox(message);
  _CmdEnd();
}

}  // namespace

void WINAPI EventHook(int eventCode) {
  if (eventCode != kAddMenusEvent) return;
  BuildKeyPath(hookKeyPath, sizeof hookKeyPath);
  RMValueSpec request = SettingRequest(hookKeyPath, kAddMenuValue, &addMenu, sizeof addMenu);
  _RMGetValue(&request);
  if (addMenu) AddMenu(RegistrationBlock().menuText);
}

void WINAPI JpegMenuOnCommand() {
  StoreAddMenu(1,
               "Rasqet menu turned on\nThe changes will take effect in your next session.\n\n"
               "Use JPEGMENUOFF to turn it off again.");
}

void WINAPI JpegMenuOffCommand() {
  StoreAddMenu(0,
               "Rasqet menu turned off\nThe changes will take effect in your next session.\n\n"
               "Use JPEGMENUON to turn it back on.");
}
