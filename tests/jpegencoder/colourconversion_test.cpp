// Colour conversion, padding to whole MCUs, down-sampling and the cutting into data units.
#include <gtest/gtest.h>

#include <array>

#include "Graphics/JPEGsource/jpegcolourconversion.h"
#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/JPEGsource/jpgzigzag.h"
#include "encodertestsupport.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoder;
using Quorvante::JpegEncoderComponent;
using Quorvante::RasterImage;

struct PixelCase {
  std::uint8_t red, green, blue;
  std::uint8_t y, cb, cr;
};

class PixelConversionTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(PixelConversionTest, MatchesTheFixedPointFormulas) {
  const PixelCase& c = GetParam();
  EXPECT_EQ(Quorvante::RgbToY(c.red, c.green, c.blue), c.y);
  EXPECT_EQ(Quorvante::RgbToCb(c.red, c.green, c.blue), c.cb);
  EXPECT_EQ(Quorvante::RgbToCr(c.red, c.green, c.blue), c.cr);
}

INSTANTIATE_TEST_SUITE_P(Examples, PixelConversionTest,
                         ::testing::Values(PixelCase{255, 255, 255, 255, 128, 128},
                                           PixelCase{0, 0, 0, 0, 128, 128},
                                           PixelCase{128, 128, 128, 128, 128, 128},
                                           PixelCase{255, 0, 0, 76, 85, 255},  // Cr clamped
                                           PixelCase{0, 255, 0, 150, 44, 21},
                                           PixelCase{0, 0, 255, 29, 255, 107},  // Cb clamped
                                           PixelCase{1, 2, 3, 2, 129, 127}));

// Three components with the tables of quality 100 (all values 1), as an encoder holds them.
struct Components {
  std::array<Quorvante::JpegQuantizationTable, 2> tables;
  std::array<JpegEncoderComponent, 3> c;
  Components() {
    tables[0].LoadLuminanceValues(100);
    tables[1].LoadChrominanceValues(100);
    for (auto& t : tables) t.BuildScaledReciprocals();
    for (int i = 0; i < 3; ++i) c[i].SetQuantizationTable(&tables[i == 0 ? 0 : 1]);
  }
};

TEST(ColourConversion, WholeRowsMatchThePixelFormulas) {
  // Widths around the groups of eight pixels converted together.
  for (const int width : {1, 7, 8, 9, 23, 37}) {
    const RasterImage image = MakeNoisePicture(width, 3, static_cast<std::uint32_t>(width));
    Components k;
    JpegEncoder encoder;
    Quorvante::ConvertColour(encoder, image, 1, 1, k.c[0], k.c[1], k.c[2]);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) {
        const Quorvante::Pixel p = *image.PixelAt(y * width + x);
        const std::uint8_t r = Quorvante::PixelRed(p), g = Quorvante::PixelGreen(p),
                           b = Quorvante::PixelBlue(p);
        const std::size_t at = static_cast<std::size_t>(y) * k.c[0].SampleColumns() + x;
        ASSERT_EQ(k.c[0].Samples()[at], Quorvante::RgbToY(r, g, b)) << width << " " << x;
        ASSERT_EQ(k.c[1].Samples()[at], Quorvante::RgbToCb(r, g, b)) << width << " " << x;
        ASSERT_EQ(k.c[2].Samples()[at], Quorvante::RgbToCr(r, g, b)) << width << " " << x;
      }
    }
  }
}

TEST(ColourConversion, OnePixelFillsWholePlanes) {
  Components k;
  JpegEncoder encoder;
  const RasterImage image(1, 1, Quorvante::MakePixel(1, 2, 3));
  Quorvante::ConvertColour(encoder, image, 1, 1, k.c[0], k.c[1], k.c[2]);
  const std::uint8_t expected[3] = {2, 129, 127};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(k.c[i].SampleRows(), 8u);
    ASSERT_EQ(k.c[i].SampleColumns(), 8u);
    for (int s = 0; s < 64; ++s) EXPECT_EQ(k.c[i].Samples()[s], expected[i]);
  }
}

TEST(ColourConversion, PaddingRepeatsTheLastColumnAndRow) {
  Components k;
  JpegEncoder encoder;
  const RasterImage image = MakeNoisePicture(9, 9, 11);
  Quorvante::ConvertColour(encoder, image, 1, 1, k.c[0], k.c[1], k.c[2]);
  for (const JpegEncoderComponent& c : k.c) {
    ASSERT_EQ(c.SampleColumns(), 16u);
    ASSERT_EQ(c.SampleRows(), 16u);
    const std::uint8_t* s = c.Samples();
    for (int row = 0; row < 16; ++row) {
      const int source = row < 9 ? row : 8;
      for (int column = 0; column < 16; ++column) {
        const int from = source * 16 + (column < 9 ? column : 8);
        EXPECT_EQ(s[row * 16 + column], s[from]) << row << "," << column;
      }
    }
  }
}

TEST(ColourConversion, SampleGeometryOfADownSampledFrame) {
  Components k;
  JpegEncoder encoder;
  k.c[0].SetHorizontalFrequency(2);
  k.c[0].SetVerticalFrequency(2);
  const RasterImage image = MakeTestPicture(20, 20);
  Quorvante::ConvertColour(encoder, image, 2, 2, k.c[0], k.c[1], k.c[2]);
  EXPECT_EQ(k.c[1].SampleRows(), 32u);
  EXPECT_EQ(k.c[1].SampleColumns(), 32u);
  EXPECT_EQ(k.c[1].ScanRows(), 2u);
  EXPECT_EQ(k.c[1].ScanColumns(), 2u);
  EXPECT_EQ(k.c[0].ScanRows(), 3u);
  EXPECT_EQ(k.c[0].ScanColumns(), 3u);
  k.c[0].BuildDataUnits(encoder, 2, 2);
  k.c[1].BuildDataUnits(encoder, 2, 2);
  EXPECT_EQ(k.c[0].DataUnitRows(), 4u);
  EXPECT_EQ(k.c[0].DataUnitColumns(), 4u);
  EXPECT_EQ(k.c[1].DataUnitRows(), 2u);
  EXPECT_EQ(k.c[1].DataUnitColumns(), 2u);
  EXPECT_EQ(k.c[1].Samples(), nullptr);  // the plane is freed once the data units exist
}

TEST(ColourConversion, AveragingTruncates) {
  Components k;
  JpegEncoder encoder;
  JpegEncoderComponent& c = k.c[1];
  c.AllocateSamples(16, 16, 2, 2);
  // Every 2 x 2 group holds 1, 2, 3, 4: the average 2.5 is truncated to 2.
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      c.Samples()[row * 16 + column] = static_cast<std::uint8_t>(1 + column % 2 + 2 * (row % 2));
    }
  }
  c.BuildDataUnits(encoder, 2, 2);
  ASSERT_EQ(c.DataUnitRows(), 1u);
  EXPECT_EQ(c.DataUnit(0, 0)[0], (2 - 128) * 8);  // a flat block of 2, quantized by 1
  for (int k2 = 1; k2 < 64; ++k2) EXPECT_EQ(c.DataUnit(0, 0)[k2], 0);
}

TEST(ColourConversion, GrayscalePadsWithMidGrey) {
  Components k;
  JpegEncoder encoder;
  const RasterImage image(1, 1, Quorvante::MakePixel(200, 10, 90));
  Quorvante::ConvertGrayscale(encoder, image, k.c[0]);
  ASSERT_EQ(k.c[0].DataUnitRows(), 1u);
  ASSERT_EQ(k.c[0].ScanColumns(), 1u);
  Quorvante::SampleBlock block;
  for (auto& s : block) s = 128;
  block[0] = Quorvante::RgbToY(200, 10, 90);
  std::int16_t natural[64];
  Quorvante::ForwardDct(block, k.tables[0], natural);
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(k.c[0].DataUnit(0, 0)[i], natural[Quorvante::ZigzagOrder[i]]) << i;
  }
}

}  // namespace
}  // namespace rasqet::test
