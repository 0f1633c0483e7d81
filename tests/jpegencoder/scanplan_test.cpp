// Scan plans: the defaults, what the check derives, and its messages in the order of checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpegscanplan.h"
#include "Graphics/memoryoutputstream.h"
#include "Graphics/rasterimage.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoder;
using Quorvante::SamplingFrequencies;
using Quorvante::ScanTable;

struct Entry {
  std::uint32_t mask, end, approximation;
};

struct PlanCase {
  const char* name;
  bool progressive;
  bool grayscale;
  SamplingFrequencies sampling[3];
  std::vector<Entry> entries;
  const char* error;                // nullptr: the plan is valid
  std::uint32_t scanCount;          // when valid
  std::vector<int> spectralStarts;  // when valid and progressive
};

const SamplingFrequencies k111[3] = {{1, 1}, {1, 1}, {1, 1}};

std::vector<PlanCase> Cases() {
  const std::vector<Entry> progressiveDefault = {{14, 0, 0}, {2, 63, 0}, {4, 63, 0}, {8, 63, 0}};
  return {
      {"SequentialDefault", false, false, {{1, 1}, {1, 1}, {1, 1}}, {{14, 0, 0}}, nullptr, 1, {}},
      {"SequentialDefaultGray",
       false,
       true,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}},
       nullptr,
       1,
       {}},
      {"ProgressiveDefault",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       progressiveDefault,
       nullptr,
       4,
       {0, 1, 1, 1}},
      {"ProgressiveDefaultGray",
       true,
       true,
       {{1, 1}, {1, 1}, {1, 1}},
       progressiveDefault,
       nullptr,
       2,
       {0, 1}},
      {"SplitYBand",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 5, 0}, {2, 63, 0}, {4, 63, 0}, {8, 63, 0}},
       nullptr,
       5,
       {0, 1, 6, 1, 1}},
      {"OverlappingY",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 10, 0}, {2, 8, 0}},
       "Duplicate or overlapping spectral selection for Y Component",
       0,
       {}},
      {"RepeatedYBand",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 10, 0}, {2, 10, 0}},
       "Duplicate or overlapping spectral selection for Y Component",
       0,
       {}},
      {"OverlappingCb",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {4, 10, 0}, {4, 3, 0}},
       "Duplicate or overlapping spectral selection for Cb Component",
       0,
       {}},
      {"OverlappingCr",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {8, 10, 0}, {8, 9, 0}},
       "Duplicate or overlapping spectral selection for Cr Component",
       0,
       {}},
      {"CbAcBeforeDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{10, 0, 0}, {4, 63, 0}},
       "AC Scan specified before DC scan for cb Component",
       0,
       {}},
      {"YAcBeforeDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{2, 63, 0}},
       "AC Scan specified before DC scan for Y Component",
       0,
       {}},
      {"CrAcBeforeDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{6, 0, 0}, {8, 63, 0}},
       "AC Scan specified before DC scan for Cr Component",
       0,
       {}},
      {"DcInTwoScans",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{6, 0, 0}, {8, 0, 0}, {2, 63, 0}, {4, 63, 0}, {8, 63, 0}},
       nullptr,
       5,
       {0, 0, 1, 1, 1}},
      {"DuplicateYDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 0, 0}},
       "Duplicate Y Component Scan",
       0,
       {}},
      {"DuplicateCbDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {4, 0, 0}},
       "Duplicate Cb Component Scan",
       0,
       {}},
      {"DuplicateCrDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {12, 0, 0}},
       "Duplicate Cb Component Scan",
       0,
       {}},
      {"DuplicateCrDcAlone",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {8, 0, 0}},
       "Duplicate Cr Component Scan",
       0,
       {}},
      {"AcOfTwoComponents",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {6, 63, 0}},
       "Multiple Components in AC Scan",
       0,
       {}},
      {"AcOfCbWithCr",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {12, 63, 0}},
       "Multiple Components in AC Scan",
       0,
       {}},
      {"Approximation13",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 13}, {2, 63, 13}, {4, 63, 0}, {8, 63, 0}},
       nullptr,
       4,
       {0, 1, 1, 1}},
      {"Approximation14",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 63, 14}},
       "Successive Approximation too large",
       0,
       {}},
      {"OnlyDc",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}},
       "Scan contains no components",
       0,
       {}},
      {"EmptyFirstEntry",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {},
       "Scan contains no components",
       0,
       {}},
      {"EmptyBeforeApproximation",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{0, 0, 20}},
       "Scan contains no components",
       0,
       {}},
      {"EndBeyond63",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {2, 64, 0}, {4, 63, 0}, {8, 63, 0}},
       "Scan contains no components",
       0,
       {}},
      {"UnknownComponentCounted",
       true,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {1, 7, 0}, {2, 63, 0}, {4, 63, 0}, {8, 63, 0}},
       nullptr,
       5,
       {0, 0, 1, 1, 1}},
      {"GrayIgnoresChroma",
       true,
       true,
       {{3, 1}, {2, 1}, {4, 4}},
       {{8, 0, 0}, {2, 0, 0}, {4, 5, 0}, {2, 63, 0}},
       nullptr,
       4,
       {0, 0, 0, 1}},
      {"GrayDuplicateY",
       true,
       true,
       {{1, 1}, {1, 1}, {1, 1}},
       {{2, 0, 0}, {6, 0, 0}},
       "Duplicate Y Component Scan",
       0,
       {}},
      {"ThreeSequentialScans",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{2, 0, 0}, {4, 0, 0}, {8, 0, 0}},
       nullptr,
       3,
       {}},
      {"SequentialOverlap",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{6, 0, 0}, {12, 0, 0}},
       "Component in more than one scan",
       0,
       {}},
      {"SequentialMissing",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{2, 0, 0}, {4, 0, 0}},
       "Not all components specified in scans",
       0,
       {}},
      {"SequentialMissingBeforeOverlap",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{6, 0, 0}, {6, 0, 0}},
       "Not all components specified in scans",
       0,
       {}},
      {"SequentialLaterEntriesIgnored",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{14, 0, 0}, {0, 0, 0}, {0, 0, 0}, {6, 0, 0}},
       nullptr,
       1,
       {}},
      {"SequentialGapInMiddle",
       false,
       false,
       {{1, 1}, {1, 1}, {1, 1}},
       {{2, 0, 0}, {0, 0, 0}, {12, 0, 0}},
       nullptr,
       3,
       {}},
      {"SequentialGrayAnyPlan", false, true, {{1, 1}, {1, 1}, {1, 1}}, {{0, 0, 0}}, nullptr, 1, {}},
      {"McuOfTwelve",
       false,
       false,
       {{2, 2}, {2, 2}, {2, 2}},
       {{14, 0, 0}},
       "Data units in MCU exceeds 10",
       0,
       {}},
      {"McuOfTen", false, false, {{4, 2}, {1, 1}, {1, 1}}, {{14, 0, 0}}, nullptr, 1, {}},
      {"McuOfTwelveInSeparateScans",
       false,
       false,
       {{2, 2}, {2, 2}, {2, 2}},
       {{2, 0, 0}, {4, 0, 0}, {8, 0, 0}},
       nullptr,
       3,
       {}},
      {"McuOfTwelveProgressiveDc",
       true,
       false,
       {{2, 2}, {2, 2}, {2, 2}},
       {{14, 0, 0}, {2, 63, 0}, {4, 63, 0}, {8, 63, 0}},
       "Data units in MCU exceeds 10",
       0,
       {}},
      {"ThirdsAlone", false, false, {{3, 1}, {1, 1}, {1, 1}}, {{14, 0, 0}}, nullptr, 1, {}},
      {"ThirdsWithHalves",
       false,
       false,
       {{3, 1}, {2, 1}, {1, 1}},
       {{14, 0, 0}},
       "Fractional Horizontal Sampling",
       0,
       {}},
      {"ThirdsWithQuartersVertically",
       false,
       false,
       {{1, 3}, {1, 1}, {1, 4}},
       {{14, 0, 0}},
       "Fractional Vertical Sampling",
       0,
       {}},
      {"SamplingCheckedBeforePlan",
       true,
       false,
       {{3, 1}, {4, 1}, {1, 1}},
       {},
       "Fractional Horizontal Sampling",
       0,
       {}},
      {"HorizontalBeforeVertical",
       false,
       false,
       {{3, 3}, {2, 2}, {1, 1}},
       {{14, 0, 0}},
       "Fractional Horizontal Sampling",
       0,
       {}},
      {"GrayIgnoresSampling", false, true, {{3, 3}, {2, 2}, {4, 4}}, {{14, 0, 0}}, nullptr, 1, {}},
  };
}

void PrintTo(const PlanCase& c, std::ostream* out) {
  *out << c.name;
}

class ScanPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(ScanPlanTest, ChecksAndDerives) {
  const PlanCase& c = GetParam();
  ScanTable scans;
  Quorvante::ResetScanPlan(scans, false);
  scans[0] = {};
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    scans[i].componentMask = c.entries[i].mask;
    scans[i].spectralEnd = c.entries[i].end;
    scans[i].successiveApproximation = c.entries[i].approximation;
  }
  if (c.error != nullptr) {
    try {
      Quorvante::ValidateScanPlan(scans, c.sampling, c.grayscale, c.progressive);
      ADD_FAILURE() << "accepted";
    } catch (const JpegEncoder::JpegError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
    return;
  }
  EXPECT_EQ(Quorvante::ValidateScanPlan(scans, c.sampling, c.grayscale, c.progressive),
            c.scanCount);
  for (std::size_t i = 0; i < c.spectralStarts.size(); ++i) {
    EXPECT_EQ(scans[i].spectralStart, c.spectralStarts[i]) << "entry " << i;
    EXPECT_EQ(scans[i].successiveApproximationHigh, 0);
    EXPECT_EQ(scans[i].successiveApproximationLow,
              static_cast<std::int32_t>(scans[i].successiveApproximation));
  }
}

std::string PlanName(const ::testing::TestParamInfo<PlanCase>& param) {
  return param.param.name;
}
INSTANTIATE_TEST_SUITE_P(Plans, ScanPlanTest, ::testing::ValuesIn(Cases()), PlanName);

// A plan that fills all 256 entries without completing a component.
TEST(ScanPlan, IncompleteComponentsAfterAllEntries) {
  struct Fill {
    std::uint32_t mask;
    const char* error;
  };
  for (const Fill fill : {Fill{2, "Y Component not completely defined by scans"},
                          Fill{4, "Cb Component not completely defined by scans"},
                          Fill{8, "Cr Component not completely defined by scans"}}) {
    ScanTable scans;
    Quorvante::ResetScanPlan(scans, true);
    scans[0].componentMask = 14;
    for (std::uint32_t i = 1; i < 256; ++i) {
      scans[i] = {};
      scans[i].componentMask = fill.mask == 2 ? 1 : 16;  // counted, covers nothing
    }
    // Every component but fill.mask is completed; fill.mask stops at 50.
    std::uint32_t i = 1;
    for (const std::uint32_t mask : {2u, 4u, 8u}) {
      scans[i].componentMask = mask;
      scans[i++].spectralEnd = mask == fill.mask ? 50 : 63;
    }
    try {
      Quorvante::ValidateScanPlan(scans, k111, false, true);
      ADD_FAILURE() << fill.error;
    } catch (const JpegEncoder::JpegError& e) {
      EXPECT_EQ(std::string(e.what()), fill.error);
    }
  }
}

TEST(ScanPlan, DefaultPlansAsData) {
  ScanTable scans;
  Quorvante::ResetScanPlan(scans, true);
  const std::uint32_t masks[] = {14, 2, 4, 8};
  const std::uint32_t ends[] = {0, 63, 63, 63};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(scans[i].componentMask, masks[i]);
    EXPECT_EQ(scans[i].spectralEnd, ends[i]);
    EXPECT_EQ(scans[i].successiveApproximation, 0u);
  }
  for (int i = 4; i < 256; ++i) EXPECT_EQ(scans[i].componentMask, 0u);
  Quorvante::ResetScanPlan(scans, false);
  EXPECT_EQ(scans[0].componentMask, 14u);
  EXPECT_EQ(scans[1].componentMask, 0u);
  EXPECT_EQ(scans[1].spectralEnd, 0u);
}

TEST(ScanPlan, InvalidPlanWritesNothing) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  encoder.SetScan(2, 0, 0, 0);
  Quorvante::RasterImage image(16, 16, 0);
  Quorvante::MemoryOutputStream stream;
  EXPECT_THROW(encoder.WriteImage(stream, image), JpegEncoder::JpegError);
  EXPECT_TRUE(stream.Bytes().empty());
}

}  // namespace
}  // namespace rasqet::test
