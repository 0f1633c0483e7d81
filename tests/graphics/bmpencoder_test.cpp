// BMP files: header fields, row order and stride per bit depth, progress and cancel, errors;
// the files are also read back with Pillow, an independent decoder.
#include "Graphics/bmpencoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "Graphics/rasterimage.h"
#include "commandrunner.h"
#include "testfiles.h"

namespace Quorvante {
namespace {

using rasqet::test::ReadFileBytes;
using rasqet::test::RunCommand;
using rasqet::test::ScratchFile;
using rasqet::test::ShellQuote;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t Le16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Distinct values in every channel and position, so flips and swaps show.
RasterImage Asymmetric(std::int32_t width, std::int32_t height) {
  RasterImage image(width, height, 0);
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      *image.PixelAt(r * width + c) = MakePixel(
          static_cast<std::uint8_t>(40 * r + 8 * c + 16), static_cast<std::uint8_t>(200 - 24 * c),
          static_cast<std::uint8_t>(10 + 50 * r), static_cast<std::uint8_t>(r * 16 + c));
    }
  }
  return image;
}

Bytes Encode(const RasterImage& image, int bits, bool alpha = true) {
  BmpEncoder encoder;
  encoder.SetBitsPerPixel(bits);
  encoder.SetAlphaChannel(alpha);
  std::ostringstream out;
  encoder.WriteImage(out, image);
  const std::string s = out.str();
  return Bytes(s.begin(), s.end());
}

struct LayoutCase {
  int bits;
  std::int32_t width, height;
  std::uint32_t fileSize, dataOffset, headerSize, stride;
  std::int32_t heightField;
  std::uint32_t compression;
};

TEST(BmpEncoder, HeaderLayoutTable) {
  const LayoutCase cases[] = {
      {24, 1, 1, 58, 54, 40, 4, 1, 0},     {24, 3, 2, 78, 54, 40, 12, 2, 0},
      {24, 4, 1, 66, 54, 40, 12, 1, 0},    {16, 3, 2, 138, 122, 108, 8, 2 * -1, 3},
      {16, 2, 1, 126, 122, 108, 4, -1, 3}, {32, 2, 2, 138, 122, 108, 8, -2, 3},
      {32, 1, 3, 134, 122, 108, 4, -3, 3},
  };
  for (const LayoutCase& c : cases) {
    const Bytes file = Encode(Asymmetric(c.width, c.height), c.bits);
    SCOPED_TRACE(testing::Message() << c.bits << " bits " << c.width << "x" << c.height);
    ASSERT_EQ(file.size(), c.fileSize);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), c.fileSize);
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), c.dataOffset);
    EXPECT_EQ(Le32(file, 14), c.headerSize);
    EXPECT_EQ(Le32(file, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(static_cast<std::int32_t>(Le32(file, 22)), c.heightField);
    EXPECT_EQ(Le16(file, 26), 1);
    EXPECT_EQ(Le16(file, 28), c.bits);
    EXPECT_EQ(Le32(file, 30), c.compression);
    for (std::size_t at = 34; at < 54; at += 4) EXPECT_EQ(Le32(file, at), 0u) << at;
    EXPECT_EQ(c.fileSize - c.dataOffset, c.stride * static_cast<std::uint32_t>(c.height));
  }
}

TEST(BmpEncoder, BitFieldMasks) {
  struct Case {
    int bits;
    bool alpha;
    std::uint32_t red, green, blue, alphaMask;
  } cases[] = {
      {16, true, 0x7C00, 0x03E0, 0x001F, 0xFF000000},
      {16, false, 0x7C00, 0x03E0, 0x001F, 0},
      {32, true, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
      {32, false, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},
  };
  for (const Case& c : cases) {
    const Bytes file = Encode(Asymmetric(2, 2), c.bits, c.alpha);
    SCOPED_TRACE(testing::Message() << c.bits << " alpha " << c.alpha);
    EXPECT_EQ(Le32(file, 54), c.red);
    EXPECT_EQ(Le32(file, 58), c.green);
    EXPECT_EQ(Le32(file, 62), c.blue);
    EXPECT_EQ(Le32(file, 66), c.alphaMask);
    for (std::size_t at = 70; at < 122; at += 4) EXPECT_EQ(Le32(file, at), 0u) << at;
  }
}

TEST(BmpEncoder, PixelRowsAndFill) {
  const RasterImage image = Asymmetric(3, 2);
  auto pixel = [&](int r, int c) { return *image.PixelAt(r * 3 + c); };

  const Bytes b24 = Encode(image, 24);  // bottom row first, BGR, 3 fill bytes
  for (int fileRow = 0; fileRow < 2; ++fileRow) {
    const int r = 1 - fileRow;
    const std::size_t row = 54 + 12 * fileRow;
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(b24[row + 3 * c], PixelBlue(pixel(r, c)));
      EXPECT_EQ(b24[row + 3 * c + 1], PixelGreen(pixel(r, c)));
      EXPECT_EQ(b24[row + 3 * c + 2], PixelRed(pixel(r, c)));
    }
    EXPECT_EQ(Bytes(b24.begin() + row + 9, b24.begin() + row + 12), Bytes(3, 0));
  }

  const Bytes b16 = Encode(image, 16);  // top row first, 5-5-5, 2 fill bytes
  for (int r = 0; r < 2; ++r) {
    const std::size_t row = 122 + 8 * r;
    for (int c = 0; c < 3; ++c) {
      const Pixel p = pixel(r, c);
      EXPECT_EQ(Le16(b16, row + 2 * c),
                (PixelBlue(p) >> 3) | (PixelGreen(p) >> 3) << 5 | (PixelRed(p) >> 3) << 10);
    }
    EXPECT_EQ(Le16(b16, row + 6), 0);
  }

  const Bytes b32 = Encode(image, 32);  // the raster unchanged, alpha included
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Le32(b32, 122 + 4 * i), *image.PixelAt(i)) << i;
}

TEST(BmpEncoder, PureRed) {
  const RasterImage red(1, 1, MakePixel(255, 0, 0));
  EXPECT_EQ(Le16(Encode(red, 16), 122), 0x7C00);
  const Bytes b24 = Encode(red, 24);
  EXPECT_EQ(Bytes(b24.begin() + 54, b24.end()), (Bytes{0, 0, 255, 0}));
}

TEST(BmpEncoder, SettingsAndBitDepthErrors) {
  BmpEncoder encoder;
  EXPECT_EQ(encoder.GetBitsPerPixel(), 24);
  EXPECT_TRUE(encoder.GetAlphaChannel());
  for (int bad : {0, 1, 8, 15, 25, 64, -24}) {
    try {
      encoder.SetBitsPerPixel(bad);
      FAIL() << bad;
    } catch (const BmpEncoder::BmpError& e) {
      EXPECT_STREQ(e.what(), "Invalid Bit Depth");
    }
    EXPECT_EQ(encoder.GetBitsPerPixel(), 24);
  }
  std::ostringstream out;
  encoder.WriteImage(out, RasterImage(1, 1, 0));
  EXPECT_EQ(out.str().size(), 58u);  // still 24 bits
}

TEST(BmpEncoder, EmptyImageWritesNothing) {
  BmpEncoder encoder;
  for (const RasterImage& image : {RasterImage(), RasterImage(0, 5, 0), RasterImage(5, 0, 0)}) {
    std::ostringstream out;
    try {
      encoder.WriteImage(out, image);
      FAIL();
    } catch (const BmpEncoder::BmpError& e) {
      EXPECT_STREQ(e.what(), "Empty Image");
    }
    EXPECT_TRUE(out.str().empty());
  }
}

struct ProgressLog {
  std::vector<std::uint32_t> reports;
  int cancelAt = -1;  // index of the report that cancels
};

void Record(ImageCoder&, std::uintptr_t data, std::uint32_t pass, std::uint32_t passCount,
            std::uint32_t progress, bool& cancel) {
  auto* log = reinterpret_cast<ProgressLog*>(data);
  EXPECT_EQ(pass, 1u);
  EXPECT_EQ(passCount, 1u);
  EXPECT_FALSE(cancel);
  if (static_cast<int>(log->reports.size()) == log->cancelAt) cancel = true;
  log->reports.push_back(progress);
}

TEST(BmpEncoder, ProgressSequences) {
  struct Case {
    int bits;
    std::vector<std::uint32_t> expected;
  } cases[] = {
      {24, {0, 75, 50, 25, 0, 100}},
      {16, {0, 0, 25, 50, 75, 100}},
      {32, {0, 100}},
  };
  for (const Case& c : cases) {
    ProgressLog log;
    BmpEncoder encoder;
    encoder.SetBitsPerPixel(c.bits);
    encoder.SetProgressFunction(Record, reinterpret_cast<std::uintptr_t>(&log));
    std::ostringstream out;
    encoder.WriteImage(out, Asymmetric(3, 4));
    EXPECT_EQ(log.reports, c.expected) << c.bits;
  }
}

TEST(BmpEncoder, CancelKeepsTheBytesWrittenSoFar) {
  const std::string name = ScratchFile("cancel.bmp");
  ProgressLog log;
  log.cancelAt = 2;  // after the second of four rows
  BmpEncoder encoder;
  encoder.SetProgressFunction(Record, reinterpret_cast<std::uintptr_t>(&log));
  EXPECT_THROW(encoder.WriteImageFile(name, Asymmetric(3, 4)), GraphicsAbort);
  EXPECT_EQ(ReadFileBytes(name).size(), 54u + 2 * 12);
}

TEST(BmpEncoder, FileErrors) {
  BmpEncoder encoder;
  const std::string missing = ScratchFile("no-such-dir/out.bmp");
  try {
    encoder.WriteImageFile(missing, RasterImage(1, 1, 0));
    FAIL();
  } catch (const BmpEncoder::BmpError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot Open Input File " + missing);
  }
  // An empty image still creates (truncates) the file.
  const std::string empty = ScratchFile("empty.bmp");
  EXPECT_THROW(encoder.WriteImageFile(empty, RasterImage()), BmpEncoder::BmpError);
  EXPECT_TRUE(std::filesystem::exists(empty));
  EXPECT_EQ(std::filesystem::file_size(empty), 0u);
}

// A full disk must not be reported as success, small file or large.
TEST(BmpEncoder, FullDiskIsAnError) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  for (std::int32_t size : {1, 700}) {
    for (int bits : {16, 24, 32}) {
      BmpEncoder encoder;
      encoder.SetBitsPerPixel(bits);
      try {
        encoder.WriteImageFile("/dev/full", RasterImage(size, size, 0));
        FAIL() << bits << " bits " << size;
      } catch (const BmpEncoder::BmpError& e) {
        EXPECT_STREQ(e.what(), "Cannot Write Output File");
      }
    }
  }
}

// Pillow reads our files back to the same pixels (16-bit to 5 bits a channel).
TEST(BmpEncoder, PillowDecodesEveryDepth) {
  const RasterImage image = Asymmetric(5, 3);
  for (int bits : {16, 24, 32}) {
    const std::string name = ScratchFile("pillow" + std::to_string(bits) + ".bmp");
    BmpEncoder encoder;
    encoder.SetBitsPerPixel(bits);
    encoder.WriteImageFile(name, image);
    const auto result =
        RunCommand(std::string(PYTHON3) + " " + ShellQuote(PILLOW_DUMP) + " " + ShellQuote(name));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::istringstream lines(result.output);
    int width = 0, height = 0;
    std::string mode;
    lines >> width >> height >> mode;
    ASSERT_EQ(width, 5);
    ASSERT_EQ(height, 3);
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 5; ++c) {
        std::string hex;
        lines >> hex;
        const Pixel p = *image.PixelAt(r * 5 + c);
        const std::uint32_t got = std::stoul(hex.substr(0, 6), nullptr, 16);
        std::uint32_t want = PixelRed(p) << 16 | PixelGreen(p) << 8 | PixelBlue(p);
        std::uint32_t mask = 0xFFFFFF;
        if (bits == 16) mask = 0xF8F8F8;  // 5 bits a channel; decoders widen them differently
        EXPECT_EQ(got & mask, want & mask)
            << bits << " bits, row " << r << " column " << c << " mode " << mode;
        if (bits == 32) {
          ASSERT_EQ(hex.size(), 8u) << mode;
          EXPECT_EQ(std::stoul(hex.substr(6), nullptr, 16), PixelAlpha(p));
        }
      }
    }
  }
}

}  // namespace
}  // namespace Quorvante
