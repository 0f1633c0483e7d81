#include "tools/encodeoptions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace rasqet {

const char kEncodeUsage[] =
    "usage: rasqet-encode [options] INPUT OUTPUT\n"
    "       rasqet-encode [options] --sample OUTPUT\n"
    "  INPUT   binary PPM (P6) or PGM (P5), maxval 255\n"
    "  OUTPUT  .bmp, .jpg/.jpeg or .png, chosen by its extension\n"
    "  --sample              encode the built-in sample picture instead of INPUT\n"
    "  --bmp-bits 16|24|32   BMP bits per pixel (default 24)\n"
    "  --no-alpha            no alpha mask in 16- and 32-bit BMP headers\n"
    "  -q N, --quality N     JPEG quality 1..100 (default 75)\n"
    "  --grayscale           JPEG luminance only\n"
    "  --progressive         progressive JPEG\n"
    "  --restart-rows N      MCU rows between restart markers\n"
    "  --sampling HxV,HxV,HxV  sampling factors of Y, Cb, Cr\n"
    "  --comment TEXT        JPEG comment segment\n"
    "  --scan MASK:END:SA    scan entry (repeatable; replaces the whole plan)\n"
    "  --png-level N         PNG compression level -1, 1..9 (default 9)\n"
    "  --progress            print progress reports to stderr\n";

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A whole decimal number (an optional leading minus where allowed), or a usage error.
long long ParseNumber(const std::string& text, const std::string& option,
                      bool allowNegative = false) {
  if (text.empty()) throw UsageError(option + " needs a number");
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0' || (!allowNegative && (value < 0 || text[0] == '-'))) {
    throw UsageError(option + ": '" + text + "' is not a valid number");
  }
  return value;
}

std::uint32_t ParseUnsigned(const std::string& text, const std::string& option) {
  const long long value = ParseNumber(text, option);
  if (value > 0xFFFFFFFFLL) throw UsageError(option + ": '" + text + "' is too large");
  return static_cast<std::uint32_t>(value);
}

OutputFormat FormatOf(const std::string& fileName) {
  const auto dot = fileName.find_last_of('.');
  const std::string ext = dot == std::string::npos ? "" : Lower(fileName.substr(dot));
  if (ext == ".bmp") return OutputFormat::kBmp;
  if (ext == ".jpg" || ext == ".jpeg") return OutputFormat::kJpeg;
  if (ext == ".png") return OutputFormat::kPng;
  throw UsageError("cannot tell the format of '" + fileName + "': use .bmp, .jpg, .jpeg or .png");
}

// "HxV,HxV,HxV"
void ParseSampling(const std::string& text, SamplingFactor (&sampling)[3]) {
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t end = i < 2 ? text.find(',', at) : text.size();
    if (end == std::string::npos) throw UsageError("--sampling needs HxV,HxV,HxV");
    const std::string part = text.substr(at, end - at);
    const std::size_t x = part.find_first_of("xX");
    if (x == std::string::npos) throw UsageError("--sampling needs HxV,HxV,HxV");
    sampling[i].horizontal = ParseUnsigned(part.substr(0, x), "--sampling");
    sampling[i].vertical = ParseUnsigned(part.substr(x + 1), "--sampling");
    at = end + 1;
  }
}

// "MASK:END:SA"
ScanEntry ParseScan(const std::string& text) {
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
  if (second == std::string::npos) throw UsageError("--scan needs MASK:END:SA");
  ScanEntry scan;
  scan.componentMask = ParseUnsigned(text.substr(0, first), "--scan");
  scan.spectralEnd = ParseUnsigned(text.substr(first + 1, second - first - 1), "--scan");
  scan.successiveApproximation = ParseUnsigned(text.substr(second + 1), "--scan");
  return scan;
}

}  // namespace

EncodeOptions ParseEncodeOptions(const std::vector<std::string>& args) {
  EncodeOptions options;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--sample") {
      options.sample = true;
    } else if (arg == "--progress") {
      options.progress = true;
    } else if (arg == "--bmp-bits") {
      options.bmpBits = static_cast<std::int32_t>(ParseNumber(value(), arg));
    } else if (arg == "--no-alpha") {
      options.alpha = false;
    } else if (arg == "-q" || arg == "--quality") {
      options.quality = ParseUnsigned(value(), arg);
      options.qualitySet = true;
    } else if (arg == "--grayscale") {
      options.grayscale = true;
    } else if (arg == "--progressive") {
      options.progressive = true;
    } else if (arg == "--restart-rows") {
      options.restartRows = ParseUnsigned(value(), arg);
    } else if (arg == "--sampling") {
      ParseSampling(value(), options.sampling);
      options.samplingSet = true;
    } else if (arg == "--comment") {
      options.comment = value();
      options.commentSet = true;
    } else if (arg == "--scan") {
      options.scans.push_back(ParseScan(value()));
    } else if (arg == "--png-level") {
      options.pngLevel = static_cast<std::int32_t>(ParseNumber(value(), arg, true));
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  const std::size_t wanted = options.sample ? 1 : 2;
  if (files.size() != wanted) {
    throw UsageError(options.sample ? "--sample takes only OUTPUT" : "need INPUT and OUTPUT");
  }
  if (!options.sample) options.input = files[0];
  options.output = files.back();
  options.format = FormatOf(options.output);
  return options;
}

}  // namespace rasqet
