#include "Graphics/rasterimage.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace Quorvante {

namespace {

// The pixel count must fit the 32-bit count field and its byte size the address space.
std::int32_t CheckedPixelCount(std::int32_t width, std::int32_t height) {
  if (width < 0 || height < 0) throw std::length_error("RasterImage: negative size");
  const std::uint64_t count =
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  const std::uint64_t maxBytes = std::numeric_limits<std::ptrdiff_t>::max();
  if (count > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) ||
      count > maxBytes / sizeof(Pixel)) {
    throw std::length_error("RasterImage: size too large");
  }
  return static_cast<std::int32_t>(count);
}

}  // namespace

RasterImage::RasterImage(std::int32_t width_, std::int32_t height_, Pixel fill) {
  SetSize(width_, height_);
  std::fill(pixels, pixels + pixelCount, fill);
}

RasterImage::RasterImage(const RasterImage& other) {
  CopyFrom(other);
}

RasterImage& RasterImage::operator=(const RasterImage& other) {
  if (this != &other) {
    Clear();
    CopyFrom(other);
  }
  return *this;
}

RasterImage::RasterImage(RasterImage&& other) noexcept {
  TakeFrom(other);
}

RasterImage& RasterImage::operator=(RasterImage&& other) noexcept {
  if (this != &other) {
    Clear();
    TakeFrom(other);
  }
  return *this;
}

RasterImage::~RasterImage() {
  delete[] pixels;
}

void RasterImage::SetSize(std::int32_t width_, std::int32_t height_) {
  const std::int32_t count = CheckedPixelCount(width_, height_);
  delete[] pixels;
  pixels = nullptr;
  width = height = pixelCount = 0;
  pixels = new Pixel[static_cast<std::size_t>(count)]();
  width = width_;
  height = height_;
  pixelCount = count;
}

void RasterImage::Clear() {
  delete[] pixels;
  pixels = nullptr;
  width = height = pixelCount = 0;
}

void RasterImage::CopyFrom(const RasterImage& other) {
  if (other.pixels == nullptr) return;
  const std::size_t count = static_cast<std::size_t>(other.width) * other.height;
  pixels = new Pixel[count];
  std::memcpy(pixels, other.pixels, count * sizeof(Pixel));
  width = other.width;
  height = other.height;
  pixelCount = other.pixelCount;
}

void RasterImage::TakeFrom(RasterImage& other) noexcept {
  width = other.width;
  height = other.height;
  pixelCount = other.pixelCount;
  pixels = other.pixels;
  other.width = other.height = other.pixelCount = 0;
  other.pixels = nullptr;
}

}  // namespace Quorvante
