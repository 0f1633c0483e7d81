// Sessions with the stand-in CAD host: the module loaded as the host loads it, driven by
// script lines as a user would type them, with settings kept in a registry file between runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct HostRun {
  int status;
  std::string output;
};

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() /
          ("rasqet-session-" + std::to_string(::getpid()) + "-" + test->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // One run of the host: loads the module, runs the script, unloads. --strict makes any warning
  // of the host (a command without exactly one CmdEnd among them) fail the run.
  HostRun RunHost(const std::string& script, const std::string& extra = "") {
    const fs::path scriptFile = dir / "session.txt";
    std::ofstream(scriptFile) << script;
    const std::string command = std::string(RASQET_HOST) + " --strict --module " + RASQET_MODULE +
                                " --registry " + (dir / "registry.reg").string() + " --script " +
                                scriptFile.string() + " " + extra + " 2>&1";
    HostRun run{-1, ""};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      run.output.append(buffer, n);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  std::string Registry() const {
    std::ifstream file(dir / "registry.reg");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  static bool Has(const HostRun& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
  }

  fs::path dir;
};

const char kMenuAdded[] = "menu added: JPEG:";

TEST_F(SessionTest, FirstRunShowsTheDefaultsAndCancelStoresNothing) {
  HostRun run = RunHost("JPEGOPT\ncancel\nquit\n");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(Has(run, kMenuAdded)) << run.output;  // no switch stored: the menu is on
  for (const char* line :
       {"1000 edit [800] disabled", "1001 edit [600] disabled",
        "1010 check [x] \"Use clipboard resolution\"", "1011 radio (o) \"Normal\"",
        "1008 radio (o) \"Maximum\"", "1002 edit [75]", "1004 check [ ] \"Progressive\"",
        "2015 check [ ] \"Force black and white image (requires 6.10)\""}) {
    EXPECT_TRUE(Has(run, line)) << line << "\n" << run.output;
  }
  // Never offered: Help, the greyscale box and the two unused PNG controls.
  for (const char* hidden : {"\"Help\"", "\"Greyscale\"", "\"Fastest\"", "\"Use filters\""}) {
    EXPECT_FALSE(Has(run, hidden)) << hidden;
  }
  EXPECT_EQ(Registry().find("\"Options\""), std::string::npos) << Registry();
}

TEST_F(SessionTest, SettingsChosenWithOkAreThereInTheNextRun) {
  HostRun first = RunHost(
      "JPEGOPT\nclick 1010\nset 1000 1234\nset 1001 567\nset 1002 90\nclick 1004\n"
      "click 1013\nclick 1006\nclick 2015\nok\nquit\n");
  ASSERT_EQ(first.status, 0) << first.output;
  // width 1234, height 567, flags 2, quality 90, reserved 2, Crop, Fast, black and white.
  EXPECT_NE(Registry().find("\"Options\"=hex:d2,04,00,00,37,02,00,00,02,00,00,00,5a,00,00,00,"
                            "02,00,00,00,01,00,00,00,01,00,00,00,01,00,00,00"),
            std::string::npos)
      << Registry();

  HostRun second = RunHost("JPEGOPT\ncancel\nquit\n");
  ASSERT_EQ(second.status, 0) << second.output;
  for (const char* line :
       {"1000 edit [1234]\n", "1001 edit [567]\n", "1010 check [ ] \"Use clipboard resolution\"",
        "1013 radio (o) \"Crop\"", "1006 radio (o) \"Fast\"", "1002 edit [90]",
        "1004 check [x] \"Progressive\"",
        "2015 check [x] \"Force black and white image (requires 6.10)\""}) {
    EXPECT_TRUE(Has(second, line)) << line << "\n" << second.output;
  }
}

// A stored record keeps its reserved field and its hidden greyscale bit through OK.
TEST_F(SessionTest, OkKeepsWhatTheDialogDoesNotShow) {
  std::ofstream(dir / "registry.reg")
      << "[HKEY_CURRENT_USER\\Software\\CadHost\\XP\\Morvel\\RASQET (CadHost)]\n"
         "\"Options\"=hex:20,03,00,00,58,02,00,00,01,00,00,00,4b,00,00,00,"
         "39,30,00,00,00,00,00,00,09,00,00,00,00,00,00,00\n";
  HostRun run = RunHost("JPEGOPT\nset 1002 80\nok\nquit\n");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(Registry().find("\"Options\"=hex:20,03,00,00,58,02,00,00,01,00,00,00,50,00,00,00,"
                            "39,30,00,00,00,00,00,00,09,00,00,00,00,00,00,00"),
            std::string::npos)
      << Registry();
}

TEST_F(SessionTest, MenuSwitchTakesEffectAtTheNextStart) {
  HostRun off = RunHost("JPEGMENUOFF\nquit\n");
  ASSERT_EQ(off.status, 0) << off.output;
  EXPECT_TRUE(Has(off, "info box: Rasqet menu turned off")) << off.output;
  EXPECT_TRUE(Has(off, kMenuAdded));  // this run started with the menu on

  HostRun on = RunHost("JPEGMENUON\nquit\n");
  ASSERT_EQ(on.status, 0) << on.output;
  EXPECT_FALSE(Has(on, kMenuAdded)) << on.output;
  EXPECT_TRUE(Has(on, "info box: Rasqet menu turned on")) << on.output;

  HostRun next = RunHost("quit\n");
  ASSERT_EQ(next.status, 0) << next.output;
  EXPECT_TRUE(Has(next, kMenuAdded)) << next.output;
}

TEST_F(SessionTest, OnlyEvent14AddsTheMenu) {
  HostRun run = RunHost("JPEGMENUOFF\nevent 14\nJPEGMENUON\nevent 3\nevent 14\nquit\n");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::size_t on = run.output.find("end of JPEGMENUON");
  ASSERT_NE(on, std::string::npos) << run.output;
  const std::size_t lastMenu = run.output.rfind(kMenuAdded);
  EXPECT_GT(lastMenu, on) << run.output;
  // Added at start-up and after the last event 14 only.
  EXPECT_EQ(run.output.find(kMenuAdded, run.output.find(kMenuAdded) + 1), lastMenu);
}

TEST_F(SessionTest, CommandsStillToComeSaySoAndEndOnce) {
  HostRun run = RunHost("WBS\nWBSM\nSAVEBMP\nquit\n");
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* name : {"WBS", "WBSM", "SAVEBMP"}) {
    EXPECT_TRUE(Has(run, std::string("info box: ") + name + " is not available yet."))
        << name << "\n"
        << run.output;
  }
}

}  // namespace
