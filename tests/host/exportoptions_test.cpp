// The export settings: defaults, the stored record, the clipboard size and the key path.
#include <standin/win32standin.h>

#include <cstring>
#include <string>

#include "host/settingskey.h"
#include "modulefixture.h"

namespace {

bool operator==(const ExportOptions& a, const ExportOptions& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

const ExportOptions kStored = {1024, 768, kProgressive, 90, 12345, kSpareAreaBlank, -1, 1};

SysVarRec ClipboardSettings(std::int32_t width, std::int32_t height) {
  SysVarRec sysVars;
  std::memset(&sysVars, 0x5A, sizeof sysVars);
  sysVars.width = width;
  sysVars.height = height;
  return sysVars;
}

// The host's "_GetSysVAdr@4" entry point.
SysVarRec entrySysVars;
int entryCalls;
int entryArgument;
bool entryReturnsNull;
const SysVarRec* WINAPI GetSysVAdr(int which) {
  ++entryCalls;
  entryArgument = which;
  return entryReturnsNull ? nullptr : &entrySysVars;
}

class ExportOptionsTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    entryCalls = 0;
    entryArgument = 0;
    entryReturnsNull = false;
  }
  void TearDown() override {
    StandinExportProc(Host().module, "_GetSysVAdr@4", nullptr);
    ModuleTest::TearDown();
  }
  void OfferSysVarEntry(const SysVarRec& sysVars) {
    entrySysVars = sysVars;
    StandinExportProc(Host().module, "_GetSysVAdr@4",
                      reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(GetSysVAdr)));
  }
};

TEST_F(ExportOptionsTest, NothingStoredKeepsTheDefaults) {
  LoadExportOptions(false);
  EXPECT_TRUE(exportOptions == (ExportOptions{800, 600, 8, 75, 2, 0, 9, 0}));
  ASSERT_EQ(Host().reads.size(), 1u);
  const RegistryCall& read = Host().reads[0];
  EXPECT_EQ(read.root, HKEY_CURRENT_USER);
  EXPECT_EQ(read.keyPath, kExpectedKeyPath);
  EXPECT_EQ(read.valueName, "Options");
  EXPECT_EQ(read.size, 32);
  EXPECT_EQ(read.type, 3);
  EXPECT_EQ(read.sizeAgain, 32);
}

TEST_F(ExportOptionsTest, StoredRecordIsLoadedAndStoredVerbatim) {
  Host().Store(kExpectedKeyPath, "Options", kStored);
  LoadExportOptions(true);  // no clipboard flag in the stored record
  EXPECT_TRUE(exportOptions == kStored);

  Host().registry.clear();
  SaveExportOptions();
  ExportOptions written{};
  ASSERT_TRUE(Host().Fetch(kExpectedKeyPath, "Options", &written));
  EXPECT_TRUE(written == kStored);  // reserved 12345 survives
  ASSERT_EQ(Host().writes.size(), 1u);
  EXPECT_EQ(Host().writes[0].root, HKEY_CURRENT_USER);
  EXPECT_EQ(Host().writes[0].type, 3);
  EXPECT_EQ(Host().writes[0].sizeAgain, 32);
}

TEST_F(ExportOptionsTest, WithoutClipboardSizeTheStoredSizeStays) {
  ExportOptions stored = kStored;
  stored.flags = kUseClipboardSize;
  Host().Store(kExpectedKeyPath, "Options", stored);
  OfferSysVarEntry(ClipboardSettings(1920, 1080));
  LoadExportOptions(false);
  EXPECT_EQ(exportOptions.width, 1024);
  EXPECT_EQ(exportOptions.height, 768);
  EXPECT_EQ(entryCalls, 0);
  EXPECT_EQ(Host().reads.size(), 1u);
}

TEST_F(ExportOptionsTest, ClipboardSizeFromTheHostEntryPoint) {
  OfferSysVarEntry(ClipboardSettings(1920, 1080));
  LoadExportOptions(true);  // defaults: the clipboard flag is set
  EXPECT_EQ(entryCalls, 1);
  EXPECT_EQ(entryArgument, 3);
  EXPECT_EQ(exportOptions.width, 1920);
  EXPECT_EQ(exportOptions.height, 1080);
  EXPECT_EQ(Host().reads.size(), 1u);  // the host's stored value is not asked for
}

TEST_F(ExportOptionsTest, ClipboardSizeFromTheHostsStoredValue) {
  Host().Store("#3512", "#3420", ClipboardSettings(1280, 1024));
  LoadExportOptions(true);
  EXPECT_EQ(exportOptions.width, 1280);
  EXPECT_EQ(exportOptions.height, 1024);
  ASSERT_EQ(Host().reads.size(), 2u);
  const RegistryCall& read = Host().reads[1];
  EXPECT_EQ(read.keyPath, "#3512");
  EXPECT_EQ(read.valueName, "#3420");
  EXPECT_EQ(read.size, 40);
  EXPECT_EQ(read.type, 3);
  EXPECT_EQ(read.sizeAgain, 40);
}

// Neither source supplies a size: the size loaded (or the default) stays.
TEST_F(ExportOptionsTest, NoClipboardSizeKeepsTheLoadedSize) {
  ExportOptions stored = kStored;
  stored.flags = kUseClipboardSize;
  Host().Store(kExpectedKeyPath, "Options", stored);
  LoadExportOptions(true);
  EXPECT_EQ(exportOptions.width, 1024);
  EXPECT_EQ(exportOptions.height, 768);

  entryReturnsNull = true;
  OfferSysVarEntry(ClipboardSettings(1, 1));
  LoadExportOptions(true);
  EXPECT_EQ(entryCalls, 1);
  EXPECT_EQ(exportOptions.width, 1024);
  EXPECT_EQ(exportOptions.height, 768);
}

// CropBitmapToSection shrinks the size in memory; the next load brings the stored one back.
TEST_F(ExportOptionsTest, LoadReplacesTheInMemorySizeOnlyWhenSomethingIsStored) {
  exportOptions.width = 333;
  exportOptions.flags = 0;
  LoadExportOptions(true);
  EXPECT_EQ(exportOptions.width, 333);
  Host().Store(kExpectedKeyPath, "Options", kStored);
  LoadExportOptions(true);
  EXPECT_EQ(exportOptions.width, 1024);
}

TEST(SettingsKeyTest, KeyPathFollowsTheHostString) {
  ResetHost();
  char keyPath[256];
  BuildKeyPath(keyPath, sizeof keyPath);
  EXPECT_STREQ(keyPath, kExpectedKeyPath);
}

// A host string too long for the buffer is cut: the path still ends in the module's subkey and
// nothing is written past the buffer.
TEST(SettingsKeyTest, LongHostStringIsCutToTheBuffer) {
  const std::string suffix = "\\XP\\Morvel\\RASQET (CadHost)\\";
  for (std::size_t hostLength : {200u, 227u, 228u, 300u, 2000u}) {
    for (std::size_t bufferSize : {255u, 256u}) {
      SCOPED_TRACE(std::to_string(hostLength) + " in " + std::to_string(bufferSize));
      ResetHost();
      Host().keyPathStart = std::string(hostLength, 'K');
      char buffer[300];
      std::memset(buffer, '#', sizeof buffer);
      BuildKeyPath(buffer, bufferSize);
      std::string path(buffer);
      ASSERT_LT(path.size(), bufferSize);
      EXPECT_EQ(path.size(), std::min(hostLength + suffix.size(), bufferSize - 1));
      EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
      EXPECT_EQ(buffer[bufferSize], '#');
    }
  }
}

}  // namespace
