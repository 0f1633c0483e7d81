#include "fuzzpictures.h"

namespace rasqet::fuzz {

using Quorvante::Pixel;
using Quorvante::RasterImage;

PictureSize ReadPictureSize(ByteReader& input, bool large) {
  auto one = [&]() -> std::int32_t {
    if (large) {
      const std::uint32_t w = input.Word();
      if (w == 0xFFFF) {
        static const std::int32_t kLong[4] = {65500, 65535, 65536, 65500};
        return kLong[input.Byte() & 3];
      }
      return static_cast<std::int32_t>(1 + w % 300);
    }
    const std::uint8_t b = input.Byte();
    return b == 255 ? 0 : 1 + b % 70;
  };
  PictureSize size;
  size.width = one();
  size.height = one();
  // A strip as long as the 16-bit size fields allow, or one pixel longer, is thin.
  if (size.width > 300) size.height = 1 + size.height % 2;
  if (size.height > 300) size.width = 1 + size.width % 2;
  return size;
}

namespace {

void FillNoise(RasterImage& image, std::uint32_t seed) {
  std::uint32_t state = seed;
  const std::int32_t count = image.Width() * image.Height();
  for (std::int32_t i = 0; i < count; ++i) {
    state = state * 1664525u + 1013904223u;
    *image.PixelAt(i) = state ^ (state >> 13);
  }
}

// Period 1 to 16 pixels, across, down or diagonal: sharp edges at every phase of a block.
void FillStripes(RasterImage& image, ByteReader& input) {
  const std::uint8_t shape = input.Byte();
  const std::int32_t period = 1 + (shape & 15);
  const int direction = (shape >> 4) % 3;
  const Pixel a = input.Quad();
  const Pixel b = input.Quad();
  for (std::int32_t y = 0; y < image.Height(); ++y) {
    for (std::int32_t x = 0; x < image.Width(); ++x) {
      const std::int32_t along = direction == 0 ? x : direction == 1 ? y : x + y;
      *image.PixelAt(y * image.Width() + x) = (along / period) % 2 == 0 ? a : b;
    }
  }
}

// The rest of the input as pixel bytes, repeated to fill the picture.
void FillFromInput(RasterImage& image, ByteReader& input) {
  const std::uint8_t* bytes = input.Rest();
  const std::size_t available = input.RestSize();
  const std::size_t total = static_cast<std::size_t>(image.Width()) * image.Height() * 4;
  auto* out = reinterpret_cast<std::uint8_t*>(image.Pixels());
  for (std::size_t i = 0; i < total; ++i) {
    out[i] = available == 0 ? static_cast<std::uint8_t>(i * 37) : bytes[i % available];
  }
}

void FillGradient(RasterImage& image, ByteReader& input) {
  const std::uint8_t slopeX = input.Byte();
  const std::uint8_t slopeY = input.Byte();
  for (std::int32_t y = 0; y < image.Height(); ++y) {
    for (std::int32_t x = 0; x < image.Width(); ++x) {
      const auto red = static_cast<std::uint8_t>(x * (slopeX & 15));
      const auto green = static_cast<std::uint8_t>(y * (slopeY & 15));
      const auto blue = static_cast<std::uint8_t>(x * (slopeX >> 4) + y * (slopeY >> 4));
      *image.PixelAt(y * image.Width() + x) = Quorvante::MakePixel(red, green, blue, 0x80);
    }
  }
}

}  // namespace

Picture ReadPicture(ByteReader& input, PictureSize size) {
  Picture picture;
  picture.image.SetSize(size.width, size.height);
  picture.pattern = static_cast<Pattern>(input.Byte() % 5);
  switch (picture.pattern) {
    case Pattern::kFlat:
      picture.flatColour = input.Quad();
      for (std::int32_t i = 0; i < size.width * size.height; ++i) {
        *picture.image.PixelAt(i) = picture.flatColour;
      }
      break;
    case Pattern::kNoise:
      FillNoise(picture.image, input.Quad());
      break;
    case Pattern::kStripes:
      FillStripes(picture.image, input);
      break;
    case Pattern::kInputBytes:
      FillFromInput(picture.image, input);
      break;
    case Pattern::kGradient:
      FillGradient(picture.image, input);
      break;
  }
  return picture;
}

}  // namespace rasqet::fuzz
