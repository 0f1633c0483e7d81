// rasqet-host end to end, with the probe module: session lines, prompts, the checks the host
// makes after each command, its options, and the drawing it draws.
#include "hostsession.h"

namespace {

using standintest::Picture;
using standintest::ReadPpm;
using standintest::RunHost;
using standintest::ScratchDir;
using standintest::Transcript;

const std::string kProbe = PROBE_MODULE;

TEST(HostSession, MalformedLinesEndTheSessionWithStatus2) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"FROB\n", "session.txt:1: unknown command or wrong arguments: FROB"},
      {"DRAW extra\n", "session.txt:1: unknown command"},
      {"# comment\n\nexport \"PPM File\n", "session.txt:3: unclosed quote"},
      {"export out.ppm\n", "session.txt:1: export \"FORMAT\" PATH"},
      {"export \"GIF File\" out.gif\n", "session.txt:1: no export format \"GIF File\""},
      {"event x\n", "session.txt:1: event takes a number"},
      {"PICK\n1;2\n", "session.txt:2: a point x,y (or @dx,dy) or cancel"},
      {"PICK\n1,2\n3,\n", "session.txt:3: a point"},
      {"PICK\n1,nan\n", "session.txt:2: a point"},
      {"DRAW\ntwo words\n", "session.txt:2: a file name (in quotes if it has blanks) or cancel"},
      {"SAVEAS\n\n", "session.txt:2: a file name"},
  };
  for (const Case& c : cases) {
    std::string dir = ScratchDir();
    Transcript t = RunHost(dir, kProbe, c.script);
    EXPECT_EQ(t.exitCode, 2) << c.script << t.output;
    EXPECT_TRUE(t.Has(c.message)) << c.script << t.output;
    EXPECT_FALSE(t.Has("unloaded module")) << c.script;
  }
}

TEST(HostSession, PromptsTakePointsNamesAndCancel) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kProbe,
                         "PICK\n1.5,-2\n@3,4\n"
                         "PICK\ncancel\n"
                         "PICK\n0,0\ncancel\n"
                         "SAVEAS\nresult\n"
                         "SAVEAS\n\"with blank.bmp\"\n"
                         "SAVEAS\ncancel\n"
                         "PICK\n",  // the input ends at the prompt: a cancel
                         {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(
      t.Has("prompt: Pick first corner: 1.5,-2\nanchor: 1.5,-2\n"
            "prompt: Opposite corner: @3,4\ninfo box: corners 1.5,-2 4.5,2\n"))
      << t.output;
  EXPECT_TRUE(t.Has("info box: chosen " + dir + "/result.PNG type 1")) << t.output;
  EXPECT_TRUE(t.Has("info box: chosen " + dir + "/with blank.bmp type 2")) << t.output;
  EXPECT_TRUE(t.Has("save dialog \"Save probe\" in " + dir +
                    ": PNG file (*.PNG), BMP Bitmap file (*.BMP); default extension PNG"))
      << t.output;
  EXPECT_TRUE(t.Has("info box: no name")) << t.output;
  EXPECT_TRUE(t.Has("prompt: Pick first corner: (end of input)\ninfo box: cancelled\nend of PICK"))
      << t.output;
  EXPECT_TRUE(t.Has("unloaded module")) << t.output;
}

TEST(HostSession, WarnsAboutWhatACommandLeavesWrong) {
  struct Case {
    const char* command;
    const char* warning;
  };
  const Case cases[] = {
      {"NOEND", "warning: NOEND ended with 0 CmdEnd calls instead of one"},
      {"TWICE", "warning: TWICE ended with 2 CmdEnd calls instead of one"},
      {"LEAK", "warning: LEAK left 1 GDI objects alive"},
      {"LEAK", "warning: LEAK left the output on a bitmap"},
      {"THROW", "warning: an exception left the module in THROW: probe failure"},
      {"BLACK", "warning: BLACK left the palette or background changed"},
  };
  for (const Case& c : cases) {
    std::string dir = ScratchDir();
    Transcript t = RunHost(dir, kProbe, std::string(c.command) + "\n", {"--strict"});
    EXPECT_EQ(t.exitCode, 3) << c.command << t.output;
    EXPECT_TRUE(t.Has(c.warning)) << c.command << t.output;
    Transcript lenient = RunHost(dir, kProbe, std::string(c.command) + "\n");
    EXPECT_EQ(lenient.exitCode, 0) << c.command;
  }
}

TEST(HostSession, StatusLineRegistryAndEscape) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kProbe, "STATUS\nREG\nREG\nesc\nESCKEY\nESCKEY\n", {"--strict"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(
      t.Has("status: Saving probe... 0%\nstatus: Saving probe... 50%\n"
            "status: Saving probe... 100%\nstatus: (cleared)\n"))
      << t.output;
  EXPECT_TRUE(t.Has("info box: stored 1 found 1 value 4660 missing 77")) << t.output;
  EXPECT_TRUE(t.Has("> ESCKEY\ninfo box: Esc held\nend of ESCKEY\n> ESCKEY\ninfo box: Esc up\n"))
      << t.output;
  std::ifstream registry(dir + "/registry.reg");
  std::string text((std::istreambuf_iterator<char>(registry)), std::istreambuf_iterator<char>());
  EXPECT_NE(
      text.find("[HKEY_CURRENT_USER\\Software\\CadHost\\XP\\Probe]\n\"Probe\"=hex:34,12,00,00"),
      std::string::npos)
      << text;
}

TEST(HostSession, OptionalEntriesAndClipboard) {
  struct Case {
    std::vector<std::string> options;
    const char* report;
  };
  const Case cases[] = {
      {{}, "clipboard 1024x768, palette 15 is ffffff, stored 1024x768"},
      {{"--clipboard", "640x480"}, "clipboard 640x480, palette 15 is ffffff, stored 640x480"},
      {{"--no-sysvar-entry", "--no-palette-entry"},
       "no sysvar entry, no palette entry, stored 1024x768"},
      {{"--no-sysvar-entry", "--clipboard", "none"},
       "no sysvar entry, palette 15 is ffffff, nothing stored"},
  };
  for (const Case& c : cases) {
    std::string dir = ScratchDir();
    Transcript t = RunHost(dir, kProbe, "ENTRIES\n", c.options);
    EXPECT_EQ(t.exitCode, 0) << t.output;
    EXPECT_TRUE(t.Has(std::string("info box: ") + c.report)) << t.output;
  }
}

TEST(HostSession, DrawsTheSampleWithItsLayerRules) {
  std::string dir = ScratchDir();
  Transcript t =
      RunHost(dir, kProbe, "DRAW\nsample.ppm\nexport \"PPM File\" export.ppm\n", {"--strict"});
  ASSERT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(t.Has("info box: " + dir + "/export.ppm")) << t.output;
  Picture picture = ReadPpm(dir + "/sample.ppm");
  ASSERT_EQ(picture.width, 160);
  ASSERT_EQ(picture.height, 100);
  EXPECT_GT(picture.Count(0xFFFFFF), 8000);  // the white background
  for (uint32_t colour :
       {0x000000u, 0xFF0000u, 0xFFFF00u, 0x00FF00u, 0x0000FFu, 0xFF00FFu, 0x808080u}) {
    EXPECT_GT(picture.Count(colour), 0) << std::hex << colour;
  }
  // The hidden construction layer's light grey never shows; its north arrow does, right of
  // the plan, and its reference mark widens the extents to the left and top.
  EXPECT_EQ(picture.Count(0xC0C0C0), 0);
  int arrow = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 150; x < 160; ++x) arrow += picture.At(x, y) == 0;
  }
  EXPECT_GT(arrow, 5);
  for (int y = 0; y < 100; ++y) EXPECT_EQ(picture.At(0, y), 0xFFFFFFu) << y;
  EXPECT_EQ(ReadPpm(dir + "/export.ppm").pixels, picture.pixels);
}

TEST(HostSession, DrawingFollowsThePaletteEntryPoint) {
  // BLACK sets palette entry 12 (red) to black through "_GetPalAdr@0" and leaves it so.
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kProbe, "DRAW\nbefore.ppm\nBLACK\nDRAW\nafter.ppm\n");
  ASSERT_EQ(t.exitCode, 0) << t.output;
  Picture before = ReadPpm(dir + "/before.ppm"), after = ReadPpm(dir + "/after.ppm");
  EXPECT_GT(before.Count(0xFF0000), 0);
  EXPECT_EQ(after.Count(0xFF0000), 0);
  EXPECT_EQ(after.Count(0x000000), before.Count(0x000000) + before.Count(0xFF0000));
}

TEST(HostSession, DrawsADxfDrawing) {
  std::string dir = ScratchDir();
  Transcript t =
      RunHost(dir, kProbe, "DRAW\nplan.ppm\n",
              {"--strict", "--drawing", STANDIN_TEST_DATA "/plan.dxf", "--background", "0"});
  ASSERT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(t.Has("drawing: skipped 1 TEXT entities")) << t.output;
  EXPECT_TRUE(t.Has("9 entities on 4 layers (2 hidden)")) << t.output;
  Picture picture = ReadPpm(dir + "/plan.ppm");
  ASSERT_EQ(picture.width, 160);
  // Black background; the red walls are the extents' outline, a wide pen.
  EXPECT_GT(picture.Count(0x000000), 8000);
  EXPECT_EQ(picture.At(80, 0), 0xFF0000u);
  EXPECT_EQ(picture.At(80, 99), 0xFF0000u);
  EXPECT_GT(picture.Count(0xFFFF00), 100);  // the solid
  EXPECT_GT(picture.Count(0x00FF00), 20);   // the circle
  EXPECT_GT(picture.Count(0x00FFFF), 10);   // the polyline
  EXPECT_GT(picture.Count(0xFF00FF), 10);   // the arc
}

TEST(HostSession, BitmapLimitMakesCreationFail) {
  std::string dir = ScratchDir();
  Transcript t =
      RunHost(dir, kProbe, "DRAW\nsmall.ppm\n", {"--strict", "--max-bitmap-pixels", "15999"});
  EXPECT_EQ(t.exitCode, 0) << t.output;
  EXPECT_TRUE(t.Has("error box: no bitmap\ninfo box: not drawn\n")) << t.output;
  t = RunHost(dir, kProbe, "DRAW\nsmall.ppm\n", {"--strict", "--max-bitmap-pixels", "16000"});
  EXPECT_TRUE(t.Has("info box: drawn\n")) << t.output;
}

TEST(HostSession, StartUpFailures) {
  std::string dir = ScratchDir();
  Transcript t = RunHost(dir, kProbe, "", {"--drawing", dir + "/missing.dxf"});
  EXPECT_EQ(t.exitCode, 1);
  EXPECT_TRUE(t.Has("rasqet-host: cannot read drawing " + dir + "/missing.dxf")) << t.output;
  t = RunHost(dir, dir + "/nomodule.so", "");
  EXPECT_EQ(t.exitCode, 1);
  EXPECT_TRUE(t.Has("rasqet-host: cannot load module")) << t.output;
  t = RunHost(dir, kProbe, "", {"--clipboard", "wide"});
  EXPECT_EQ(t.exitCode, 2);
  EXPECT_TRUE(t.Has("--clipboard takes WIDTHxHEIGHT or none")) << t.output;
  std::ofstream(dir + "/bad.reg") << "[K]\ngarbage\n";
  t = RunHost(dir, kProbe, "", {"--registry", dir + "/bad.reg"});
  EXPECT_EQ(t.exitCode, 1);
  EXPECT_TRUE(t.Has("bad.reg:2: expected [key]")) << t.output;
}

}  // namespace
