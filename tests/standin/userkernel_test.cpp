// wsprintfA, entry points by name, directories, windows and the Esc key of the stand-in.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <standin/win32standin.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int StandinTestExportedRoutine() {
  return 42;
}

namespace {

TEST(Wsprintf, FormatsWhatTheModuleUses) {
  char out[1100];
  struct Case {
    std::string expected;
    int written;
  };
  auto check = [&](const char* expected, int written) {
    EXPECT_STREQ(out, expected);
    EXPECT_EQ(written, static_cast<int>(std::string(expected).size()));
  };
  check("Software\\CadHost\\XP\\Morvel\\RASQET (CadHost)\\",
        wsprintfA(out, "%s\\XP\\Morvel\\%s\\", "Software\\CadHost", "RASQET (CadHost)"));
  check("-12|4294967295|ff|FF|x",
        wsprintfA(out, "%d|%u|%x|%X|%c", -12, 0xFFFFFFFFu, 255, 255, 'x'));
  check("[  42][42  ][0042][0x1f]", wsprintfA(out, "[%4d][%-4d][%04d][%#x]", 42, 42, 42, 31));
  check("-2147483648 7 4000000000",
        wsprintfA(out, "%ld %lu %lu", static_cast<LONG>(INT_MIN), static_cast<DWORD>(7),
                  static_cast<DWORD>(4000000000u)));
  check("[abc][   ab][(null)]%",
        wsprintfA(out, "[%s][%5.2s][%s]%%", "abc", "abcdef", static_cast<const char*>(nullptr)));
  check("-1 65535", wsprintfA(out, "%hd %hu", 65535, 65535));
  check("100%", wsprintfA(out, "100%"));
}

TEST(Wsprintf, StopsAtItsBufferLimit) {
  std::string longText(2000, 'a');
  char out[1100];
  std::memset(out, 'z', sizeof out);
  EXPECT_EQ(wsprintfA(out, "%s", longText.c_str()), 1023);
  EXPECT_EQ(std::string(out).size(), 1023u);
  EXPECT_EQ(out[1024], 'z');
}

TEST(ProcAddress, FindsRegisteredNamesAndPlainSymbols) {
  HMODULE self = reinterpret_cast<HMODULE>(dlopen(nullptr, RTLD_NOW));
  ASSERT_NE(self, nullptr);
  FARPROC plain = GetProcAddress(self, "StandinTestExportedRoutine");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(plain))(), 42);
  EXPECT_EQ(GetProcAddress(self, "NoSuchRoutineAnywhere"), nullptr);

  EXPECT_EQ(GetProcAddress(self, "_GetPalAdr@0"), nullptr);
  StandinExportProc(self, "_GetPalAdr@0", plain);
  EXPECT_EQ(GetProcAddress(self, "_GetPalAdr@0"), plain);
  EXPECT_EQ(GetProcAddress(reinterpret_cast<HMODULE>(&plain), "_GetPalAdr@0"), nullptr);
  StandinExportProc(self, "_GetPalAdr@0", nullptr);
  EXPECT_EQ(GetProcAddress(self, "_GetPalAdr@0"), nullptr);

  EXPECT_EQ(GetProcAddress(nullptr, "StandinTestExportedRoutine"), nullptr);
  EXPECT_EQ(GetProcAddress(self, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(5))), nullptr);
  dlclose(self);
}

TEST(Directories, GetAndSetTheCurrentDirectory) {
  char saved[4096];
  DWORD length = GetCurrentDirectoryA(sizeof saved, saved);
  ASSERT_GT(length, 0u);
  ASSERT_EQ(length, std::string(saved).size());
  // Too small a buffer: the size needed, the NUL included, and nothing written.
  char small[2] = {'q', 'q'};
  EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
  EXPECT_EQ(small[0], 'q');

  std::string base = ::testing::TempDir() + "standin_dir_test";
  ASSERT_EQ(system(("mkdir -p '" + base + "/inner'").c_str()), 0);
  ASSERT_TRUE(SetCurrentDirectoryA(base.c_str()));
  EXPECT_TRUE(SetCurrentDirectoryA("inner\\..\\inner"));  // either slash separates
  char now[4096];
  GetCurrentDirectoryA(sizeof now, now);
  EXPECT_EQ(std::string(now).substr(std::string(now).size() - 6), "/inner");
  EXPECT_FALSE(SetCurrentDirectoryA("no-such-directory"));
  EXPECT_FALSE(SetCurrentDirectoryA(""));
  ASSERT_TRUE(SetCurrentDirectoryA(saved));
}

TEST(Windows, DialogControlsByIdShowAndEnable) {
  HWND dialog = StandinCreateWindow(nullptr, 0, TRUE, TRUE);
  HWND help = StandinCreateWindow(dialog, 1014, TRUE, TRUE);
  HWND hidden = StandinCreateWindow(dialog, 2015, FALSE, TRUE);
  EXPECT_EQ(GetDlgItem(dialog, 1014), help);
  EXPECT_EQ(GetDlgItem(dialog, 9999), nullptr);
  EXPECT_EQ(GetDlgItem(nullptr, 1014), nullptr);

  EXPECT_TRUE(ShowWindow(help, SW_HIDE));  // it was visible
  EXPECT_FALSE(IsWindowVisible(help));
  EXPECT_FALSE(ShowWindow(hidden, SW_SHOW));  // it was hidden
  EXPECT_TRUE(IsWindowVisible(hidden));
  EXPECT_FALSE(EnableWindow(hidden, FALSE));  // was enabled
  EXPECT_FALSE(IsWindowEnabled(hidden));
  EXPECT_TRUE(EnableWindow(hidden, TRUE));

  EXPECT_EQ(StandinLiveWindows(), 3);
  EXPECT_TRUE(StandinDestroyWindow(dialog));
  EXPECT_EQ(StandinLiveWindows(), 0);
  EXPECT_FALSE(ShowWindow(help, SW_SHOW));
  EXPECT_EQ(GetDlgItem(dialog, 1014), nullptr);
}

TEST(Keyboard, EscapeReadsAsHeldWhileSet) {
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
  StandinSetKeyDown(VK_ESCAPE, TRUE);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE) & 0x8000, 0);
  EXPECT_EQ(GetAsyncKeyState('A'), 0);
  StandinSetKeyDown(VK_ESCAPE, FALSE);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

}  // namespace
