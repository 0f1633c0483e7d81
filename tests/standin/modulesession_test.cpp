// rasqet-host with the Rasqet module itself: start-up and menu, the menu switches across
// sessions, and the options dialog driven through the host.
#include "hostsession.h"

namespace {

using standintest::RunHost;
using standintest::ScratchDir;
using standintest::Transcript;

const std::string kModule = RASQET_MODULE;
const char kMenu[] =
    "menu added: JPEG:\n"
    "            Write bitmap section:|WBS;\n"
    "            ------:\n"
    "            Settings:|JPEGOPT;\n"
    "            ------:\n"
    "            Help:|OPENDOC RASQET.HTML;\n";

TEST(ModuleSession, StartsWithItsMenuAndUnloadsCleanly) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kModule, "quit\n", {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(
      t.Has("registered commands: JPEGOPT WBS WBSM JPEGMENUON JPEGMENUOFF SAVEBMP\n"
            "registered export \"JPEG File\" (JPG)\nregistered export \"PNG File\" (PNG)\n"))
      << t.output;
  EXPECT_TRUE(t.Has(kMenu)) << t.output;
  EXPECT_TRUE(t.Has("unregistered commands\nunloaded module")) << t.output;
}

TEST(ModuleSession, MenuSwitchTakesEffectAtTheNextEvent) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kModule, "JPEGMENUOFF\nevent 14\nevent 3\n", {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(
      t.Has("info box: Rasqet menu turned off\n"
            "          The changes will take effect in your next session.\n"
            "          \n"
            "          Use JPEGMENUON to turn it back on.\n"))
      << t.output;
  EXPECT_TRUE(t.Has("> event 14\n> event 3\n")) << t.output;

  // The next session starts without the menu, until it is switched on again.
  t = RunHost(dir, kModule, "JPEGMENUON\nevent 14\n", {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  size_t command = t.output.find("> JPEGMENUON");
  ASSERT_NE(command, std::string::npos) << t.output;
  EXPECT_EQ(t.output.find("menu added"), t.output.find(kMenu, command)) << t.output;
  EXPECT_NE(t.output.find(kMenu, command), std::string::npos) << t.output;
}

TEST(ModuleSession, OptionsDialogShowsEditsAndStores) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kModule,
                         "JPEGOPT\nclick 1010\nset 1000 1234\nset 1002 1000\nclick 1013\nok\n"
                         "JPEGOPT\nset 1001 77\ncancel\n"
                         "JPEGOPT\nok\n",
                         {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  // The hidden controls never show.
  for (const char* hidden : {"Fastest", "Use filters", "Greyscale", "\"Help\""}) {
    EXPECT_FALSE(t.Has(hidden)) << hidden;
  }
  EXPECT_TRUE(t.Has("  2015 check [ ] \"Force black and white image (requires 6.10)\"\n"))
      << t.output;
  EXPECT_TRUE(t.Has("  1000 edit [800] disabled\n")) << t.output;
  // Clearing the check box enables the size edits at once; the quality edit takes three
  // characters.
  EXPECT_TRUE(
      t.Has("dialog> click 1010\n  1000 edit [800]\n  1001 edit [600]\n"
            "  1010 check [ ] \"Use clipboard resolution\"\n"))
      << t.output;
  EXPECT_TRUE(t.Has("dialog> set 1002 1000\n  1002 edit [100]\n")) << t.output;
  EXPECT_TRUE(t.Has("dialog> click 1013\n  1011 radio ( ) \"Normal\"\n  1013 radio (o) \"Crop\"\n"))
      << t.output;
  // The third run shows what the first stored, not what the cancelled second typed.
  EXPECT_TRUE(t.Has("  1000 edit [1234]\n  label \"Height:\"\n  1001 edit [600]\n")) << t.output;
  std::ifstream registry(dir + "/registry.reg");
  std::string text((std::istreambuf_iterator<char>(registry)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\CadHost\\XP\\Morvel\\RASQET (CadHost)]\n"
                      "\"Options\"=hex:d2,04,00,00,58,02,00,00,00,00,00,00,64,00,00,00,"
                      "02,00,00,00,01,00,00,00,09,00,00,00,00,00,00,00\n"),
            std::string::npos)
      << text;
}

TEST(ModuleSession, DisabledAndHiddenControlsCannotBeUsed) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(
      dir, kModule, "JPEGOPT\nset 1000 5\nclick 1003\nset 1002 abc\nok\ncancel\n", {"--strict"});
  EXPECT_EQ(t.exitCode, 3) << t.output;
  EXPECT_TRUE(t.Has("warning: control 1000 is disabled: it cannot be used")) << t.output;
  EXPECT_TRUE(t.Has("warning: control 1003 is hidden: it cannot be used")) << t.output;
  // A quality that is no number keeps the dialog open.
  EXPECT_TRUE(
      t.Has("dialog> ok\nerror box: Please enter an integer (control 1002).\ndialog> cancel\n"
            "dialog cancelled\n"))
      << t.output;
  t = RunHost(dir, kModule, "JPEGOPT\nfrob\n");
  EXPECT_EQ(t.exitCode, 2) << t.output;
  EXPECT_TRUE(t.Has("session.txt:2: in a dialog: set ID VALUE, click ID, ok or cancel"))
      << t.output;
}

TEST(ModuleSession, MissingTemplateIsReportedNotFatal) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kModule, "JPEGOPT\nJPEGMENUON\n", {"--resources", dir + "/none.rc"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(t.Has("warning: DefDlg: no dialog template \"IDD_DLGJPEG\"")) << t.output;
  EXPECT_TRUE(t.Has("end of JPEGOPT\n> JPEGMENUON\n")) << t.output;
}

}  // namespace
