#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/JPEGsource/jpgzigzag.h"
#include "Graphics/graphicsexceptions.h"
#include "Graphics/memoryoutputstream.h"

namespace Quorvante {
namespace {

// ITU-T T.81, Tables K.1 and K.2, natural order.
const std::uint16_t kTableK1[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,   //
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,   //
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,   //
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};  //
const std::uint16_t kTableK2[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,  //
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// Sum of the 64 values of each stored set: tells the sets apart.
const int kLuminanceSums[12] = {16320, 8674, 4923, 9672, 3688, 6498,
                                1827,  1676, 1400, 1008, 558,  64};
const int kChrominanceSums[5] = {16320, 3714, 5505, 2725, 64};

int Sum(const JpegQuantizationTable& table) {
  int sum = 0;
  for (std::uint16_t value : table.values) sum += value;
  return sum;
}

struct QualityRange {
  std::uint32_t first, last, luminanceSet, chrominanceSet;
};

const QualityRange kQualityRanges[] = {
    {1, 1, 0, 0},   {2, 9, 1, 1},   {10, 19, 2, 1},  {20, 29, 3, 1},    {30, 32, 4, 1},
    {33, 39, 4, 2}, {40, 49, 5, 2}, {50, 59, 6, 2},  {60, 65, 7, 2},    {66, 69, 7, 3},
    {70, 79, 8, 3}, {80, 89, 9, 3}, {90, 99, 10, 3}, {100, 100, 11, 4},
};

TEST(QuantizationTable, EveryQualitySelectsTheSetsOfItsRange) {
  for (const QualityRange& range : kQualityRanges) {
    for (std::uint32_t q = range.first; q <= range.last; ++q) {
      SCOPED_TRACE(q);
      EXPECT_EQ(JpegQuantizationTable::SelectSet(q, 12), range.luminanceSet);
      EXPECT_EQ(JpegQuantizationTable::SelectSet(q, 5), range.chrominanceSet);
      JpegQuantizationTable luminance, chrominance;
      luminance.LoadLuminanceValues(q);
      chrominance.LoadChrominanceValues(q);
      EXPECT_EQ(Sum(luminance), kLuminanceSums[range.luminanceSet]);
      EXPECT_EQ(Sum(chrominance), kChrominanceSums[range.chrominanceSet]);
      for (int i = 0; i < 64; ++i) {
        EXPECT_GE(luminance.values[i], 1);
        EXPECT_LE(luminance.values[i], 255);
        EXPECT_GE(chrominance.values[i], 1);
        EXPECT_LE(chrominance.values[i], 255);
      }
    }
  }
}

TEST(QuantizationTable, QualityOutsideOneToHundredIsRejectedAndChangesNothing) {
  JpegQuantizationTable table;
  table.LoadLuminanceValues(75);
  EXPECT_THROW(table.LoadLuminanceValues(0), AssertionFailure);
  EXPECT_THROW(table.LoadChrominanceValues(101), AssertionFailure);
  EXPECT_EQ(Sum(table), kLuminanceSums[8]);
}

TEST(QuantizationTable, ANewTableHoldsZerosAndCannotPrepareReciprocals) {
  JpegQuantizationTable table;
  EXPECT_EQ(Sum(table), 0);
  EXPECT_FALSE(table.used);
  EXPECT_THROW(table.BuildScaledReciprocals(), AssertionFailure);
}

TEST(QuantizationTable, StandardSetsAreTheExampleTablesOfTheStandard) {
  JpegQuantizationTable luminance, chrominance, halved;
  luminance.LoadLuminanceValues(31);      // luminance set 4
  chrominance.LoadChrominanceValues(50);  // chrominance set 2
  halved.LoadChrominanceValues(75);       // chrominance set 3
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(luminance.values[i], kTableK1[i]) << i;
    EXPECT_EQ(chrominance.values[i], kTableK2[i]) << i;
    EXPECT_EQ(halved.values[i], kTableK2[i] / 2) << i;
  }
}

TEST(QuantizationTable, OwnSetsHoldTheirDistinguishingValues) {
  JpegQuantizationTable quality50, quality2, quality75, chroma75;
  quality50.LoadLuminanceValues(50);  // set 6: K.1 halved but for two values
  for (int i = 0; i < 64; ++i) {
    const int expected = i == 8 + 5 ? 28 : i == 16 + 5 ? 26 : kTableK1[i] / 2;
    EXPECT_EQ(quality50.values[i], expected) << i;
  }
  quality2.LoadChrominanceValues(2);  // chrominance set 1: symmetric but for one pair
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < v; ++u) {
      if (v == 7 && u == 6) continue;
      EXPECT_EQ(quality2.values[8 * v + u], quality2.values[8 * u + v]) << v << "," << u;
    }
  }
  EXPECT_EQ(quality2.values[8 * 7 + 6], 88);
  EXPECT_EQ(quality2.values[8 * 6 + 7], 99);
  quality75.LoadLuminanceValues(75);
  chroma75.LoadChrominanceValues(75);
  EXPECT_EQ(quality75.values[0], 8);
  EXPECT_EQ(chroma75.values[0], 8);
  EXPECT_EQ(quality75.values[63], 91);
}

TEST(QuantizationTable, ExtremeQualitiesAreUniform) {
  struct Case {
    std::uint32_t quality;
    std::uint16_t value;
  };
  for (const Case& c : {Case{1, 255}, Case{100, 1}}) {
    JpegQuantizationTable luminance, chrominance;
    luminance.LoadLuminanceValues(c.quality);
    chrominance.LoadChrominanceValues(c.quality);
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(luminance.values[i], c.value);
      EXPECT_EQ(chrominance.values[i], c.value);
    }
  }
}

TEST(QuantizationTable, WritesTheValuesInZigzagOrderAsBytes) {
  JpegQuantizationTable table;
  for (int i = 0; i < 64; ++i) table.values[i] = static_cast<std::uint16_t>(i + 1);
  table.values[63] = 0x1FF;  // only the low 8 bits go into the file
  MemoryOutputStream stream(16);
  table.WriteValues(stream);
  const std::vector<std::uint8_t> bytes = stream.Bytes();
  ASSERT_EQ(bytes.size(), 64u);
  const int expectedStart[] = {1, 2, 9, 17, 10, 3, 4, 11, 18, 25};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(bytes[k], expectedStart[k]);
  EXPECT_EQ(bytes[63], 0xFF);
  for (int k = 0; k < 63; ++k) EXPECT_EQ(bytes[k], ZigzagOrder[k] + 1);
}

// 1 / (8 * a(u) * a(v)) in long double, 11 bits finer than double.
long double ExactScale(int u, int v) {
  const long double pi = std::acos(-1.0L);
  auto a = [pi](int k) { return k == 0 ? 1.0L : std::sqrt(2.0L) * std::cos(k * pi / 16); };
  return 1 / (8 * a(u) * a(v));
}

TEST(QuantizationTable, TransformScaleHoldsTheNearestDoubles) {
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      SCOPED_TRACE(testing::Message() << "u " << u << ", v " << v);
      const double stored = JpegQuantizationTable::TransformScale[8 * v + u];
      const long double exact = ExactScale(u, v);
      const long double error = std::fabs(stored - exact);
      EXPECT_LT(error, std::fabs(std::nextafter(stored, 1.0) - exact));
      EXPECT_LT(error, std::fabs(std::nextafter(stored, 0.0) - exact));
      EXPECT_EQ(stored, JpegQuantizationTable::TransformScale[8 * u + v]);  // symmetric
      // a(4) = 1 exactly, so frequency 4 scales like frequency 0.
      if (u == 4) {
        EXPECT_EQ(stored, JpegQuantizationTable::TransformScale[8 * v]);
      }
      if (u % 4 == 0 && v % 4 == 0) {
        EXPECT_EQ(stored, 0.125);
      }
    }
  }
  EXPECT_NEAR(JpegQuantizationTable::TransformScale[1], 0.0901, 1e-4);
}

TEST(QuantizationTable, ScaledReciprocalsDivideTheScaleByTheValue) {
  JpegQuantizationTable table;
  table.LoadLuminanceValues(75);
  table.BuildScaledReciprocals();
  EXPECT_EQ(table.scaledReciprocals[0], 0.125 / 8);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(table.scaledReciprocals[i],
              JpegQuantizationTable::TransformScale[i] / table.values[i]);
  }
}

}  // namespace
}  // namespace Quorvante
