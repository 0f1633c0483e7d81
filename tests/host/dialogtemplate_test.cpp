// The options dialog template in rasqet.rc: its frame and every control in tab order.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct Control {
  std::string caption;
  int id;
  std::string kind;
  int x, y, width, height;
  bool visible;
  bool group;
};

const std::map<std::string, int> kIds = {
    {"IDC_STATIC", IDC_STATIC},
    {"IDOK", IDOK},
    {"IDCANCEL", IDCANCEL},
    {"IDC_WIDTH", IDC_WIDTH},
    {"IDC_HEIGHT", IDC_HEIGHT},
    {"IDC_QUALITY", IDC_QUALITY},
    {"IDC_GREYSCALE", IDC_GREYSCALE},
    {"IDC_PROGRESSIVE", IDC_PROGRESSIVE},
    {"IDC_PNG_FASTEST", IDC_PNG_FASTEST},
    {"IDC_PNG_FAST", IDC_PNG_FAST},
    {"IDC_PNG_DEFAULT", IDC_PNG_DEFAULT},
    {"IDC_PNG_MAXIMUM", IDC_PNG_MAXIMUM},
    {"IDC_PNG_FILTERS", IDC_PNG_FILTERS},
    {"IDC_CLIPBOARD_SIZE", IDC_CLIPBOARD_SIZE},
    {"IDC_AREA_NORMAL", IDC_AREA_NORMAL},
    {"IDC_AREA_BLANK", IDC_AREA_BLANK},
    {"IDC_AREA_CROP", IDC_AREA_CROP},
    {"IDC_HELP_BUTTON", IDC_HELP_BUTTON},
    {"IDC_BLACK_AND_WHITE", IDC_BLACK_AND_WHITE},
};

std::string KindOf(const std::string& windowClass, const std::string& style) {
  auto has = [&](const char* flag) { return std::regex_search(style, std::regex(flag)); };
  if (windowClass == "Edit") return "edit";
  if (windowClass == "Static") return "label";
  if (has("\\bBS_GROUPBOX\\b")) return "group box";
  if (has("\\bBS_AUTOCHECKBOX\\b")) return "check box";
  if (has("\\bBS_AUTORADIOBUTTON\\b")) return "radio button";
  if (has("\\bBS_DEFPUSHBUTTON\\b")) return "default push button";
  if (has("\\bBS_PUSHBUTTON\\b")) return "push button";
  return "?";
}

std::string ReadTemplate() {
  std::ifstream file(RASQET_RC_FILE);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<Control> ParseControls(const std::string& rc) {
  static const std::regex kControl(
      R"re(^\s*CONTROL\s+"([^"]*)",\s*(\w+),\s*"(\w+)",\s*([^,]+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\s*$)re");
  std::vector<Control> controls;
  std::istringstream lines(rc);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, kControl)) continue;
    const std::string style = m[4];
    controls.push_back({m[1], kIds.count(m[2]) ? kIds.at(m[2]) : -999, KindOf(m[3], style),
                        std::stoi(m[5]), std::stoi(m[6]), std::stoi(m[7]), std::stoi(m[8]),
                        !std::regex_search(style, std::regex("NOT\\s+WS_VISIBLE")),
                        std::regex_search(style, std::regex("\\bWS_GROUP\\b"))});
  }
  return controls;
}

TEST(DialogTemplateTest, FrameIsAnExtendedModalPopup) {
  const std::string rc = ReadTemplate();
  EXPECT_TRUE(std::regex_search(rc, std::regex(R"(\nIDD_DLGJPEG DIALOGEX 0, 0, 177, 149\n)")));
  EXPECT_TRUE(std::regex_search(rc, std::regex(R"(\nCAPTION "JPEG and PNG Options"\n)")));
  EXPECT_TRUE(std::regex_search(rc, std::regex(R"(\nFONT 8, "MS Sans Serif"\n)")));
  std::smatch style;
  ASSERT_TRUE(std::regex_search(rc, style, std::regex(R"(\nSTYLE ([^\n]*)\n)")));
  for (const char* flag : {"WS_POPUP", "WS_CAPTION", "WS_SYSMENU", "DS_MODALFRAME"}) {
    EXPECT_NE(style[1].str().find(flag), std::string::npos) << flag;
  }
}

TEST(DialogTemplateTest, ControlsInTabOrder) {
  const Control kExpected[] = {
      {"Bitmap size", -1, "group box", 7, 7, 102, 49, true, false},
      {"Width:", -1, "label", 14, 17, 22, 8, true, true},
      {"", 1000, "edit", 14, 26, 40, 14, true, false},
      {"Height:", -1, "label", 62, 17, 24, 8, true, true},
      {"", 1001, "edit", 62, 26, 40, 14, true, false},
      {"Use clipboard resolution", 1010, "check box", 14, 43, 91, 10, true, false},
      {"Unused area", -1, "group box", 116, 7, 54, 49, true, false},
      {"Normal", 1011, "radio button", 124, 18, 38, 10, true, true},
      {"Blank", 1012, "radio button", 124, 30, 34, 10, true, false},
      {"Crop", 1013, "radio button", 124, 42, 31, 10, true, false},
      {"PNG Compression", -1, "group box", 7, 61, 78, 51, true, false},
      {"Fastest", 1005, "radio button", 39, 106, 39, 10, false, true},
      {"Fast", 1006, "radio button", 18, 73, 29, 10, true, false},
      {"Default", 1007, "radio button", 18, 84, 39, 10, true, false},
      {"Maximum", 1008, "radio button", 18, 95, 45, 10, true, false},
      {"Use filters", 1009, "check box", 18, 106, 47, 10, false, false},
      {"JPEG", -1, "group box", 92, 61, 78, 51, true, false},
      {"Quality (1-100):", -1, "label", 101, 70, 48, 8, true, true},
      {"", 1002, "edit", 101, 80, 40, 14, true, false},
      {"Greyscale", 1003, "check box", 101, 107, 47, 10, false, false},
      {"Progressive", 1004, "check box", 101, 98, 53, 10, true, false},
      {"OK", 1, "default push button", 120, 128, 50, 14, true, false},
      {"Cancel", 2, "push button", 63, 128, 50, 14, true, false},
      {"Help", 1014, "push button", 7, 128, 50, 14, true, false},
      {"Force black and white image (requires 6.10)", 2015, "check box", 7, 115, 153, 10, false,
       false},
  };
  const std::vector<Control> controls = ParseControls(ReadTemplate());
  ASSERT_EQ(controls.size(), std::size(kExpected));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE(kExpected[i].caption + " " + std::to_string(kExpected[i].id));
    const Control& got = controls[i];
    const Control& want = kExpected[i];
    EXPECT_EQ(got.caption, want.caption);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_EQ(got.visible, want.visible);
    EXPECT_EQ(got.group, want.group);
  }
}

}  // namespace
