// The transform, the quantization tables and the zigzag order meet in a file: libjpeg must
// read back from it the quantized DCT of the definition.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/memoryoutputstream.h"
#include "Graphics/rasterimage.h"
#include "jpegtestsupport.h"

namespace Quorvante {
namespace {

// Round half away from zero of the exact quantized coefficient (ITU-T T.81, A.3.3); ties are
// recognised where the transform is exact (both frequencies 0 or 4), elsewhere skipped (-32768).
int DefinitionCoefficient(const std::vector<std::uint8_t>& grey, int width, int blockRow,
                          int blockColumn, int u, int v, int q) {
  const long double pi = std::acos(-1.0L);
  long double sum = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      sum += (grey[static_cast<std::size_t>((blockRow * 8 + y) * width + blockColumn * 8 + x)] -
              128.0L) *
             std::cos((2 * x + 1) * u * pi / 16) * std::cos((2 * y + 1) * v * pi / 16);
  const long double cu = u == 0 ? 1 / std::sqrt(2.0L) : 1, cv = v == 0 ? 1 / std::sqrt(2.0L) : 1;
  const long double quotient = 0.25L * cu * cv * sum / q;
  const long double magnitude = std::fabs(quotient);
  long double rounded = std::floor(magnitude + 0.5L);
  if (std::fabs(magnitude - std::floor(magnitude) - 0.5L) < 1e-9L) {
    if (u % 4 != 0 || v % 4 != 0) return -32768;
    rounded = std::floor(magnitude) + 1;
  }
  return static_cast<int>(quotient < 0 ? -rounded : rounded);
}

TEST(FileCoefficients, AGreyFileCarriesTheQuantizedDctOfTheDefinition) {
  const int width = 64, height = 40;
  std::mt19937 random(99);
  std::vector<std::uint8_t> grey;
  RasterImage image(width, height, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      // Equal red, green and blue: the luminance is the grey value itself.
      const auto value = static_cast<std::uint8_t>((x * 5 + y * 3 + random() % 41) % 256);
      grey.push_back(value);
      *image.PixelAt(y * width + x) = MakePixel(value, value, value);
    }
  }
  for (std::uint32_t quality : {100u, 75u, 20u}) {
    SCOPED_TRACE(quality);
    JpegEncoder encoder;
    encoder.SetGrayscale(true);
    encoder.SetQuality(quality);
    MemoryOutputStream stream;
    encoder.WriteImage(stream, image);
    stream.FlushBuffer();
    const auto file = JpegSupport::ReadJpegCoefficients(stream.Flushed());
    ASSERT_EQ(file.components.size(), 1u);
    const auto& y = file.components[0];
    int compared = 0;
    for (int row = 0; row < height / 8; ++row) {
      for (int column = 0; column < width / 8; ++column) {
        for (int i = 0; i < 64; ++i) {
          const int expected =
              DefinitionCoefficient(grey, width, row, column, i % 8, i / 8,
                                    y.quantizationValues[static_cast<std::size_t>(i)]);
          if (expected == -32768) continue;
          ASSERT_EQ(y.Block(row, column)[static_cast<std::size_t>(i)], expected)
              << "block " << row << "," << column << " index " << i;
          ++compared;
        }
      }
    }
    EXPECT_GT(compared, 40 * 64 - 10);
  }
}

}  // namespace
}  // namespace Quorvante
