// Every file the encoder writes must decode with libjpeg-turbo, warnings treated as errors,
// and hold exactly the quantized coefficients computed pixel by pixel.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "encodertestsupport.h"
#include "jpegtestsupport.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoder;

struct ScanSetting {
  std::uint32_t mask, end, approximation;
};

struct Mode {
  const char* name;
  bool grayscale;
  bool progressive;
  Sampling sampling[3];
  std::uint32_t restartRows;
  std::vector<ScanSetting> scans;  // empty: the mode's default plan
};

const std::vector<Mode>& Modes() {
  static const std::vector<Mode> modes = {
      {"Baseline", false, false, {{1, 1}, {1, 1}, {1, 1}}, 0, {}},
      {"Gray", true, false, {{1, 1}, {1, 1}, {1, 1}}, 0, {}},
      {"Baseline2x1Restart1", false, false, {{2, 1}, {1, 1}, {1, 1}}, 1, {}},
      {"Baseline2x2Restart2", false, false, {{2, 2}, {1, 1}, {1, 1}}, 2, {}},
      {"Baseline4x2Restart3", false, false, {{4, 2}, {1, 1}, {1, 1}}, 3, {}},
      {"Baseline3x1", false, false, {{3, 1}, {1, 1}, {1, 1}}, 0, {}},
      {"ChromaSampledAboveLuma", false, false, {{1, 1}, {2, 2}, {1, 2}}, 1, {}},
      {"ThreeScans2x1Restart1",
       false,
       false,
       {{2, 1}, {1, 1}, {1, 1}},
       1,
       {{2, 0, 0}, {4, 0, 0}, {8, 0, 0}}},
      {"GrayRestart2Sampled", true, false, {{2, 2}, {1, 1}, {1, 1}}, 2, {}},
      {"Progressive", false, true, {{1, 1}, {1, 1}, {1, 1}}, 0, {}},
      {"GrayProgressive", true, true, {{1, 1}, {1, 1}, {1, 1}}, 0, {}},
      {"ProgressiveDeep2x2",
       false,
       true,
       {{2, 2}, {1, 1}, {1, 1}},
       0,
       {{14, 0, 13}, {2, 1, 13}, {2, 9, 12}, {2, 63, 2}, {4, 5, 1}, {4, 63, 7}, {8, 63, 13}}},
      {"ProgressiveSplitDc4x2",
       false,
       true,
       {{4, 2}, {1, 1}, {1, 1}},
       2,  // ignored: progressive files have no restart markers
       {{6, 0, 1}, {8, 0, 3}, {2, 2, 1}, {8, 40, 0}, {2, 63, 3}, {4, 63, 2}, {8, 63, 1}}},
      {"GrayProgressiveDeep",
       true,
       true,
       {{1, 1}, {1, 1}, {1, 1}},
       0,
       {{14, 0, 2}, {2, 3, 4}, {4, 63, 0}, {2, 20, 13}, {2, 63, 1}}},
  };
  return modes;
}

const Mode& ModeNamed(const std::string& name) {
  for (const Mode& mode : Modes()) {
    if (name == mode.name) return mode;
  }
  throw std::invalid_argument(name);
}

struct Size {
  int width, height;
};
const Size kSizes[] = {{1, 1},   {7, 9},   {8, 8},   {9, 9},   {16, 16},
                       {17, 33}, {33, 17}, {100, 3}, {3, 100}, {257, 131}};
const std::uint32_t kQualities[] = {1, 2, 32, 33, 65, 66, 75, 100};

struct Case {
  std::size_t mode;
  Size size;
  std::uint32_t quality;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  const std::size_t sizeCount = sizeof kSizes / sizeof kSizes[0];
  for (std::size_t m = 0; m < Modes().size(); ++m) {
    for (std::size_t s = 0; s < sizeCount; ++s) {
      cases.push_back({m, kSizes[s], kQualities[(s + 3 * m) % 8]});
    }
  }
  return cases;
}

void Configure(JpegEncoder& encoder, const Mode& mode, std::uint32_t quality) {
  encoder.SetQuality(quality);
  encoder.SetGrayscale(mode.grayscale);
  encoder.SetProgressive(mode.progressive);
  encoder.SetRestartRows(mode.restartRows);
  for (std::uint32_t id = 1; id <= 3; ++id) {
    encoder.SetComponentSampling(id, mode.sampling[id - 1].horizontal,
                                 mode.sampling[id - 1].vertical);
  }
  if (mode.scans.empty()) return;
  for (std::uint32_t i = 0; i < 256; ++i) encoder.SetScan(i, 0, 0, 0);
  for (std::uint32_t i = 0; i < mode.scans.size(); ++i) {
    encoder.SetScan(i, mode.scans[i].mask, mode.scans[i].end, mode.scans[i].approximation);
  }
}

void PrintTo(const Case& c, std::ostream* out) {
  *out << Modes()[c.mode].name << " " << c.size.width << "x" << c.size.height << " quality "
       << c.quality;
}

class DecodeTest : public ::testing::TestWithParam<Case> {};

TEST_P(DecodeTest, DecodesStrictlyWithTheIntendedCoefficients) {
  const Case& c = GetParam();
  const Mode& mode = Modes()[c.mode];
  const Quorvante::RasterImage image = (c.size.width * c.size.height) % 2 == 0
                                           ? MakeTestPicture(c.size.width, c.size.height)
                                           : MakeNoisePicture(c.size.width, c.size.height, 7);
  JpegEncoder encoder;
  Configure(encoder, mode, c.quality);
  const std::vector<std::uint8_t> bytes = EncodeToMemory(encoder, image);

  const JpegSupport::DecodedJpeg decoded = JpegSupport::DecodeJpegStrict(bytes);
  EXPECT_EQ(decoded.width, c.size.width);
  EXPECT_EQ(decoded.height, c.size.height);
  EXPECT_EQ(decoded.components, mode.grayscale ? 1 : 3);

  const JpegSupport::JpegCoefficients file = JpegSupport::ReadJpegCoefficients(bytes);
  EXPECT_EQ(file.progressive, mode.progressive);
  EXPECT_EQ(file.restartInterval != 0, mode.restartRows != 0 && !mode.progressive);
  ASSERT_EQ(file.components.size(), mode.grayscale ? 1u : 3u);
  for (const JpegSupport::ComponentCoefficients& component : file.components) {
    SCOPED_TRACE("component " + std::to_string(component.id));
    Quorvante::JpegQuantizationTable table;
    if (component.id == 1) {
      table.LoadLuminanceValues(c.quality);
    } else {
      table.LoadChrominanceValues(c.quality);
    }
    for (int i = 0; i < 64; ++i) ASSERT_EQ(component.quantizationValues[i], table.values[i]);

    const ExpectedComponent expected =
        ExpectedDataUnits(image, c.quality, component.id, mode.sampling, mode.grayscale);
    ASSERT_EQ(component.blocksWide, expected.blocksWide);
    ASSERT_EQ(component.blocksHigh, expected.blocksHigh);
    for (std::size_t b = 0; b < expected.blocks.size(); ++b) {
      for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(component.blocks[b][i], expected.blocks[b][i])
            << "block " << b << " coefficient " << i;
      }
    }
  }
}

std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
  const Case& c = param.param;
  return std::string(Modes()[c.mode].name) + "_" + std::to_string(c.size.width) + "x" +
         std::to_string(c.size.height) + "_q" + std::to_string(c.quality);
}

INSTANTIATE_TEST_SUITE_P(Table, DecodeTest, ::testing::ValuesIn(AllCases()), CaseName);

// The same coefficients reach the decoder whether they travel in one scan or in many passes.
TEST(ProgressiveAndSequential, DecodeToIdenticalPixels) {
  for (const std::string name :
       {"ProgressiveDeep2x2", "ProgressiveSplitDc4x2", "GrayProgressiveDeep"}) {
    const Mode& progressive = ModeNamed(name);
    Mode sequential = progressive;
    sequential.progressive = false;
    sequential.scans.clear();
    sequential.restartRows = 0;
    for (const Size size : {Size{45, 29}, Size{64, 64}}) {
      SCOPED_TRACE(std::string(progressive.name) + " " + std::to_string(size.width));
      const Quorvante::RasterImage image = MakeTestPicture(size.width, size.height);
      JpegEncoder a, b;
      Configure(a, progressive, 80);
      Configure(b, sequential, 80);
      const auto first = JpegSupport::DecodeJpegStrict(EncodeToMemory(a, image));
      const auto second = JpegSupport::DecodeJpegStrict(EncodeToMemory(b, image));
      EXPECT_EQ(first.pixels, second.pixels);
    }
  }
}

// Decoded pixels stay close to the picture, channel by channel; a flip, a transpose or a
// swap of red and blue would not.
TEST(DecodedPixels, StayCloseToTheInput) {
  struct Bound {
    std::uint32_t quality;
    bool subsampled;
    double minimumPsnr;
  };
  const Quorvante::RasterImage image = MakeTestPicture(120, 90);
  for (const Bound bound : {Bound{75, false, 30}, Bound{75, true, 26}, Bound{100, false, 40}}) {
    JpegEncoder encoder;
    encoder.SetQuality(bound.quality);
    if (bound.subsampled) encoder.SetComponentSampling(1, 2, 2);
    const auto decoded = JpegSupport::DecodeJpegStrict(EncodeToMemory(encoder, image));
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_GE(ChannelPsnr(image, decoded.pixels, channel), bound.minimumPsnr)
          << "quality " << bound.quality << " channel " << channel;
    }
  }
}

}  // namespace
}  // namespace rasqet::test
