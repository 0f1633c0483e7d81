#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"

namespace Quorvante {
namespace {

JpegQuantizationTable UniformTable(std::uint16_t dc, std::uint16_t ac) {
  JpegQuantizationTable table;
  for (auto& value : table.values) value = ac;
  table.values[0] = dc;
  table.BuildScaledReciprocals();
  return table;
}

std::vector<std::int16_t> Transform(const std::function<int(int, int)>& sample,
                                    const JpegQuantizationTable& table) {
  SampleBlock block;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) block[8 * r + c] = static_cast<std::uint8_t>(sample(r, c));
  }
  std::vector<std::int16_t> dataUnit(64, 0x5555);
  ForwardDct(block, table, dataUnit.data());
  return dataUnit;
}

TEST(ForwardDct, ConstantsAreTheFormulaEvaluatedInDoubles) {
  const double pi = std::acos(-1.0);
  EXPECT_EQ(ForwardDctConstants::C4, std::cos(4 * pi / 16));
  EXPECT_EQ(ForwardDctConstants::K2, 0.5 / std::cos(2 * pi / 16));
  EXPECT_EQ(ForwardDctConstants::K6, 0.5 / std::cos(6 * pi / 16));
  EXPECT_NEAR(ForwardDctConstants::C4, 0.7071067811865476, 1e-16);
  EXPECT_NEAR(ForwardDctConstants::K2, 0.5411961001461970, 1e-16);
  EXPECT_NEAR(ForwardDctConstants::K6, 1.3065629648763764, 1e-15);
}

struct FlatCase {
  const char* name;
  int sample;
  std::uint16_t dcQuantization;
  std::int16_t dc;
};

TEST(ForwardDct, FlatBlocksGiveOnlyARoundedDc) {
  const FlatCase cases[] = {
      {"mid grey", 128, 1, 0},     {"white, q 1", 255, 1, 1016}, {"white, q 16", 255, 16, 64},
      {"black, q 16", 0, 16, -64}, {"1, q 16", 1, 16, -64},      {"black, q 1", 0, 1, -1024},
  };
  for (const FlatCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto out =
        Transform([&](int, int) { return c.sample; }, UniformTable(c.dcQuantization, 1));
    EXPECT_EQ(out[0], c.dc);
    for (int i = 1; i < 64; ++i) EXPECT_EQ(out[i], 0) << i;
  }
}

TEST(ForwardDct, VerticalEdgeGivesOddHorizontalFrequencies) {
  const auto out = Transform([](int, int c) { return c < 4 ? 255 : 0; }, UniformTable(1, 1));
  const std::int16_t row0[8] = {-4, 924, 0, -325, 0, 217, 0, -184};
  for (int u = 0; u < 8; ++u) EXPECT_EQ(out[u], row0[u]) << u;
  for (int i = 8; i < 64; ++i) EXPECT_EQ(out[i], 0) << i;
}

TEST(ForwardDct, HorizontalEdgeGivesTheSameValuesInTheFirstColumn) {
  const auto out = Transform([](int r, int) { return r < 4 ? 255 : 0; }, UniformTable(1, 1));
  const std::int16_t column0[8] = {-4, 924, 0, -325, 0, 217, 0, -184};
  for (int v = 0; v < 8; ++v) EXPECT_EQ(out[8 * v], column0[v]) << v;
}

// The quantized DCT by its definition (ITU-T T.81, A.3.3), in long double: the exact quotient.
long double ReferenceQuotient(const SampleBlock& block, int u, int v, std::uint16_t q) {
  const long double pi = std::acos(-1.0L);
  long double sum = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      sum += (block[8 * y + x] - 128.0L) * std::cos((2 * x + 1) * u * pi / 16) *
             std::cos((2 * y + 1) * v * pi / 16);
    }
  }
  const long double cu = u == 0 ? 1 / std::sqrt(2.0L) : 1;
  const long double cv = v == 0 ? 1 / std::sqrt(2.0L) : 1;
  return 0.25L * cu * cv * sum / q;
}

TEST(ForwardDct, AgreesWithTheDefinitionOverManyBlocks) {
  std::mt19937 random(20261211);
  JpegQuantizationTable quality75, quality100, quality10;
  quality75.LoadLuminanceValues(75);
  quality100.LoadLuminanceValues(100);
  quality10.LoadChrominanceValues(10);
  for (JpegQuantizationTable* table : {&quality75, &quality100, &quality10})
    table->BuildScaledReciprocals();

  // Noise, extremes and smooth ramps: every frequency and the largest magnitudes.
  std::vector<std::function<int(int, int)>> kinds = {
      [&](int, int) { return static_cast<int>(random() % 256); },
      [&](int, int) { return random() % 2 ? 255 : 0; },
      [&](int r, int c) { return (r * 17 + c * 13 + static_cast<int>(random() % 8)) % 256; },
  };
  int checked = 0;
  for (int n = 0; n < 3000; ++n) {
    SampleBlock block;
    auto& kind = kinds[static_cast<std::size_t>(n) % kinds.size()];
    for (int i = 0; i < 64; ++i) block[i] = static_cast<std::uint8_t>(kind(i / 8, i % 8));
    const JpegQuantizationTable& table = n % 3 == 0   ? quality75
                                         : n % 3 == 1 ? quality100
                                                      : quality10;
    std::int16_t out[64];
    ForwardDct(block, table, out);
    for (int i = 0; i < 64; ++i) {
      const long double quotient = ReferenceQuotient(block, i % 8, i / 8, table.values[i]);
      const long double fraction = std::fabs(quotient) - std::floor(std::fabs(quotient));
      // A quotient this close to a rounding boundary may go either way with double arithmetic.
      if (std::fabs(fraction - 0.5L) < 1e-9L) continue;
      const long double rounded =
          quotient >= 0 ? std::floor(quotient + 0.5L) : -std::floor(-quotient + 0.5L);
      ASSERT_EQ(out[i], static_cast<int>(rounded)) << "block " << n << " index " << i;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000 * 60);
}

}  // namespace
}  // namespace Quorvante
