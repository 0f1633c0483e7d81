// The command line of rasqet-encode.
#ifndef RASQET_TOOLS_ENCODEOPTIONS_H
#define RASQET_TOOLS_ENCODEOPTIONS_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace rasqet {

enum class OutputFormat { kBmp, kJpeg, kPng };

struct SamplingFactor {
  std::uint32_t horizontal = 1;
  std::uint32_t vertical = 1;
};

struct ScanEntry {
  std::uint32_t componentMask = 0;
  std::uint32_t spectralEnd = 0;
  std::uint32_t successiveApproximation = 0;
};

struct EncodeOptions {
  std::string input;  // empty with --sample
  std::string output;
  OutputFormat format = OutputFormat::kBmp;
  bool sample = false;  // encode the built-in sample raster instead of INPUT
  bool progress = false;

  // BMP
  std::int32_t bmpBits = 24;
  bool alpha = true;

  // JPEG
  bool qualitySet = false;
  std::uint32_t quality = 75;
  bool grayscale = false;
  bool progressive = false;
  std::uint32_t restartRows = 0;
  bool samplingSet = false;
  SamplingFactor sampling[3];  // Y, Cb, Cr
  bool commentSet = false;
  std::string comment;
  std::vector<ScanEntry> scans;

  // PNG
  std::int32_t pngLevel = 9;
};

// A command line that cannot be understood; its text says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

EncodeOptions ParseEncodeOptions(const std::vector<std::string>& args);
extern const char kEncodeUsage[];

}  // namespace rasqet

#endif
