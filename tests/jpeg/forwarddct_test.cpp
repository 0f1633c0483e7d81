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

// The transform written out step by step as the format defines it, with constants computed
// from this machine's cos: the encoder's version must give the very same bits.
void PlainForwardDct(const SampleBlock& block, const double* reciprocals, std::int16_t* out) {
  const double pi = std::acos(-1.0);
  const double c4 = std::cos(4 * pi / 16), k2 = 0.5 / std::cos(2 * pi / 16),
               k6 = 0.5 / std::cos(6 * pi / 16);
  auto butterfly = [&](const double s[4], const double d[4], double y[8]) {
    const double s07 = s[0], s16 = s[1], s25 = s[2], s34 = s[3];
    const double d07 = d[0], d16 = d[1], d25 = d[2], d34 = d[3];
    const double e0 = s07 + s34, e1 = s16 + s25, e2 = s16 - s25, e3 = s07 - s34;
    y[0] = e0 + e1;
    y[4] = e0 - e1;
    const double z = c4 * (e2 + e3);
    y[2] = z + e3;
    y[6] = e3 - z;
    const double o0 = d34 + d25, o1 = d25 + d16, o2 = d16 + d07;
    const double a = c4 * (o0 + o2), b = c4 * o1;
    const double p = a + o2, m = a - o2, q1 = b + d07, q2 = d07 - b;
    y[1] = k2 * p + q1;
    y[7] = q1 - k2 * p;
    y[5] = q2 + k6 * m;
    y[3] = q2 - k6 * m;
  };
  double t[8][8], r[8][8];
  for (int x = 0; x < 8; ++x) {
    int in[8];
    for (int k = 0; k < 8; ++k) in[k] = block[8 * k + x];
    const double s[4] = {
        static_cast<double>(in[0] + in[7] - 256), static_cast<double>(in[1] + in[6] - 256),
        static_cast<double>(in[2] + in[5] - 256), static_cast<double>(in[3] + in[4] - 256)};
    const double d[4] = {static_cast<double>(in[0] - in[7]), static_cast<double>(in[1] - in[6]),
                         static_cast<double>(in[2] - in[5]), static_cast<double>(in[3] - in[4])};
    double y[8];
    butterfly(s, d, y);
    for (int v = 0; v < 8; ++v) t[v][x] = y[v];
  }
  for (int v = 0; v < 8; ++v) {
    const double* in = t[v];
    const double s[4] = {in[0] + in[7], in[1] + in[6], in[2] + in[5], in[3] + in[4]};
    const double d[4] = {in[0] - in[7], in[1] - in[6], in[2] - in[5], in[3] - in[4]};
    butterfly(s, d, r[v]);
  }
  for (int v = 0; v < 8; ++v) {
    for (int u = 0; u < 8; ++u) {
      const double w = r[v][u] * reciprocals[8 * v + u];
      const int rounded = w >= 0 ? static_cast<int>(w + 0.5) : static_cast<int>(w - 0.5);
      out[8 * v + u] = static_cast<std::int16_t>(rounded);
    }
  }
}

TEST(ForwardDct, GivesTheBitsOfTheStepByStepTransform) {
  std::mt19937 random(77);
  JpegQuantizationTable tables[3];
  tables[0].LoadLuminanceValues(75);
  tables[1].LoadChrominanceValues(100);
  tables[2].LoadLuminanceValues(20);
  for (auto& table : tables) table.BuildScaledReciprocals();
  for (int n = 0; n < 30000; ++n) {
    SampleBlock block;
    for (int i = 0; i < 64; ++i) {
      const int noise = static_cast<int>(random() % 256);
      block[i] = static_cast<std::uint8_t>(n % 3 == 0   ? noise
                                           : n % 3 == 1 ? (noise & 1) * 255
                                                        : (i * 4 + noise % 5) % 256);
    }
    const JpegQuantizationTable& table = tables[n % 3];
    std::int16_t expected[64], actual[64], scalar[64];
    PlainForwardDct(block, table.scaledReciprocals, expected);
    ForwardDct(block, table, actual);
    ForwardDctScalar(block, table, scalar);
    for (int i = 0; i < 64; ++i) {
      ASSERT_EQ(actual[i], expected[i]) << "block " << n << " index " << i;
      ASSERT_EQ(scalar[i], expected[i]) << "block " << n << " index " << i;
    }
  }
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
  int ties = 0;
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
      const long double magnitude = std::fabs(quotient);
      long double roundedMagnitude = std::floor(magnitude + 0.5L);
      if (std::fabs(magnitude - std::floor(magnitude) - 0.5L) < 1e-9L) {
        // With both frequencies 0 or 4 the factorised transform is exact: its output is a whole
        // number and its scale exactly 1/8, so a quotient of k + 1/2 is an exact tie and goes
        // away from zero. Elsewhere a quotient this close to a boundary may go either way.
        if (i % 4 != 0 || i / 8 % 4 != 0) continue;
        roundedMagnitude = std::floor(magnitude) + 1;
        ++ties;
      }
      const long double rounded = quotient >= 0 ? roundedMagnitude : -roundedMagnitude;
      ASSERT_EQ(out[i], static_cast<int>(rounded)) << "block " << n << " index " << i;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000 * 60);
  EXPECT_GT(ties, 100);
}

}  // namespace
}  // namespace Quorvante
