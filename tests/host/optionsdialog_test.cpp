// JPEGOPT: the dialog's bindings, its set-up routine, and what OK and Cancel leave behind.
#include "host/optionsdialog.h"

#include <cstring>

#include "modulefixture.h"
#include "resources/resource.h"

namespace {

using OptionsDialogTest = ModuleTest;

const ExportOptions kStored = {1024, 768, kGreyscale | kProgressive, 90, 7, kSpareAreaCrop, 1, 0};

void RunJpegOpt() {
  Handler(0)();
}

TEST_F(OptionsDialogTest, BindsEveryControlToItsField) {
  RunJpegOpt();
  ExportOptions& o = exportOptions;
  const Binding kExpected[] = {
      {'E', IDC_WIDTH, 3, 4, &o.width, 0, nullptr},
      {'E', IDC_HEIGHT, 3, 4, &o.height, 0, nullptr},
      {'C', IDC_CLIPBOARD_SIZE, 0, 0, &o.flags, 8, OptionsDialogSetUp},
      {'E', IDC_QUALITY, 3, 3, &o.jpegQuality, 0, nullptr},
      {'C', IDC_GREYSCALE, 0, 0, &o.flags, 1, nullptr},
      {'C', IDC_PROGRESSIVE, 0, 0, &o.flags, 2, nullptr},
      {'R', IDC_PNG_FAST, 0, 0, &o.pngLevel, 1, nullptr},
      {'R', IDC_PNG_DEFAULT, 0, 0, &o.pngLevel, -1, nullptr},
      {'R', IDC_PNG_MAXIMUM, 0, 0, &o.pngLevel, 9, nullptr},
      {'R', IDC_AREA_NORMAL, 0, 0, &o.spareAreaMode, 0, nullptr},
      {'R', IDC_AREA_CROP, 0, 0, &o.spareAreaMode, 1, nullptr},
      {'R', IDC_AREA_BLANK, 0, 0, &o.spareAreaMode, 2, nullptr},
      {'C', IDC_BLACK_AND_WHITE, 0, 0, &o.blackAndWhite, 1, nullptr},
  };
  ASSERT_EQ(Host().bindings.size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    SCOPED_TRACE(kExpected[i].id);
    const Binding& got = Host().bindings[i];
    EXPECT_EQ(got.kind, kExpected[i].kind);
    EXPECT_EQ(got.id, kExpected[i].id);
    EXPECT_EQ(got.typeCode, kExpected[i].typeCode);
    EXPECT_EQ(got.length, kExpected[i].length);
    EXPECT_EQ(got.field, kExpected[i].field);
    EXPECT_EQ(got.maskOrValue, kExpected[i].maskOrValue);
    EXPECT_EQ(got.change, kExpected[i].change);
  }
  EXPECT_EQ(Host().dialogTemplate, "IDD_DLGJPEG");
  EXPECT_EQ(Host().setUp, OptionsDialogSetUp);
  EXPECT_EQ(Host().dialogInstance, Instance());
  EXPECT_EQ(Host().dialogsReleased, 1);
  EXPECT_EQ(Host().cmdEnds, 1);
}

// The size edits follow "Use clipboard resolution" as the dialog opens and at each change;
// Help stays hidden and the black-and-white check box shows.
TEST_F(OptionsDialogTest, SetUpRoutineFollowsTheClipboardCheckBox) {
  std::vector<bool> sizeEnabled;
  Host().user = [&](FakeHost& host) {
    EXPECT_FALSE(host.Visible(IDC_HELP_BUTTON));
    EXPECT_TRUE(host.Visible(IDC_BLACK_AND_WHITE));
    auto record = [&] {
      EXPECT_EQ(host.enabled.at(IDC_WIDTH), host.enabled.at(IDC_HEIGHT));
      sizeEnabled.push_back(host.enabled.at(IDC_WIDTH));
    };
    record();
    host.ClickCheckBox(IDC_CLIPBOARD_SIZE);
    record();
    host.ClickCheckBox(IDC_CLIPBOARD_SIZE);
    record();
    return 2;
  };
  RunJpegOpt();  // defaults: the clipboard size is used
  EXPECT_EQ(sizeEnabled, (std::vector<bool>{false, true, false}));
}

TEST_F(OptionsDialogTest, OkStoresTheEditedRecord) {
  Host().Store(kExpectedKeyPath, "Options", kStored);
  Host().user = [](FakeHost& host) {
    host.SetEdit(IDC_WIDTH, 640);
    host.SetEdit(IDC_QUALITY, 55);
    host.ClickCheckBox(IDC_PROGRESSIVE);
    host.ClickRadioButton(IDC_PNG_MAXIMUM);
    host.ClickRadioButton(IDC_AREA_BLANK);
    host.ClickCheckBox(IDC_BLACK_AND_WHITE);
    return 1;
  };
  RunJpegOpt();
  ExportOptions stored{};
  ASSERT_TRUE(Host().Fetch(kExpectedKeyPath, "Options", &stored));
  // The hidden greyscale box and the reserved field keep their stored state.
  const ExportOptions kExpected = {640, 768, kGreyscale, 55, 7, kSpareAreaBlank, 9, 1};
  EXPECT_EQ(std::memcmp(&stored, &kExpected, sizeof stored), 0);
  EXPECT_EQ(Host().cmdEnds, 1);
}

// Cancel stores nothing, and the cancelled edits do not linger in memory for the next command,
// even when nothing is stored that the next load would bring back.
TEST_F(OptionsDialogTest, CancelStoresNothingAndDropsTheEdits) {
  Host().user = [](FakeHost& host) {
    host.SetEdit(IDC_WIDTH, 640);
    host.ClickRadioButton(IDC_AREA_CROP);
    return 2;
  };
  RunJpegOpt();
  EXPECT_TRUE(Host().writes.empty());
  EXPECT_EQ(exportOptions.width, 800);
  EXPECT_EQ(exportOptions.spareAreaMode, kSpareAreaNormal);
  EXPECT_EQ(Host().dialogsReleased, 1);
  EXPECT_EQ(Host().cmdEnds, 1);
}

// JPEGOPT shows the stored size even while the clipboard size is in use.
TEST_F(OptionsDialogTest, ShowsTheStoredSizeNotTheClipboards) {
  ExportOptions stored = kStored;
  stored.flags = kUseClipboardSize;
  Host().Store(kExpectedKeyPath, "Options", stored);
  Host().Store("#3512", "#3420", SysVarRec{{}, 1920, 1080, {}});
  std::int32_t shownWidth = 0;
  Host().user = [&](FakeHost& host) {
    shownWidth = *host.FindBinding(IDC_WIDTH)->field;
    return 2;
  };
  RunJpegOpt();
  EXPECT_EQ(shownWidth, 1024);
  EXPECT_EQ(Host().reads.size(), 1u);
}

}  // namespace
