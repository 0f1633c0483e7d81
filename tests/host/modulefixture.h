// Loads the module into a fresh fake host for each test, as the host's loader would.
#ifndef RASQET_TESTS_HOST_MODULEFIXTURE_H
#define RASQET_TESTS_HOST_MODULEFIXTURE_H

#include <gtest/gtest.h>

#include "fakehost.h"
#include "host/exportoptions.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The registered routine of command `index` (0 JPEGOPT ... 5 SAVEBMP): the table's entry 0 is
// the start-up routine.
inline XPCommandProc Handler(int index) {
  return Host().registered.at(0)->handlers[index + 1];
}

class ModuleTest : public ::testing::Test {
 protected:
  static HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(std::uintptr_t{0x10000}); }

  void SetUp() override {
    ResetHost();
    exportOptions = kDefaultExportOptions;
    DllMain(Instance(), DLL_PROCESS_ATTACH, nullptr);
  }
  void TearDown() override { DllMain(Instance(), DLL_PROCESS_DETACH, nullptr); }

  // Unloads and loads the module again; the host keeps its registry.
  void RestartHost() {
    DllMain(Instance(), DLL_PROCESS_DETACH, nullptr);
    auto registry = Host().registry;
    ResetHost();
    Host().registry = registry;
    DllMain(Instance(), DLL_PROCESS_ATTACH, nullptr);
  }
};

#endif
