#include "Graphics/bmpencoder.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "Graphics/rasterimage.h"

namespace Quorvante {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER, 24 bits
constexpr std::uint32_t kV4HeaderSize = 108;   // BITMAPV4HEADER with masks, 16 and 32 bits
constexpr std::uint32_t kBitFieldsCompression = 3;
constexpr std::size_t kStreamBufferSize = 1 << 18;
const char kCannotWrite[] = "Cannot Write Output File";

// Little-endian stores into a header image, whatever the host's byte order.
void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value & 0xFFFF);
  Put16(at + 2, value >> 16);
}

struct BitMasks {
  std::uint32_t red, green, blue;
};

std::uint32_t RowPercent(std::uint32_t row, std::uint32_t height) {
  return static_cast<std::uint32_t>(std::uint64_t{row} * 100 / height);
}

}  // namespace

void BmpEncoder::SetBitsPerPixel(std::int32_t bits) {
  if (bits != 16 && bits != 24 && bits != 32) throw BmpError("Invalid Bit Depth");
  bitsPerPixel = bits;
}

void BmpEncoder::WriteImageFile(const std::string& fileName, const RasterImage& image) {
  // Rows are small writes; a large stream buffer turns them into large file writes.
  std::vector<char> streamBuffer(kStreamBufferSize);
  std::ofstream stream;
  stream.rdbuf()->pubsetbuf(streamBuffer.data(), static_cast<std::streamsize>(streamBuffer.size()));
  stream.open(fileName, std::ios::out | std::ios::trunc | std::ios::binary);
  if (stream.fail()) throw BmpError("Cannot Open Input File " + fileName);
  WriteImage(stream, image);
  stream.close();
  if (stream.fail()) throw BmpError(kCannotWrite);
}

void BmpEncoder::WriteImage(std::ostream& stream, const RasterImage& image) {
  if (image.Width() == 0 || image.Height() == 0) throw BmpError("Empty Image");
  const auto width = static_cast<std::uint32_t>(image.Width());
  const auto height = static_cast<std::uint32_t>(image.Height());
  const std::uint32_t bytesPerPixel = static_cast<std::uint32_t>(bitsPerPixel) / 8;
  const std::uint32_t stride = (width * bytesPerPixel + 3) & ~3u;
  const std::uint32_t headerSize = bitsPerPixel == 24 ? kInfoHeaderSize : kV4HeaderSize;

  std::uint8_t header[kFileHeaderSize + kV4HeaderSize] = {};
  Put16(header + 0, 0x4D42);  // "BM"
  Put32(header + 2, height * stride + headerSize + kFileHeaderSize);
  Put32(header + 10, kFileHeaderSize + headerSize);
  std::uint8_t* info = header + kFileHeaderSize;
  Put32(info + 0, headerSize);
  Put32(info + 4, width);
  Put16(info + 12, 1);  // planes
  Put16(info + 14, static_cast<std::uint32_t>(bitsPerPixel));
  if (bitsPerPixel == 24) {
    Put32(info + 8, height);  // positive: bottom row first
  } else {
    Put32(info + 8,
          static_cast<std::uint32_t>(-static_cast<std::int32_t>(height)));  // top row first
    Put32(info + 16, kBitFieldsCompression);
    const BitMasks masks = bitsPerPixel == 16 ? BitMasks{0x7C00, 0x03E0, 0x001F}
                                              : BitMasks{0x00FF0000, 0x0000FF00, 0x000000FF};
    Put32(info + 40, masks.red);
    Put32(info + 44, masks.green);
    Put32(info + 48, masks.blue);
    Put32(info + 52, alphaChannel ? 0xFF000000u : 0u);
  }
  stream.write(reinterpret_cast<const char*>(header), kFileHeaderSize);
  stream.write(reinterpret_cast<const char*>(info), headerSize);

  ReportProgress(0);
  switch (bitsPerPixel) {
    case 16:
      WriteRows16(stream, image, stride);
      break;
    case 24:
      WriteRows24(stream, image, stride);
      break;
    default:  // 32: the raster's layout is the file's
      stream.write(reinterpret_cast<const char*>(image.Pixels()),
                   static_cast<std::streamsize>(width) * height * 4);
      break;
  }
  ReportProgress(100);
  if (stream.fail()) throw BmpError(kCannotWrite);
}

// Top row first, 5 bits a channel; each row goes out as one block with its fill bytes.
void BmpEncoder::WriteRows16(std::ostream& stream, const RasterImage& image, std::uint32_t stride) {
  const auto width = static_cast<std::uint32_t>(image.Width());
  const auto height = static_cast<std::uint32_t>(image.Height());
  std::vector<std::uint8_t> row(stride, 0);
  for (std::uint32_t r = 0; r < height; ++r) {
    const Pixel* source = image.PixelAt(static_cast<std::int32_t>(r * width));
    std::uint8_t* out = row.data();
    for (std::uint32_t c = 0; c < width; ++c, out += 2) {
      const Pixel p = source[c];
      Put16(out, (PixelBlue(p) >> 3u) | (PixelGreen(p) >> 3u) << 5 | (PixelRed(p) >> 3u) << 10);
    }
    stream.write(reinterpret_cast<const char*>(row.data()), stride);
    ReportProgress(RowPercent(r, height));
  }
}

// Bottom row first, blue, green, red; each row goes out as one block with its fill bytes.
void BmpEncoder::WriteRows24(std::ostream& stream, const RasterImage& image, std::uint32_t stride) {
  const auto width = static_cast<std::uint32_t>(image.Width());
  const auto height = static_cast<std::uint32_t>(image.Height());
  // One spare byte: each pixel is copied whole (blue, green, red, alpha in memory order) and
  // the next pixel overwrites its alpha byte.
  std::vector<std::uint8_t> row(stride + 1, 0);
  for (std::uint32_t r = height; r-- > 0;) {
    const Pixel* source = image.PixelAt(static_cast<std::int32_t>(r * width));
    std::uint8_t* out = row.data();
    for (std::uint32_t c = 0; c < width; ++c, out += 3) std::memcpy(out, source + c, 4);
    std::memset(out, 0, stride - 3 * width);  // fill bytes, over the last alpha byte
    stream.write(reinterpret_cast<const char*>(row.data()), stride);
    ReportProgress(RowPercent(r, height));
  }
}

}  // namespace Quorvante
