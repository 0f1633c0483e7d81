// Loading and unloading the module: the registration block, its name list, handler table and
// menu text, and the two export formats.
#include <cstring>
#include <string>

#include "modulefixture.h"

namespace {

using RegistrationTest = ModuleTest;

TEST_F(RegistrationTest, AttachRegistersOnceAndDetachWithdrawsTheSameBlock) {
  ASSERT_EQ(Host().registered.size(), 1u);
  EXPECT_TRUE(Host().unregistered.empty());
  XPRegBlock* block = Host().registered[0];

  // Thread notifications change nothing; every call reports success.
  EXPECT_EQ(DllMain(Instance(), DLL_THREAD_ATTACH, nullptr), TRUE);
  EXPECT_EQ(DllMain(Instance(), DLL_THREAD_DETACH, nullptr), TRUE);
  EXPECT_EQ(Host().registered.size(), 1u);
  EXPECT_TRUE(Host().unregistered.empty());

  EXPECT_EQ(DllMain(Instance(), DLL_PROCESS_DETACH, nullptr), TRUE);
  ASSERT_EQ(Host().unregistered.size(), 1u);
  EXPECT_EQ(Host().unregistered[0], block);
  EXPECT_EQ(DllMain(Instance(), DLL_PROCESS_ATTACH, nullptr), TRUE);  // for TearDown
}

TEST_F(RegistrationTest, BlockHoldsTheFixedValuesAndTheInstance) {
  const XPRegBlock& b = *Host().registered.at(0);
  EXPECT_EQ(b.instance, Instance());
  EXPECT_EQ(b.hostModule, Host().module);  // written by the host, kept by the module
  EXPECT_EQ(b.hostValue24, 61440);
  EXPECT_EQ(b.hostValue32, 603);
  EXPECT_EQ(b.hostValue44, 603);
  EXPECT_NE(b.eventHook, nullptr);
  ASSERT_NE(b.label, nullptr);
  EXPECT_GT(std::strlen(b.label), 0u);
  for (std::int32_t zero : {b.hostUse0, b.hostUse12, b.hostUse20, b.hostUse36, b.hostUse40,
                            b.hostUse48, b.hostUse52, b.hostUse92}) {
    EXPECT_EQ(zero, 0);
  }
  for (std::int32_t zero : b.hostUse60) EXPECT_EQ(zero, 0);
}

TEST_F(RegistrationTest, NameListEndsInTwoNuls) {
  static const char kExpected[] = "JPEGOPT\0WBS\0WBSM\0JPEGMENUON\0JPEGMENUOFF\0SAVEBMP\0";
  const char* names = Host().registered.at(0)->commandNames;
  EXPECT_EQ(std::string(names, sizeof kExpected), std::string(kExpected, sizeof kExpected));
}

TEST_F(RegistrationTest, MenuTextHasSixLines) {
  EXPECT_STREQ(Host().registered.at(0)->menuText,
               "JPEG:\r\nWrite bitmap section:|WBS;\r\n------:\r\nSettings:|JPEGOPT;\r\n"
               "------:\r\nHelp:|OPENDOC RASQET.HTML;\r\n");
}

TEST_F(RegistrationTest, ExportsJpegThenPng) {
  ASSERT_EQ(Host().exports.size(), 2u);
  EXPECT_EQ(Host().exports[0].description, "JPEG File");
  EXPECT_EQ(Host().exports[0].extension, "JPG");
  EXPECT_EQ(Host().exports[1].description, "PNG File");
  EXPECT_EQ(Host().exports[1].extension, "PNG");
  EXPECT_NE(Host().exports[0].routine, Host().exports[1].routine);
}

TEST_F(RegistrationTest, StartUpRoutineDoesNothing) {
  Host().registered.at(0)->handlers[0]();
  EXPECT_EQ(Host().cmdEnds, 0);
  EXPECT_TRUE(Host().infoBoxes.empty());
  EXPECT_TRUE(Host().reads.empty());
}

// Each name runs its own handler: the table is offset by the start-up entry. Every command
// ends with exactly one CmdEnd.
TEST_F(RegistrationTest, EachNameRunsItsHandler) {
  // JPEGOPT opens the options dialog.
  Handler(0)();
  EXPECT_EQ(Host().dialogTemplate, "IDD_DLGJPEG");
  EXPECT_EQ(Host().cmdEnds, 1);

  const struct {
    int index;
    const char* message;
  } kMessages[] = {
      {1, "WBS is not available yet."},
      {2, "WBSM is not available yet."},
      {3,
       "Rasqet menu turned on\nThe changes will take effect in your next session.\n\n"
       "Use JPEGMENUOFF to turn it off again."},
      {4,
       "Rasqet menu turned off\nThe changes will take effect in your next session.\n\n"
       "Use JPEGMENUON to turn it back on."},
      {5, "SAVEBMP is not available yet."},
  };
  for (const auto& c : kMessages) {
    SCOPED_TRACE(c.index);
    Host().infoBoxes.clear();
    Host().cmdEnds = 0;
    Handler(c.index)();
    ASSERT_EQ(Host().infoBoxes.size(), 1u);
    EXPECT_EQ(Host().infoBoxes[0], c.message);
    EXPECT_EQ(Host().cmdEnds, 1);
  }
}

// The export routines are no commands: they end none.
TEST_F(RegistrationTest, ExportRoutinesSayTheyAreNotAvailableYet) {
  for (const auto& exported : Host().exports) {
    Host().infoBoxes.clear();
    exported.routine();
    ASSERT_EQ(Host().infoBoxes.size(), 1u);
    EXPECT_NE(Host().infoBoxes[0].find("not available yet"), std::string::npos);
  }
  EXPECT_EQ(Host().cmdEnds, 0);
}

}  // namespace
