#include "jpegfuzzcheck.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/memoryoutputstream.h"
#include "fuzzcheck.h"
#include "fuzzpictures.h"
#include "jpegtestsupport.h"

namespace rasqet::fuzz {

namespace {

using Quorvante::JpegEncoder;
using Quorvante::RasterImage;

// Every text a write may stop with.
const char* const kWriteErrors[] = {
    "Empty Image",
    "Image Too Large",
    "Restart Interval Too Large",
    "Fractional Horizontal Sampling",
    "Fractional Vertical Sampling",
    "Scan contains no components",
    "Successive Approximation too large",
    "Multiple Components in AC Scan",
    "Duplicate Y Component Scan",
    "Duplicate Cb Component Scan",
    "Duplicate Cr Component Scan",
    "AC Scan specified before DC scan for Y Component",
    "AC Scan specified before DC scan for cb Component",
    "AC Scan specified before DC scan for Cr Component",
    "Duplicate or overlapping spectral selection for Y Component",
    "Duplicate or overlapping spectral selection for Cb Component",
    "Duplicate or overlapping spectral selection for Cr Component",
    "Y Component not completely defined by scans",
    "Cb Component not completely defined by scans",
    "Cr Component not completely defined by scans",
    "Not all components specified in scans",
    "Component in more than one scan",
    "Data units in MCU exceeds 10",
};

constexpr std::uint32_t kMaskOf[3] = {2, 4, 8};
constexpr std::uint32_t kNever = UINT32_MAX;

struct ScanEntry {
  std::uint32_t mask = 0, end = 0, approximation = 0;
};

struct Frequencies {
  std::uint32_t horizontal = 1, vertical = 1;
};

// A refused setter call: the encoder must throw text and keep its setting.
struct BadSetting {
  enum Kind { kQuality, kComponent, kHorizontal, kVertical } kind;
  std::uint32_t component, horizontal, vertical, quality;
};

enum class PlanKind { kDefault, kGenerated, kRaw };

struct Case {
  PictureSize size;
  bool grayscale = false;
  bool progressive = false;
  bool writeTwice = false;
  std::uint32_t cancelAt = kNever;
  std::uint32_t quality = 75;
  std::uint32_t restartRows = 0;
  Frequencies sampling[4];  // by component identifier; 0 is never written
  std::string comment;
  std::size_t refusedCommentLength = 0;  // > 0: a comment over the limit is tried first
  std::vector<BadSetting> badSettings;
  PlanKind plan = PlanKind::kDefault;
  std::vector<ScanEntry> entries;  // from entry 0; the rest keeps the mode's default
  std::size_t planLength = 0;      // entries a generated plan uses; any after it are ignored
  std::int32_t bufferSize = 4096;
};

std::string Describe(const Case& c) {
  std::ostringstream text;
  text << " [" << c.size.width << "x" << c.size.height << " quality " << c.quality
       << (c.grayscale ? " grey" : " colour") << (c.progressive ? " progressive" : " sequential")
       << " restart rows " << c.restartRows << " sampling";
  for (int id = 1; id <= 3; ++id) {
    text << " " << c.sampling[id].horizontal << "x" << c.sampling[id].vertical;
  }
  text << " comment " << c.comment.size() << " buffer " << c.bufferSize;
  if (c.cancelAt != kNever) text << " cancel at " << c.cancelAt;
  text << " plan " << (c.plan == PlanKind::kDefault ? "default" : "entries");
  for (const ScanEntry& e : c.entries) {
    text << " {" << e.mask << "," << e.end << "," << e.approximation << "}";
  }
  text << "]";
  return text.str();
}

// Frequencies biased towards combinations that fit in one MCU.
Frequencies ReadFrequencies(std::uint8_t b) {
  static const std::uint32_t kValues[8] = {1, 1, 1, 2, 2, 3, 4, 1};
  return {kValues[b & 7], kValues[(b >> 3) & 7]};
}

void ReadSampling(ByteReader& input, Case& c) {
  for (std::uint32_t id = 0; id <= 3; ++id) {
    const std::uint8_t refusal = input.Byte();
    const Frequencies f = ReadFrequencies(input.Byte());
    if (refusal >= 0xF0) {
      const std::uint32_t wrong = refusal & 1 ? 0 : 5 + (refusal >> 1 & 3);
      switch (refusal % 3) {
        case 0:
          c.badSettings.push_back({BadSetting::kComponent, 4u + (refusal & 3u), 1, 1, 0});
          break;
        case 1:
          c.badSettings.push_back({BadSetting::kHorizontal, id, wrong, refusal & 2 ? 0u : 9u, 0});
          break;
        default:
          c.badSettings.push_back({BadSetting::kVertical, id, f.horizontal, wrong, 0});
          break;
      }
    }
    c.sampling[id] = f;
  }
}

void ReadComment(ByteReader& input, Case& c) {
  const std::uint8_t lengthByte = input.Byte();
  std::size_t length = lengthByte;
  if (lengthByte == 255) {
    length = JpegEncoder::kMaxCommentLength;
    if (input.Flag()) c.refusedCommentLength = JpegEncoder::kMaxCommentLength + 1;
  }
  std::uint32_t state = input.Byte();
  c.comment.resize(length);
  for (char& ch : c.comment) {
    state = state * 1103515245u + 12345u;
    ch = static_cast<char>(state >> 16);
  }
}

// A sequential plan that names every component once: each component picks entry 0, 1 or 2.
void GenerateSequentialPlan(ByteReader& input, Case& c) {
  std::uint32_t choice = input.Byte() % 27;
  c.entries.resize(3);
  for (std::uint32_t mask : kMaskOf) {
    c.entries[choice % 3].mask |= mask;
    choice /= 3;
  }
  c.planLength = 3;
  // Entries after the third are never looked at.
  if (input.Flag()) c.entries.push_back({input.Byte(), input.Byte(), input.Byte()});
}

// A progressive plan that covers every coefficient of every component exactly once: the
// components' DC grouped into up to three scans, each component's AC split into up to four
// consecutive bands, and the scans shuffled with each DC before the AC bands it enables.
void GenerateProgressivePlan(ByteReader& input, Case& c) {
  std::uint32_t choice = input.Byte() % 27;
  std::uint32_t groupMasks[3] = {0, 0, 0};
  int groupOf[3];
  for (int k = 0; k < 3; ++k) {
    groupOf[k] = static_cast<int>(choice % 3);
    groupMasks[groupOf[k]] |= kMaskOf[k];
    choice /= 3;
  }
  std::vector<ScanEntry> dcScans;
  std::vector<int> dcGroups;
  for (int g = 0; g < 3; ++g) {
    if (groupMasks[g] == 0) continue;
    dcScans.push_back({groupMasks[g], 0, input.Byte() % 14u});
    dcGroups.push_back(g);
  }
  std::vector<ScanEntry> bands[3];
  for (int k = 0; k < 3; ++k) {
    const int count = 1 + input.Byte() % 4;
    std::uint32_t last = 0;
    for (int b = 0; b + 1 < count && last < 62; ++b) {
      last += 1 + input.Byte() % (62 - last);
      bands[k].push_back({kMaskOf[k], last, input.Byte() % 14u});
    }
    bands[k].push_back({kMaskOf[k], 63, input.Byte() % 14u});
  }
  std::size_t nextDc = 0, nextBand[3] = {0, 0, 0};
  bool dcDone[3] = {false, false, false};
  for (;;) {
    // Candidates: the next DC scan (in group order) and each enabled component's next band.
    std::vector<int> candidates;
    if (nextDc < dcScans.size()) candidates.push_back(-1);
    for (int k = 0; k < 3; ++k) {
      if (dcDone[k] && nextBand[k] < bands[k].size()) candidates.push_back(k);
    }
    if (candidates.empty()) break;
    const int pick = candidates[input.Byte() % candidates.size()];
    if (pick < 0) {
      c.entries.push_back(dcScans[nextDc]);
      for (int k = 0; k < 3; ++k) dcDone[k] |= groupOf[k] == dcGroups[nextDc];
      ++nextDc;
    } else {
      c.entries.push_back(bands[pick][nextBand[pick]++]);
    }
  }
  c.planLength = c.entries.size();
  // Entries after the one that completes the plan are never looked at.
  if (input.Flag()) c.entries.push_back({input.Byte(), input.Byte(), input.Byte()});
}

// Entries with likely masks, ends and approximations, and now and then wild values.
void ReadRawPlan(ByteReader& input, Case& c) {
  static const std::uint32_t kMasks[8] = {2, 4, 8, 6, 10, 12, 14, 0};
  const int count = 1 + input.Byte() % 8;
  for (int i = 0; i < count; ++i) {
    ScanEntry e;
    const std::uint8_t m = input.Byte(), end = input.Byte(), a = input.Byte();
    e.mask = m < 224 ? kMasks[m % 8] : m == 255 ? UINT32_MAX : m;
    e.end = end < 192 ? end % 64 : end < 250 ? 63 : end == 255 ? UINT32_MAX : 64u + end;
    e.approximation = a < 224 ? a % 4 : a == 255 ? UINT32_MAX : a % 16;
    c.entries.push_back(e);
  }
}

Case ReadCase(ByteReader& input) {
  Case c;
  const std::uint8_t flags = input.Byte();
  const std::uint8_t settings = input.Byte();
  c.grayscale = flags & 1;
  c.progressive = flags & 2;
  c.writeTwice = flags & 8;
  c.size = ReadPictureSize(input, flags & 4);
  c.quality = 1 + input.Byte() % 100;
  if (settings & 0x40) {
    static const std::uint32_t kBadQualities[4] = {0, 101, 255, UINT32_MAX};
    c.badSettings.push_back({BadSetting::kQuality, 0, 0, 0, kBadQualities[input.Byte() % 4]});
  }
  // Mostly 0 to 4; now and then up to 511, or any value, which a wide picture cannot take.
  const std::uint32_t rows = settings & 7;
  c.restartRows = rows < 5 ? rows : rows == 5 ? input.Quad() : input.Word() % 512;
  if (settings & 8) ReadSampling(input, c);
  if (flags & 0x20) ReadComment(input, c);
  switch (flags >> 6) {
    case 0:
      break;
    case 2:
      c.plan = PlanKind::kRaw;
      ReadRawPlan(input, c);
      break;
    default:
      c.plan = PlanKind::kGenerated;
      if (c.progressive) {
        GenerateProgressivePlan(input, c);
      } else {
        GenerateSequentialPlan(input, c);
      }
      break;
  }
  if (flags & 0x10) c.cancelAt = input.Word() % 1024;
  switch (settings >> 4 & 3) {
    case 0:
      c.bufferSize = 4096;
      break;
    case 1:
      c.bufferSize = 2 + input.Byte() % 30;  // the smallest buffer a 16-bit word fits in is 2
      break;
    case 2:
      c.bufferSize = 1000;
      break;
    default:
      c.bufferSize = static_cast<std::int32_t>(2 + input.Word() % 5000);
      break;
  }
  return c;
}

template <class Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const JpegEncoder::JpegError& error) {
    return error.what();
  }
  return "";
}

// Calls the encoder must refuse, each checked to leave the settings as they were.
void TryRefusedSettings(JpegEncoder& encoder, const Case& c) {
  for (const BadSetting& bad : c.badSettings) {
    std::uint32_t h0 = 0, v0 = 0, h1 = 0, v1 = 0;
    const std::uint32_t quality = encoder.Quality();
    if (bad.kind != BadSetting::kQuality && bad.kind != BadSetting::kComponent) {
      encoder.GetComponentSampling(bad.component, h0, v0);
    }
    std::string text;
    const char* expected = "";
    switch (bad.kind) {
      case BadSetting::kQuality:
        text = ErrorOf([&] { encoder.SetQuality(bad.quality); });
        expected = "Value Out of Range";
        break;
      case BadSetting::kComponent:
        text = ErrorOf([&] { encoder.SetComponentSampling(bad.component, 1, 1); });
        expected = "Invalid Component ID";
        break;
      case BadSetting::kHorizontal:
        text = ErrorOf(
            [&] { encoder.SetComponentSampling(bad.component, bad.horizontal, bad.vertical); });
        expected = "Invalid Horizontal Sampling Frequency";
        break;
      case BadSetting::kVertical:
        text = ErrorOf(
            [&] { encoder.SetComponentSampling(bad.component, bad.horizontal, bad.vertical); });
        expected = "Invalid Vertical Sampling Frequency";
        break;
    }
    Require(text == expected, "refused setting gave \"" + text + "\", not \"" + expected + "\"");
    Require(encoder.Quality() == quality, "a refused setting changed the quality");
    if (bad.kind != BadSetting::kQuality && bad.kind != BadSetting::kComponent) {
      encoder.GetComponentSampling(bad.component, h1, v1);
      Require(h0 == h1 && v0 == v1, "a refused setting changed the sampling");
    }
  }
}

void ApplyCase(JpegEncoder& encoder, const Case& c) {
  encoder.SetQuality(c.quality);
  encoder.SetGrayscale(c.grayscale);
  encoder.SetProgressive(c.progressive);
  encoder.SetRestartRows(c.restartRows);
  for (std::uint32_t id = 0; id <= 3; ++id) {
    encoder.SetComponentSampling(id, c.sampling[id].horizontal, c.sampling[id].vertical);
  }
  encoder.SetComment(c.comment);
  if (c.refusedCommentLength > 0) {
    const std::string text =
        ErrorOf([&] { encoder.SetComment(std::string(c.refusedCommentLength, 'x')); });
    Require(text == "Comment Too Long", "an overlong comment gave \"" + text + "\"");
    Require(encoder.Comment() == c.comment, "a refused comment replaced the old one");
  }
  for (std::uint32_t i = 0; i < c.entries.size(); ++i) {
    encoder.SetScan(i, c.entries[i].mask, c.entries[i].end, c.entries[i].approximation);
  }
}

// The settings as the encoder reports them, to see that a write leaves them alone.
struct Snapshot {
  std::uint32_t quality, restartRows;
  bool grayscale, progressive;
  std::string comment;
  std::vector<std::uint32_t> values;  // sampling, then scan entries

  static Snapshot Of(const JpegEncoder& encoder) {
    Snapshot s{encoder.Quality(),       encoder.RestartRows(), encoder.IsGrayscale(),
               encoder.IsProgressive(), encoder.Comment(),     {}};
    for (std::uint32_t id = 0; id <= 3; ++id) {
      std::uint32_t h, v;
      encoder.GetComponentSampling(id, h, v);
      s.values.insert(s.values.end(), {h, v});
    }
    for (std::uint32_t i = 0; i < Quorvante::kScanTableSize; ++i) {
      std::uint32_t m, e, a;
      encoder.GetScan(i, m, e, a);
      s.values.insert(s.values.end(), {m, e, a});
    }
    return s;
  }
  bool operator==(const Snapshot& o) const {
    return quality == o.quality && restartRows == o.restartRows && grayscale == o.grayscale &&
           progressive == o.progressive && comment == o.comment && values == o.values;
  }
};

// The write's fate when it can be told from the settings alone: "" for a file, or the text
// of the first check that fails. Raw plans are left to the encoder.
bool PredictOutcome(const Case& c, std::string& expected) {
  expected.clear();
  if (c.size.width == 0 || c.size.height == 0) {
    expected = "Empty Image";
    return true;
  }
  if (c.size.width > 65535 || c.size.height > 65535) {
    expected = "Image Too Large";
    return true;
  }
  const Frequencies* s = c.sampling + 1;
  auto has = [&](std::uint32_t value, bool horizontal) {
    for (int k = 0; k < 3; ++k) {
      if ((horizontal ? s[k].horizontal : s[k].vertical) == value) return true;
    }
    return false;
  };
  for (bool horizontal : {true, false}) {
    if (!c.grayscale && has(3, horizontal) && (has(2, horizontal) || has(4, horizontal))) {
      expected = horizontal ? "Fractional Horizontal Sampling" : "Fractional Vertical Sampling";
      return true;
    }
  }
  // A grayscale sequential write uses entry 0 whatever it holds; other raw plans are left to
  // the encoder.
  const bool greySequential = c.grayscale && !c.progressive;
  if (c.plan == PlanKind::kRaw && !greySequential) return false;
  std::vector<ScanEntry> entries = c.entries;
  if (c.plan == PlanKind::kDefault) {
    entries = {{14, 0, 0}};
  } else {
    entries.resize(c.planLength);
  }
  std::uint32_t maxHorizontal = 1;
  for (int k = 0; k < 3; ++k) maxHorizontal = std::max(maxHorizontal, s[k].horizontal);
  for (const ScanEntry& e : entries) {
    std::uint32_t units = 0;
    int count = 0;
    for (int k = 0; k < 3; ++k) {
      if ((e.mask & kMaskOf[k]) == 0) continue;
      units += s[k].horizontal * s[k].vertical;
      ++count;
    }
    if (!c.grayscale && count > 1 && units > 10) {
      expected = "Data units in MCU exceeds 10";
      return true;
    }
  }
  if (c.progressive) return true;
  // Restart intervals count rows of data units in a scan of one component, rows of MCUs in an
  // interleaved scan.
  const auto width = static_cast<std::uint64_t>(c.size.width);
  const std::uint64_t mcuColumns = (width + 8 * maxHorizontal - 1) / (8 * maxHorizontal);
  if (greySequential) entries = {{2, 0, 0}};
  for (const ScanEntry& e : entries) {
    std::uint64_t columns = c.grayscale ? (width + 7) / 8 : mcuColumns;
    for (int k = 0; k < 3 && !c.grayscale; ++k) {
      if (e.mask == kMaskOf[k]) columns *= s[k].horizontal;
    }
    if (e.mask != 0 && c.restartRows * columns > 65535) {
      expected = "Restart Interval Too Large";
      return true;
    }
  }
  return true;
}

struct ProgressReport {
  std::uint32_t pass, count, percent;
};

struct ProgressLog {
  std::vector<ProgressReport> reports;
  std::uint32_t cancelAt = kNever;
};

void Record(Quorvante::ImageCoder&, std::uintptr_t data, std::uint32_t pass, std::uint32_t count,
            std::uint32_t percent, bool& cancel) {
  auto& log = *reinterpret_cast<ProgressLog*>(data);
  if (cancel) log.reports.push_back({0, 0, 999});  // cancel must arrive false
  log.reports.push_back({pass, count, percent});
  if (log.reports.size() - 1 == log.cancelAt) cancel = true;
}

// Passes count up from 1 to the announced count, percentages stay within 0 to 100.
void CheckProgress(const ProgressLog& log) {
  Require(!log.reports.empty(), "a write reported no progress");
  const std::uint32_t count = log.reports.front().count;
  std::uint32_t pass = 0;
  for (const ProgressReport& r : log.reports) {
    Require(r.count == count, "the pass count changed during a write");
    Require(r.pass >= pass && r.pass >= 1 && r.pass <= count,
            "pass " + std::to_string(r.pass) + " of " + std::to_string(count) + " after pass " +
                std::to_string(pass));
    Require(r.percent <= 100, "progress above 100 percent");
    pass = r.pass;
  }
  Require(pass == count,
          "the last pass reported is " + std::to_string(pass) + " of " + std::to_string(count));
}

enum class Ending { kFile, kError, kCancelled };

struct Outcome {
  Ending ending = Ending::kFile;
  std::string text;
  std::vector<std::uint8_t> bytes;
  int flushes = 0;
};

Outcome Write(JpegEncoder& encoder, const RasterImage& image, std::int32_t bufferSize) {
  Quorvante::MemoryOutputStream stream(bufferSize);
  Outcome outcome;
  try {
    encoder.WriteImage(stream, image);
  } catch (const JpegEncoder::JpegError& error) {
    outcome.ending = Ending::kError;
    outcome.text = error.what();
  } catch (const Quorvante::GraphicsAbort&) {
    outcome.ending = Ending::kCancelled;
  } catch (const std::exception& error) {
    throw CheckFailure(std::string("unexpected exception: ") + error.what());
  }
  outcome.bytes = stream.Bytes();
  outcome.flushes = stream.FlushCount();
  return outcome;
}

JpegSupport::DecodedJpeg Decode(const std::vector<std::uint8_t>& bytes, const char* which) {
  try {
    return JpegSupport::DecodeJpegStrict(bytes);
  } catch (const JpegSupport::JpegCheckError& error) {
    throw CheckFailure(std::string("libjpeg refuses the ") + which + " file: " + error.what());
  }
}

// Frame type, sampling, restart interval and comments as the markers carry them.
void CheckSegments(const Case& c, const std::vector<std::uint8_t>& bytes) {
  std::vector<JpegSupport::JpegSegment> segments;
  try {
    segments = JpegSupport::ListJpegSegments(bytes);
  } catch (const JpegSupport::JpegCheckError& error) {
    throw CheckFailure(std::string("marker structure: ") + error.what());
  }
  std::vector<std::string> comments;
  bool restartSegment = false;
  for (const JpegSupport::JpegSegment& s : segments) {
    if (s.marker == 0xFE) comments.emplace_back(s.payload.begin(), s.payload.end());
    if (s.marker == 0xDD) restartSegment = true;
    if (s.marker == 0xC0 || s.marker == 0xC2) {
      Require(s.marker == (c.progressive ? 0xC2 : 0xC0), "wrong frame type");
      const std::size_t count = c.grayscale ? 1 : 3;
      Require(s.payload.size() == 6 + 3 * count && s.payload[5] == count,
              "wrong frame component count");
      for (std::size_t k = 0; k < count; ++k) {
        const Frequencies& f = c.sampling[k + 1];
        Require(s.payload[7 + 3 * k] == f.horizontal * 16 + f.vertical, "wrong frame sampling");
      }
    }
  }
  Require(restartSegment == (!c.progressive && c.restartRows > 0),
          "restart interval segment present when it should not be, or missing");
  std::vector<std::string> expected;
  if (!c.comment.empty()) expected.push_back(c.comment + '\0');
  Require(comments.size() == expected.size() + 1 &&
              std::equal(expected.begin(), expected.end(), comments.begin()),
          "comment segments differ from the comment set");
}

// A flat colour decodes to itself within the rounding of conversion and quantization.
void CheckFlatColour(const Picture& picture, const JpegSupport::DecodedJpeg& decoded) {
  const int expected[3] = {Quorvante::PixelRed(picture.flatColour),
                           Quorvante::PixelGreen(picture.flatColour),
                           Quorvante::PixelBlue(picture.flatColour)};
  for (std::size_t i = 0; i < decoded.pixels.size(); ++i) {
    Require(std::abs(decoded.pixels[i] - expected[i % 3]) <= 6,
            "a flat colour decodes to a different colour at sample " + std::to_string(i));
  }
}

// A sequential write of the same picture with a plan any sampling accepts.
std::vector<std::uint8_t> ReferenceFile(const Case& c, const RasterImage& image) {
  JpegEncoder reference;
  reference.SetQuality(c.quality);
  reference.SetGrayscale(c.grayscale);
  std::uint32_t units = 0;
  for (std::uint32_t id = 1; id <= 3; ++id) {
    reference.SetComponentSampling(id, c.sampling[id].horizontal, c.sampling[id].vertical);
    units += c.sampling[id].horizontal * c.sampling[id].vertical;
  }
  if (units > 10) {
    for (std::uint32_t i = 0; i < 3; ++i) reference.SetScan(i, kMaskOf[i], 0, 0);
  }
  const Outcome outcome = Write(reference, image, 4096);
  Require(outcome.ending == Ending::kFile, "the reference write failed: " + outcome.text);
  return outcome.bytes;
}

CaseOutcome CheckCase(const Case& c, const Picture& picture) {
  JpegEncoder encoder;
  ApplyCase(encoder, c);
  TryRefusedSettings(encoder, c);
  const Snapshot settings = Snapshot::Of(encoder);
  ProgressLog log;
  encoder.SetProgressFunction(Record, reinterpret_cast<std::uintptr_t>(&log));
  log.cancelAt = c.cancelAt;

  const Outcome first = Write(encoder, picture.image, c.bufferSize);
  Require(Snapshot::Of(encoder) == settings, "a write changed the settings");
  std::string expected;
  const bool predicted = PredictOutcome(c, expected);
  if (first.ending == Ending::kError) {
    Require(std::find(std::begin(kWriteErrors), std::end(kWriteErrors), first.text) !=
                std::end(kWriteErrors),
            "unknown error text \"" + first.text + "\"");
    Require(!predicted || first.text == expected,
            "the write stopped with \"" + first.text + "\", expected \"" + expected + "\"");
    Require(first.bytes.empty() && first.flushes == 0,
            "\"" + first.text + "\" came after bytes were written");
    Require(log.reports.empty(), "\"" + first.text + "\" came after progress reports");
    // The same settings fail the same way again.
    const Outcome again = Write(encoder, picture.image, c.bufferSize);
    Require(again.ending == Ending::kError && again.text == first.text,
            "a second write of refused settings did not stop the same way");
    return CaseOutcome::kRefused;
  }
  Require(!predicted || expected.empty(), "the write succeeded; expected \"" + expected + "\"");

  Outcome written = first;
  if (first.ending == Ending::kCancelled) {
    Require(log.reports.size() == std::size_t{c.cancelAt} + 1,
            "the write stopped without a cancel at report " + std::to_string(log.reports.size()));
    log = ProgressLog();
    written = Write(encoder, picture.image, c.bufferSize);
    Require(written.ending == Ending::kFile, "the write after a cancel failed: " + written.text);
    // A cancelled write leaves nothing behind that a fresh encoder would not have.
    JpegEncoder fresh;
    ApplyCase(fresh, c);
    const Outcome clean = Write(fresh, picture.image, c.bufferSize);
    Require(clean.bytes == written.bytes, "the write after a cancel differs from a fresh write");
  } else {
    Require(log.reports.size() <= c.cancelAt, "a cancel did not stop the write");
  }
  CheckProgress(log);
  if (c.writeTwice) {
    log = ProgressLog();
    const Outcome again = Write(encoder, picture.image, c.bufferSize);
    Require(again.ending == Ending::kFile && again.bytes == written.bytes,
            "a second write with the same encoder gave different bytes");
  }

  CheckSegments(c, written.bytes);
  // libjpeg reads no frame wider or taller than this; the markers above are all it checks.
  constexpr std::int32_t kDecoderLimit = 65500;
  if (c.size.width > kDecoderLimit || c.size.height > kDecoderLimit) return CaseOutcome::kFile;
  const JpegSupport::DecodedJpeg decoded = Decode(written.bytes, "written");
  Require(decoded.width == c.size.width && decoded.height == c.size.height,
          "decoded size " + std::to_string(decoded.width) + "x" + std::to_string(decoded.height));
  Require(decoded.components == (c.grayscale ? 1 : 3),
          "decoded components " + std::to_string(decoded.components));
  if (picture.pattern == Pattern::kFlat && !c.grayscale && c.quality >= 50) {
    CheckFlatColour(picture, decoded);
  }
  // Plans, restart markers and progressive passes change how the coefficients are coded,
  // never the coefficients: the pixels are those of a plain sequential file.
  if (c.progressive || c.plan != PlanKind::kDefault) {
    const JpegSupport::DecodedJpeg reference = Decode(ReferenceFile(c, picture.image), "reference");
    Require(reference.pixels == decoded.pixels,
            "the pixels differ from those of a plain sequential write");
  }
  return CaseOutcome::kFile;
}

}  // namespace

CaseOutcome CheckJpegEncoderCase(const std::uint8_t* data, std::size_t size) {
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
