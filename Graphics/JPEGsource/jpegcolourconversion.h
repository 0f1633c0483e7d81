// Conversion of the raster's RGB pixels into the samples of the Y, Cb and Cr components, in
// 12-bit fixed point.
#ifndef QUORVANTE_JPEGCOLOURCONVERSION_H
#define QUORVANTE_JPEGCOLOURCONVERSION_H

#include <cstdint>

namespace Quorvante {

class JpegEncoder;
class JpegEncoderComponent;
class RasterImage;

namespace colour_detail {
// The weighted sum is shifted down by 12 bits (towards minus infinity) and clamped: the
// weights are the decimal constants times 4096, truncated, so pure blue and pure red reach
// 256 in Cb and Cr.
constexpr std::uint8_t Clamp(std::int32_t sum) {
  const std::int32_t value = sum >> 12;
  return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}
}  // namespace colour_detail

constexpr std::uint8_t RgbToY(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return colour_detail::Clamp(1224 * red + 2404 * green + 466 * blue + 2048);
}
constexpr std::uint8_t RgbToCb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return colour_detail::Clamp(-690 * red - 1357 * green + 2048 * blue + 526336);
}
constexpr std::uint8_t RgbToCr(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return colour_detail::Clamp(2048 * red - 1714 * green - 333 * blue + 526336);
}

// Fills the sample planes of y, cb and cr (sized to whole MCUs of maxH x maxV) from the
// image, padding right and bottom with copies of the last column and row.
void ConvertColour(JpegEncoder& encoder, const RasterImage& image, std::uint32_t maxH,
                   std::uint32_t maxV, JpegEncoderComponent& y, JpegEncoderComponent& cb,
                   JpegEncoderComponent& cr);

// Builds y's data units straight from the image's luminance, padding with the value 128.
void ConvertGrayscale(JpegEncoder& encoder, const RasterImage& image, JpegEncoderComponent& y);

}  // namespace Quorvante

#endif
