// Test support: reads JPEG data with libjpeg-turbo, an independent decoder, and fails loudly on
// anything the decoder finds wrong. Every libjpeg error and every corrupt-data warning, and
// bytes after the end-of-image marker, throw JpegCheckError with libjpeg's message.
#ifndef RASQET_JPEGTESTSUPPORT_H
#define RASQET_JPEGTESTSUPPORT_H

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace JpegSupport {

class JpegCheckError : public std::runtime_error {
 public:
  explicit JpegCheckError(const std::string& text) : std::runtime_error(text) {}
};

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  int components = 0;                // 1 (grey) or 3 (RGB)
  std::vector<std::uint8_t> pixels;  // rows top first, components interleaved, no padding
};

// Decodes to 8-bit grey or RGB with libjpeg's default (islow) transform and fancy upsampling.
DecodedJpeg DecodeJpegStrict(const std::vector<std::uint8_t>& bytes);

// Peak signal-to-noise ratio in dB of two sample arrays of equal size (throws JpegCheckError
// otherwise); 99 for identical arrays.
double PeakSignalToNoise(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b);

using CoefficientBlock = std::array<std::int16_t, 64>;  // natural order, 8 * v + u

struct ComponentCoefficients {
  int id = 0;
  int horizontalSampling = 0;
  int verticalSampling = 0;
  int quantizationTableNumber = 0;
  std::array<std::uint16_t, 64> quantizationValues{};  // natural order
  int blocksWide = 0;                                  // blocks the decoder keeps per row
  int blocksHigh = 0;
  std::vector<CoefficientBlock> blocks;  // row by row, blocksWide x blocksHigh

  const CoefficientBlock& Block(int row, int column) const {
    return blocks.at(static_cast<std::size_t>(row * blocksWide + column));
  }
};

struct JpegCoefficients {
  int width = 0;
  int height = 0;
  bool progressive = false;
  bool arithmetic = false;
  unsigned restartInterval = 0;  // the last restart interval the file defines, in MCUs
  int scanCount = 0;             // scans read
  bool jfif = false;             // a JFIF application segment was seen
  int jfifMajorVersion = 0;
  int jfifMinorVersion = 0;
  int densityUnit = 0;
  int xDensity = 0;
  int yDensity = 0;
  std::vector<std::string> comments;  // texts of the comment segments, in file order
  std::vector<ComponentCoefficients> components;
};

// Reads every scan with jpeg_read_coefficients: the quantized DCT coefficients as coded.
JpegCoefficients ReadJpegCoefficients(const std::vector<std::uint8_t>& bytes);

// One marker of a file, as its bytes lie: markers without a segment (SOI, EOI, RSTn) have no
// payload; entropyBytes counts the coded bytes after a scan header or a restart marker, up to
// the next marker other than a stuffed 0xFF 0x00.
struct JpegSegment {
  std::uint8_t marker = 0;            // the code byte after 0xFF
  std::size_t offset = 0;             // of the 0xFF
  std::vector<std::uint8_t> payload;  // the segment after its length field
  std::size_t entropyBytes = 0;
};

// Walks the marker structure on its own, without libjpeg, so tests can check segment order,
// lengths and contents. Throws JpegCheckError when the bytes do not follow the structure.
std::vector<JpegSegment> ListJpegSegments(const std::vector<std::uint8_t>& bytes);

}  // namespace JpegSupport

#endif
