// The library entry point: registration on process attach, withdrawal on detach.
#include "host/registration.h"

// The one name the module offers its host: Windows finds the entry point through the image
// header, a Linux host looks this name up after loading the library.
#if defined(_WIN32)
#define RASQET_ENTRY_POINT
#else
#define RASQET_ENTRY_POINT __attribute__((visibility("default")))
#endif

extern "C" RASQET_ENTRY_POINT BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason,
                                                  LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    RegisterExtension(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    UnregisterExtension();
  }
  return TRUE;
}
