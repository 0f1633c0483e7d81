// The 32-bit raster that the rasteriser fills and every writer reads.
//
// Pixels are 4 bytes in memory order blue, green, red, alpha (0xAARRGGBB read as a
// little-endian word), rows top row first with no gap: the layout of a 32-bit top-down DIB,
// so rendered bands copy straight in.
#ifndef QUORVANTE_RASTERIMAGE_H
#define QUORVANTE_RASTERIMAGE_H

#include <cstdint>

namespace Quorvante {

using Pixel = std::uint32_t;

class RasterImage {
 public:
  RasterImage() = default;
  // As SetSize(width, height), then every pixel set to fill.
  RasterImage(std::int32_t width, std::int32_t height, Pixel fill);
  RasterImage(const RasterImage& other);
  RasterImage& operator=(const RasterImage& other);
  // Moves hand the pixel array over and leave the source empty.
  RasterImage(RasterImage&& other) noexcept;
  RasterImage& operator=(RasterImage&& other) noexcept;
  virtual ~RasterImage();

  // Discards the content and allocates width x height zero pixels. Throws std::length_error
  // for a negative size or one whose byte count does not fit in memory addressing.
  void SetSize(std::int32_t width, std::int32_t height);
  // Frees the pixels; the image becomes 0 x 0.
  void Clear();

  std::int32_t Width() const { return width; }
  std::int32_t Height() const { return height; }
  // Start of the whole array; row r starts at Pixels() + r * Width().
  Pixel* Pixels() { return pixels; }
  const Pixel* Pixels() const { return pixels; }
  // Element index into the row-major array; no bounds check.
  Pixel* PixelAt(std::int32_t index) { return pixels + index; }
  const Pixel* PixelAt(std::int32_t index) const { return pixels + index; }

 private:
  void CopyFrom(const RasterImage& other);
  void TakeFrom(RasterImage& other) noexcept;

  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t pixelCount = 0;
  Pixel* pixels = nullptr;
};

// Pixel helpers for the blue, green, red, alpha byte order.
constexpr std::uint8_t PixelBlue(Pixel p) {
  return static_cast<std::uint8_t>(p);
}
constexpr std::uint8_t PixelGreen(Pixel p) {
  return static_cast<std::uint8_t>(p >> 8);
}
constexpr std::uint8_t PixelRed(Pixel p) {
  return static_cast<std::uint8_t>(p >> 16);
}
constexpr std::uint8_t PixelAlpha(Pixel p) {
  return static_cast<std::uint8_t>(p >> 24);
}
constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                          std::uint8_t alpha = 0) {
  return static_cast<Pixel>(blue) | static_cast<Pixel>(green) << 8 | static_cast<Pixel>(red) << 16 |
         static_cast<Pixel>(alpha) << 24;
}

}  // namespace Quorvante

#endif
