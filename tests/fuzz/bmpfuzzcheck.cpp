#include "bmpfuzzcheck.h"

#include <sstream>
#include <string>
#include <vector>

#include "Graphics/bmpencoder.h"
#include "fuzzcheck.h"
#include "fuzzpictures.h"

namespace rasqet::fuzz {

namespace {

using Quorvante::BmpEncoder;
using Quorvante::Pixel;
using Quorvante::RasterImage;

constexpr std::uint32_t kNever = UINT32_MAX;

struct Case {
  PictureSize size;
  std::int32_t bits = 24;
  std::int32_t refusedBits = 0;  // non-zero: tried before bits, must be refused
  bool alpha = true;
  bool writeTwice = false;
  std::uint32_t cancelAt = kNever;
};

std::string Describe(const Case& c) {
  std::ostringstream text;
  text << " [" << c.size.width << "x" << c.size.height << " bits " << c.bits << " alpha "
       << c.alpha;
  if (c.refusedBits != 0) text << " refused bits " << c.refusedBits;
  if (c.cancelAt != kNever) text << " cancel at " << c.cancelAt;
  text << "]";
  return text.str();
}

Case ReadCase(ByteReader& input) {
  static const std::int32_t kBits[3] = {16, 24, 32};
  static const std::int32_t kRefused[6] = {1, 8, 15, -24, 33, 64};
  Case c;
  const std::uint8_t flags = input.Byte();
  c.bits = kBits[(flags & 3) % 3];
  if ((flags & 3) == 3) c.refusedBits = kRefused[input.Byte() % 6];
  c.alpha = flags & 4;
  c.writeTwice = flags & 8;
  if (flags & 16) c.cancelAt = input.Byte() % 128;
  c.size = ReadPictureSize(input, flags & 32);
  return c;
}

struct ProgressLog {
  std::vector<std::uint32_t> percents;
  std::uint32_t cancelAt = kNever;
};

void Record(Quorvante::ImageCoder&, std::uintptr_t data, std::uint32_t pass, std::uint32_t count,
            std::uint32_t percent, bool& cancel) {
  auto& log = *reinterpret_cast<ProgressLog*>(data);
  // A pass other than 1 of 1 or a cancel flag that arrives set shows up as a wrong percent.
  log.percents.push_back(pass == 1 && count == 1 && !cancel ? percent : 999);
  if (log.percents.size() - 1 == log.cancelAt) cancel = true;
}

// 0, one report per row of 16 and 24 bits (rows in file order), then 100.
std::vector<std::uint32_t> ExpectedPercents(std::int32_t bits, std::uint32_t height) {
  std::vector<std::uint32_t> percents{0};
  for (std::uint32_t i = 0; bits != 32 && i < height; ++i) {
    const std::uint32_t row = bits == 24 ? height - 1 - i : i;
    percents.push_back(static_cast<std::uint32_t>(std::uint64_t{row} * 100 / height));
  }
  percents.push_back(100);
  return percents;
}

std::uint32_t Get16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}
std::uint32_t Get32(const std::string& b, std::size_t at) {
  return Get16(b, at) | Get16(b, at + 2) << 16;
}

void CheckFile(const Case& c, const RasterImage& image, const std::string& file) {
  const auto width = static_cast<std::uint32_t>(c.size.width);
  const auto height = static_cast<std::uint32_t>(c.size.height);
  const std::uint32_t bytesPerPixel = static_cast<std::uint32_t>(c.bits) / 8;
  const std::uint32_t stride = (width * bytesPerPixel + 3) & ~3u;
  const std::uint32_t headerSize = c.bits == 24 ? 40 : 108;
  const std::uint32_t offset = 14 + headerSize;
  Require(file.size() == offset + std::size_t{height} * stride,
          "file of " + std::to_string(file.size()) + " bytes");
  Require(file[0] == 'B' && file[1] == 'M', "no BM signature");
  Require(Get32(file, 2) == file.size(), "file size field");
  Require(Get32(file, 6) == 0, "reserved fields");
  Require(Get32(file, 10) == offset, "pixel data offset");
  Require(Get32(file, 14) == headerSize, "header size");
  Require(Get32(file, 18) == width, "width field");
  const std::uint32_t heightField = c.bits == 24 ? height : 0u - height;
  Require(Get32(file, 22) == heightField, "height field");
  Require(Get16(file, 26) == 1, "planes");
  Require(Get16(file, 28) == static_cast<std::uint32_t>(c.bits), "bits per pixel field");
  Require(Get32(file, 30) == (c.bits == 24 ? 0u : 3u), "compression field");
  for (std::uint32_t at = 34; at < 54; at += 4) Require(Get32(file, at) == 0, "zero fields");
  if (c.bits != 24) {
    const bool sixteen = c.bits == 16;
    Require(Get32(file, 54) == (sixteen ? 0x7C00u : 0xFF0000u), "red mask");
    Require(Get32(file, 58) == (sixteen ? 0x03E0u : 0xFF00u), "green mask");
    Require(Get32(file, 62) == (sixteen ? 0x001Fu : 0xFFu), "blue mask");
    Require(Get32(file, 66) == (c.alpha ? 0xFF000000u : 0u), "alpha mask");
    for (std::uint32_t at = 70; at < 122; at += 4) Require(Get32(file, at) == 0, "zero fields");
  }
  for (std::uint32_t r = 0; r < height; ++r) {
    const std::uint32_t imageRow = c.bits == 24 ? height - 1 - r : r;
    const std::size_t rowStart = offset + std::size_t{r} * stride;
    for (std::uint32_t x = 0; x < width; ++x) {
      const Pixel p = *image.PixelAt(static_cast<std::int32_t>(imageRow * width + x));
      const std::size_t at = rowStart + std::size_t{x} * bytesPerPixel;
      bool same;
      if (c.bits == 32) {
        same = Get32(file, at) == p;
      } else if (c.bits == 24) {
        same = Get16(file, at) == (p & 0xFFFF) &&
               static_cast<std::uint8_t>(file[at + 2]) == Quorvante::PixelRed(p);
      } else {
        const std::uint32_t packed = Quorvante::PixelBlue(p) >> 3u |
                                     (Quorvante::PixelGreen(p) >> 3u) << 5 |
                                     (Quorvante::PixelRed(p) >> 3u) << 10;
        same = Get16(file, at) == packed;
      }
      Require(same, "pixel " + std::to_string(x) + "," + std::to_string(imageRow));
    }
    for (std::size_t at = rowStart + width * bytesPerPixel; at < rowStart + stride; ++at) {
      Require(file[at] == 0, "fill byte in file row " + std::to_string(r));
    }
  }
}

enum class Ending { kFile, kError, kCancelled };

Ending Write(BmpEncoder& encoder, const RasterImage& image, std::string& file, std::string& text) {
  std::ostringstream stream(std::ios::out | std::ios::binary);
  Ending ending = Ending::kFile;
  try {
    encoder.WriteImage(stream, image);
  } catch (const BmpEncoder::BmpError& error) {
    ending = Ending::kError;
    text = error.what();
  } catch (const Quorvante::GraphicsAbort&) {
    ending = Ending::kCancelled;
  } catch (const std::exception& error) {
    throw CheckFailure(std::string("unexpected exception: ") + error.what());
  }
  file = stream.str();
  return ending;
}

CaseOutcome CheckCase(const Case& c, const Picture& picture) {
  BmpEncoder encoder;
  if (c.refusedBits != 0) {
    std::string text;
    try {
      encoder.SetBitsPerPixel(c.refusedBits);
    } catch (const BmpEncoder::BmpError& error) {
      text = error.what();
    }
    Require(text == "Invalid Bit Depth", "a refused bit depth gave \"" + text + "\"");
    Require(encoder.GetBitsPerPixel() == 24, "a refused bit depth changed the setting");
  }
  encoder.SetBitsPerPixel(c.bits);
  encoder.SetAlphaChannel(c.alpha);
  ProgressLog log;
  log.cancelAt = c.cancelAt;
  encoder.SetProgressFunction(Record, reinterpret_cast<std::uintptr_t>(&log));

  std::string file, text;
  Ending ending = Write(encoder, picture.image, file, text);
  if (c.size.width == 0 || c.size.height == 0) {
    Require(ending == Ending::kError && text == "Empty Image",
            "an empty image gave \"" + text + "\"");
    Require(file.empty() && log.percents.empty(), "bytes or progress before \"Empty Image\"");
    return CaseOutcome::kRefused;
  }
  Require(ending != Ending::kError, "the write stopped with \"" + text + "\"");
  const std::vector<std::uint32_t> percents =
      ExpectedPercents(c.bits, static_cast<std::uint32_t>(c.size.height));
  if (ending == Ending::kCancelled) {
    Require(log.percents.size() == std::size_t{c.cancelAt} + 1,
            "the write stopped without a cancel at report " + std::to_string(log.percents.size()));
    log = ProgressLog();
    ending = Write(encoder, picture.image, file, text);
    Require(ending == Ending::kFile, "the write after a cancel failed: " + text);
  } else {
    Require(c.cancelAt >= percents.size(), "a cancel did not stop the write");
  }
  Require(log.percents == percents, "progress reports differ from one per row");
  CheckFile(c, picture.image, file);
  if (c.writeTwice) {
    log = ProgressLog();
    std::string again;
    Require(Write(encoder, picture.image, again, text) == Ending::kFile && again == file,
            "a second write gave different bytes");
  }
  return CaseOutcome::kFile;
}

}  // namespace

CaseOutcome CheckBmpEncoderCase(const std::uint8_t* data, std::size_t size) {
  ByteReader input(data, size);
  const Case c = ReadCase(input);
  const Picture picture = ReadPicture(input, c.size);
  try {
    return CheckCase(c, picture);
  } catch (const CheckFailure& failure) {
    throw CheckFailure(failure.what() + Describe(c));
  }
}

}  // namespace rasqet::fuzz
