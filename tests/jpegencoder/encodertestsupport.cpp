#include "encodertestsupport.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/memoryoutputstream.h"

namespace rasqet::test {

using Quorvante::RasterImage;

std::vector<std::uint8_t> EncodeToMemory(Quorvante::JpegEncoder& encoder,
                                         const RasterImage& image) {
  Quorvante::MemoryOutputStream stream(1000);  // small, so that flushes happen mid-scan
  encoder.WriteImage(stream, image);
  return stream.Bytes();
}

RasterImage MakeTestPicture(std::int32_t width, std::int32_t height) {
  RasterImage image(width, height, 0);
  const double w = std::max(width - 1, 1);
  const double h = std::max(height - 1, 1);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      auto red = static_cast<std::uint8_t>(20 + 215 * x / w);
      auto green = static_cast<std::uint8_t>(230 - 200 * y / h);
      auto blue = static_cast<std::uint8_t>(128 + 90 * std::sin((x + 2.0 * y) * 0.07));
      if (x >= width / 8 && x < width / 3 && y >= height / 10 && y < height / 4) {
        red = 240;
        green = 60;
        blue = 200;
      }
      *image.PixelAt(y * width + x) = Quorvante::MakePixel(red, green, blue, 0x5A);
    }
  }
  return image;
}

RasterImage MakeNoisePicture(std::int32_t width, std::int32_t height, std::uint32_t seed) {
  RasterImage image(width, height, 0);
  std::uint32_t state = seed;
  for (std::int32_t i = 0; i < width * height; ++i) {
    state = state * 1664525u + 1013904223u;
    *image.PixelAt(i) = state;
  }
  return image;
}

std::vector<Segment> SplitSegments(const std::vector<std::uint8_t>& bytes) {
  std::vector<Segment> segments;
  std::size_t i = 0;
  auto need = [&](std::size_t count) {
    if (i + count > bytes.size()) throw std::runtime_error("file ends inside a segment");
  };
  while (i < bytes.size()) {
    need(2);
    if (bytes[i] != 0xFF) throw std::runtime_error("no marker where one belongs");
    Segment segment;
    segment.marker = bytes[i + 1];
    i += 2;
    const bool standalone = segment.marker == 0xD8 || segment.marker == 0xD9;
    if (!standalone) {
      need(2);
      const std::size_t length = static_cast<std::size_t>(bytes[i] << 8 | bytes[i + 1]);
      need(length);
      segment.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(i + 2),
                             bytes.begin() + static_cast<std::ptrdiff_t>(i + length));
      i += length;
    }
    segments.push_back(segment);
    if (segment.marker != 0xDA) continue;
    // Entropy-coded data up to the next marker that is neither stuffing nor a restart.
    std::size_t start = i;
    auto flushData = [&](std::size_t end) {
      if (end == start) return;
      Segment data;
      data.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                          bytes.begin() + static_cast<std::ptrdiff_t>(end));
      segments.push_back(data);
    };
    while (i < bytes.size()) {
      if (bytes[i] != 0xFF) {
        ++i;
        continue;
      }
      need(2);
      const std::uint8_t next = bytes[i + 1];
      if (next == 0x00) {
        i += 2;
      } else if (next >= 0xD0 && next <= 0xD7) {
        flushData(i);
        Segment restart;
        restart.marker = next;
        segments.push_back(restart);
        i += 2;
        start = i;
      } else {
        break;
      }
    }
    flushData(i);
  }
  return segments;
}

std::vector<std::uint8_t> MarkerSequence(const std::vector<Segment>& segments) {
  std::vector<std::uint8_t> markers;
  for (const Segment& s : segments) markers.push_back(s.marker);
  return markers;
}

namespace {

// The conversion written out from the decimal weights (times 4096, truncated).
std::uint8_t Convert(Quorvante::Pixel p, int componentId) {
  const int r = Quorvante::PixelRed(p), g = Quorvante::PixelGreen(p), b = Quorvante::PixelBlue(p);
  auto w = [](double weight) { return static_cast<int>(weight * 4096); };
  int sum;
  if (componentId == 1) {
    sum = w(0.299) * r + w(0.587) * g + w(0.114) * b + 2048;
  } else if (componentId == 2) {
    sum = -w(0.1687) * r - w(0.3313) * g + w(0.5) * b + 128 * 4096 + 2048;
  } else {
    sum = w(0.5) * r - w(0.4187) * g - w(0.0813) * b + 128 * 4096 + 2048;
  }
  return static_cast<std::uint8_t>(std::clamp(sum >> 12, 0, 255));
}

}  // namespace

ExpectedComponent ExpectedDataUnits(const RasterImage& image, std::uint32_t quality,
                                    int componentId, const Sampling (&sampling)[3],
                                    bool grayscale) {
  const int width = image.Width();
  const int height = image.Height();
  Quorvante::JpegQuantizationTable table;
  if (componentId == 1) {
    table.LoadLuminanceValues(quality);
  } else {
    table.LoadChrominanceValues(quality);
  }
  table.BuildScaledReciprocals();

  int hRatio = 1, vRatio = 1;
  int componentWidth = width, componentHeight = height;
  if (!grayscale) {
    std::uint32_t maxH = 1, maxV = 1;
    for (const Sampling& s : sampling) {
      maxH = std::max(maxH, s.horizontal);
      maxV = std::max(maxV, s.vertical);
    }
    const Sampling& own = sampling[componentId - 1];
    hRatio = static_cast<int>(maxH / own.horizontal);
    vRatio = static_cast<int>(maxV / own.vertical);
    componentWidth = static_cast<int>((width * own.horizontal + maxH - 1) / maxH);
    componentHeight = static_cast<int>((height * own.vertical + maxV - 1) / maxV);
  }
  // Colour planes repeat the last column and row; grayscale pads with the level 128.
  auto sampleAt = [&](int cx, int cy) -> std::uint8_t {
    if (grayscale) {
      if (cx >= width || cy >= height) return 128;
      return Convert(*image.PixelAt(cy * width + cx), 1);
    }
    unsigned sum = 0;
    for (int dy = 0; dy < vRatio; ++dy) {
      for (int dx = 0; dx < hRatio; ++dx) {
        const int x = std::min(cx * hRatio + dx, width - 1);
        const int y = std::min(cy * vRatio + dy, height - 1);
        sum += Convert(*image.PixelAt(y * width + x), componentId);
      }
    }
    return static_cast<std::uint8_t>(sum / static_cast<unsigned>(hRatio * vRatio));
  };

  ExpectedComponent expected;
  expected.blocksWide = (componentWidth + 7) / 8;
  expected.blocksHigh = (componentHeight + 7) / 8;
  for (int row = 0; row < expected.blocksHigh; ++row) {
    for (int column = 0; column < expected.blocksWide; ++column) {
      Quorvante::SampleBlock block;
      for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) block[8 * r + c] = sampleAt(8 * column + c, 8 * row + r);
      }
      std::array<std::int16_t, 64> unit;
      Quorvante::ForwardDct(block, table, unit.data());
      expected.blocks.push_back(unit);
    }
  }
  return expected;
}

double ChannelPsnr(const RasterImage& image, const std::vector<std::uint8_t>& rgb, int channel) {
  double sum = 0;
  const int count = image.Width() * image.Height();
  for (int i = 0; i < count; ++i) {
    const Quorvante::Pixel p = *image.PixelAt(i);
    const int original = channel == 0   ? Quorvante::PixelRed(p)
                         : channel == 1 ? Quorvante::PixelGreen(p)
                                        : Quorvante::PixelBlue(p);
    const double d = original - rgb[static_cast<std::size_t>(3 * i + channel)];
    sum += d * d;
  }
  const double mse = sum / count;
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace rasqet::test
