// The library entry point: registration on process attach, withdrawal on detach.
#include "host/registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    RegisterExtension(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterExtension();
  }
  return TRUE;
}
