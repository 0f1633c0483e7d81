#include "tools/sampleraster.h"

namespace rasqet {

using Quorvante::MakePixel;

Quorvante::RasterImage MakeSampleRaster(std::int32_t width, std::int32_t height) {
  Quorvante::RasterImage image;
  image.SetSize(width, height);
  const std::int32_t unit = (width < height ? width : height) / 8;
  for (std::int32_t r = 0; r < height; ++r) {
    Quorvante::Pixel* row = image.PixelAt(r * width);
    for (std::int32_t c = 0; c < width; ++c) {
      // Background: blue rising to the right, green rising downwards.
      const auto green = static_cast<std::uint8_t>(r * 255 / (height > 1 ? height - 1 : 1));
      const auto blue = static_cast<std::uint8_t>(128 + c * 127 / (width > 1 ? width - 1 : 1));
      const bool stem = c >= 2 * unit && c < 3 * unit && r >= unit && r < 7 * unit;
      const bool top = r >= unit && r < 2 * unit && c >= 2 * unit && c < 6 * unit;
      const bool middle = r >= 3 * unit && r < 4 * unit && c >= 2 * unit && c < 5 * unit;
      row[c] = (stem || top || middle) ? MakePixel(230, 20, 20) : MakePixel(0, green / 2, blue);
    }
  }
  return image;
}

}  // namespace rasqet
