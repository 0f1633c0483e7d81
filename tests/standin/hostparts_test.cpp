// The stand-in host's own parts: DXF reading, the registry file, dialog templates from a
// resource script, the palette, the view mapping and the splitting of session lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "dialogtemplate.h"
#include "drawing.h"
#include "dxfreader.h"
#include "palette.h"
#include "registry.h"
#include "scriptinput.h"
#include "viewmapping.h"

namespace {

using namespace rasqethost;

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "hostparts_" + name;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

TEST(DxfReader, ReadsTheFixture) {
  Drawing drawing;
  DxfResult result = ReadDxf(STANDIN_TEST_DATA "/plan.dxf", drawing);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.skipped, (std::map<std::string, int>{{"TEXT", 1}}));

  ASSERT_EQ(drawing.layers.size(), 4u);
  auto layer = [&](const char* name) { return drawing.layers[drawing.LayerIndex(name)]; };
  EXPECT_FALSE(layer("0").hidden);
  EXPECT_FALSE(layer("WALLS").hidden);
  EXPECT_TRUE(layer("OFF").hidden);     // negative colour: off
  EXPECT_TRUE(layer("FROZEN").hidden);  // flag 1: frozen

  // The block's line is not an entity of the drawing.
  ASSERT_EQ(drawing.entities.size(), 9u);
  const Entity& line = drawing.entities[0];
  EXPECT_EQ(line.type, kLine);
  EXPECT_EQ(line.colour, kRed);  // by layer WALLS, colour 1
  EXPECT_EQ(line.points[1].x, 20.0);

  const Entity& outline = drawing.entities[1];
  EXPECT_EQ(outline.type, kPolyline);
  EXPECT_TRUE(outline.closed);
  EXPECT_EQ(outline.points.size(), 4u);
  EXPECT_EQ(outline.width, 0.5);

  const Entity& polyline = drawing.entities[2];
  EXPECT_EQ(polyline.type, kPolyline);
  EXPECT_FALSE(polyline.closed);
  EXPECT_EQ(polyline.points.size(), 3u);
  EXPECT_EQ(polyline.colour, kCyan);

  EXPECT_EQ(drawing.entities[3].type, kCircle);
  EXPECT_EQ(drawing.entities[3].radius, 2.5);
  EXPECT_EQ(drawing.entities[3].colour, kGreen);
  EXPECT_EQ(drawing.entities[4].type, kArc);
  EXPECT_EQ(drawing.entities[4].startAngle, 90.0);
  EXPECT_EQ(drawing.entities[4].colour, kMagenta);

  // A solid's corners 1, 2, 3, 4 run 1, 2, 4, 3 around its outline.
  const Entity& solid = drawing.entities[5];
  EXPECT_EQ(solid.type, kSolid);
  ASSERT_EQ(solid.points.size(), 4u);
  EXPECT_EQ(solid.points[2].x, 16.0);
  EXPECT_EQ(solid.points[2].y, 3.0);
  EXPECT_EQ(solid.colour, kYellow);

  EXPECT_EQ(drawing.entities[6].type, kPoint);
  EXPECT_NE(drawing.entities[6].colour, kWhite);
  EXPECT_TRUE(drawing.layers[drawing.entities[7].layer].hidden);
}

TEST(DxfReader, ReportsWhereAFileIsBroken) {
  struct Case {
    const char* what;
    std::string text;
    std::string message;
  };
  const std::string head = "0\nSECTION\n2\nENTITIES\n";
  const Case cases[] = {
      {"group code", head + "zero\nLINE\n", "t.dxf:5: 'zero' is not a group code"},
      {"number", head + "0\nLINE\n10\n1.5x\n0\nENDSEC\n",
       "t.dxf:8: '1.5x' is not a number (group 10)"},
      {"missing value", head + "0\n", "t.dxf:5: group code without a value"},
      {"no ENDSEC", head + "0\nLINE\n", "t.dxf:1: section ENTITIES has no ENDSEC"},
      {"missing y", head + "0\nPOINT\n10\n1\n0\nENDSEC\n0\nEOF\n",
       "t.dxf:5: POINT has a coordinate that is not a number"},
      {"circle radius", head + "0\nCIRCLE\n10\n1\n20\n1\n0\nENDSEC\n0\nEOF\n",
       "t.dxf:5: CIRCLE needs a centre and a positive radius"},
      {"seqend", head + "0\nPOLYLINE\n0\nVERTEX\n10\n1\n20\n1\n0\nENDSEC\n0\nEOF\n",
       "t.dxf:5: POLYLINE without SEQEND"},
      {"empty", "", "t.dxf:1: the file is empty"},
  };
  for (const Case& c : cases) {
    Drawing drawing;
    drawing.entities.resize(1);
    DxfResult result = ParseDxf(c.text, "t.dxf", drawing);
    EXPECT_FALSE(result.ok) << c.what;
    EXPECT_EQ(result.error, c.message) << c.what;
    EXPECT_EQ(drawing.entities.size(), 1u) << c.what << ": the drawing is left as it was";
  }
  Drawing drawing;
  EXPECT_NE(ReadDxf(TempPath("missing.dxf"), drawing).error.find("cannot read drawing"),
            std::string::npos);
  EXPECT_NE(ParseDxf(std::string("AutoCAD Binary DXF\r\n\x1a\0", 23), "b.dxf", drawing)
                .error.find("binary DXF"),
            std::string::npos);
}

TEST(DrawingBounds, ArcsCountTheAxesTheyCross) {
  Entity arc;
  arc.type = kArc;
  arc.centre = {0, 0};
  arc.radius = 2;
  arc.startAngle = 45;
  arc.endAngle = 135;  // passes the top
  Bounds b = EntityBounds(arc);
  EXPECT_NEAR(b.y1, 2.0, 1e-12);
  EXPECT_NEAR(b.y0, std::sqrt(2.0), 1e-12);
  arc.startAngle = 300;
  arc.endAngle = 30;  // through 0 degrees
  b = EntityBounds(arc);
  EXPECT_NEAR(b.x1, 2.0, 1e-12);
}

TEST(Registry, StoresAndReadsBackAcrossLoads) {
  std::string path = TempPath("registry/sub/store.reg");
  std::remove(path.c_str());
  Registry registry;
  std::string error;
  ASSERT_TRUE(registry.Load(path, error)) << error;
  EXPECT_EQ(registry.Find("HKEY_CURRENT_USER\\Software\\X\\", "Options"), nullptr);
  RegistryValue binary{3, {0x20, 0x03, 0x00, 0xff}};
  RegistryValue number{4, {1, 0, 0, 0}};
  ASSERT_TRUE(registry.Set("HKEY_CURRENT_USER\\Software\\X\\", "Options", binary, error)) << error;
  ASSERT_TRUE(registry.Set("HKEY_CURRENT_USER\\Software\\X", "A \"quoted\" name", number, error));

  Registry again;
  ASSERT_TRUE(again.Load(path, error)) << error;
  // Keys ignore case and a trailing backslash; value names are exact.
  const RegistryValue* found = again.Find("hkey_current_user\\software\\x", "Options");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->type, 3u);
  EXPECT_EQ(found->data, binary.data);
  ASSERT_NE(again.Find("HKEY_CURRENT_USER\\Software\\X\\", "A \"quoted\" name"), nullptr);
  EXPECT_EQ(again.Find("HKEY_CURRENT_USER\\Software\\X\\", "A \"quoted\" name")->data, number.data);
  EXPECT_EQ(again.Find("HKEY_CURRENT_USER\\Software\\X\\", "options"), nullptr);
}

TEST(Registry, RejectsMalformedFiles) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"\"v\"=hex:00\n", ":1: value before any [key]"},
      {"[K\n", ":1: key line without closing ']'"},
      {"[K]\n\"v\"=hex:0g\n", ":2: bad hex bytes"},
      {"[K]\n\"v\"=dword:123456789\n", ":2: bad dword value"},
      {"[K]\n\"v\"=\"text\"\n", ":2: only hex: and dword: values are kept here"},
      {"[K]\nv=hex:00\n", ":2: expected [key] or \"name\"=value"},
  };
  for (const Case& c : cases) {
    std::string path = TempPath("broken.reg");
    WriteFile(path, c.text);
    Registry registry;
    std::string error;
    EXPECT_FALSE(registry.Load(path, error)) << c.text;
    EXPECT_EQ(error, path + c.message) << c.text;
  }
}

TEST(DialogTemplate, ReadsTheModulesOptionsDialog) {
  TemplateSet set = ReadResourceScript(RASQET_RESOURCE_SCRIPT);
  ASSERT_TRUE(set.ok) << set.error;
  ASSERT_EQ(set.dialogs.count("IDD_DLGJPEG"), 1u);
  const DialogTemplate& dialog = set.dialogs.at("IDD_DLGJPEG");
  EXPECT_EQ(dialog.caption, "JPEG and PNG Options");
  EXPECT_EQ(dialog.width, 177);
  EXPECT_EQ(dialog.height, 149);
  ASSERT_EQ(dialog.controls.size(), 25u);
  std::map<int, const ControlTemplate*> byId;
  for (const ControlTemplate& c : dialog.controls) byId[c.id] = &c;
  EXPECT_EQ(byId.at(1000)->kind, ControlKind::kEdit);
  EXPECT_EQ(byId.at(1010)->kind, ControlKind::kCheckBox);
  EXPECT_EQ(byId.at(1011)->kind, ControlKind::kRadioButton);
  EXPECT_TRUE(byId.at(1011)->group);
  EXPECT_TRUE(byId.at(1)->defaultButton);
  EXPECT_EQ(byId.at(2)->caption, "Cancel");
  for (int hidden : {1003, 1005, 1009, 2015}) EXPECT_FALSE(byId.at(hidden)->visible) << hidden;
  EXPECT_TRUE(byId.at(1014)->visible);
}

TEST(DialogTemplate, ShortStatementsDefinesAndErrors) {
  std::string header = TempPath("ids.h");
  WriteFile(header, "#define IDC_NAME 1200\n#define IDC_WHOLE (0x4B1)\n");
  std::string script = TempPath("small.rc");
  WriteFile(script,
            "#include \"hostparts_ids.h\"\n"
            "1 VERSIONINFO\nBEGIN\n  VALUE \"x\", 1\nEND\n"
            "SMALL DIALOGEX 0, 0, 100, 50\nCAPTION \"Small \"\"one\"\"\"\nBEGIN\n"
            "  LTEXT \"Name:\", IDC_STATIC, 1, 2, 30, 8\n"
            "  EDITTEXT IDC_NAME, 1, 12, 40, 14, ES_AUTOHSCROLL | WS_DISABLED\n"
            "  AUTOCHECKBOX \"Whole\", IDC_WHOLE, 1, 30, 40, 10,\n"
            "      NOT WS_VISIBLE | WS_TABSTOP\n"
            "  DEFPUSHBUTTON \"OK\", IDOK, 50, 30, 40, 14 /* the default */\n"
            "END\n");
  TemplateSet set = ReadResourceScript(script);
  ASSERT_TRUE(set.ok) << set.error;
  const DialogTemplate& dialog = set.dialogs.at("SMALL");
  EXPECT_EQ(dialog.caption, "Small \"one\"");
  ASSERT_EQ(dialog.controls.size(), 4u);
  EXPECT_EQ(dialog.controls[0].id, -1);
  EXPECT_EQ(dialog.controls[1].id, 1200);
  EXPECT_FALSE(dialog.controls[1].enabled);
  EXPECT_EQ(dialog.controls[2].id, 0x4B1);
  EXPECT_FALSE(dialog.controls[2].visible);
  EXPECT_TRUE(dialog.controls[3].defaultButton);

  WriteFile(script, "D DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT IDC_UNKNOWN, 1, 1, 1, 1\nEND\n");
  set = ReadResourceScript(script);
  EXPECT_FALSE(set.ok);
  EXPECT_EQ(set.error, script + ":3: EDITTEXT: unknown control id");
  EXPECT_FALSE(ReadResourceScript(TempPath("none.rc")).ok);
}

TEST(Palette, BlackWhiteAndColourIndices) {
  Palette palette = DefaultPalette();
  EXPECT_EQ(palette[kBlack], RGB(0, 0, 0));
  EXPECT_EQ(palette[kWhite], RGB(255, 255, 255));
  EXPECT_EQ(palette[kRed], RGB(255, 0, 0));
  EXPECT_EQ(PaletteIndexForAci(1), kRed);
  EXPECT_EQ(PaletteIndexForAci(7), kBlack);  // white-or-black on a white background
  for (int aci = -1; aci <= 256; ++aci) {
    EXPECT_NE(PaletteIndexForAci(aci), kWhite) << aci << " would vanish into the background";
  }
  EXPECT_EQ(palette[PaletteIndexForAci(255)], RGB(255, 255, 255));
  EXPECT_EQ(palette[PaletteIndexForAci(10)], RGB(255, 0, 0));
}

TEST(ViewMapping, WindowCornersFallOnPixelEdges) {
  ViewMapping view;
  ASSERT_TRUE(view.Set(10, 20, 30, 30, 0, 0, 200, 100));
  DevicePoint topLeft = view.ToDevice({10, 30}), bottomRight = view.ToDevice({30, 20});
  EXPECT_DOUBLE_EQ(topLeft.x, 0);
  EXPECT_DOUBLE_EQ(topLeft.y, 0);
  EXPECT_DOUBLE_EQ(bottomRight.x, 200);
  EXPECT_DOUBLE_EQ(bottomRight.y, 100);
  EXPECT_EQ(PixelOf(view.ToDevice({29.99, 20.01}).x), 199);
  EXPECT_EQ(PixelOf(1e300), 1 << 28);
  EXPECT_FALSE(view.Set(1, 1, 1, 2, 0, 0, 10, 10));
  EXPECT_FALSE(view.valid());
  EXPECT_FALSE(view.Set(0, 0, 1, 1, 0, 0, 10, 0));
}

TEST(ScriptInput, SplitsWordsWithQuotes) {
  std::vector<std::string> words;
  ASSERT_TRUE(SplitWords("export \"JPEG File\"  out.jpg", words));
  EXPECT_EQ(words, (std::vector<std::string>{"export", "JPEG File", "out.jpg"}));
  ASSERT_TRUE(SplitWords("set 1002 \"\"", words));
  EXPECT_EQ(words, (std::vector<std::string>{"set", "1002", ""}));
  EXPECT_FALSE(SplitWords("export \"JPEG File out.jpg", words));
}

}  // namespace
