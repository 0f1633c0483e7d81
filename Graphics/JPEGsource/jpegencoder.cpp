#include "Graphics/JPEGsource/jpegencoder.h"

#include <cerrno>
#include <cstring>

#include "Graphics/JPEGsource/jpegcolourconversion.h"
#include "Graphics/JPEGsource/jpegscanplan.h"
#include "Graphics/JPEGsource/jpegsegments.h"
#include "Graphics/JPEGsource/jpgoutputstream.h"
#include "Graphics/fileoutputstream.h"
#include "Graphics/rasterimage.h"

namespace Quorvante {

namespace {
// Frame sizes and restart intervals are 16-bit fields of the file.
constexpr std::uint32_t kMaxFrameSize = 65535;
constexpr std::uint64_t kMaxRestartInterval = 65535;
}  // namespace

JpegEncoder::JpegEncoder() {
  ResetScanTable();
  SetQuality(75);
  for (JpegEncoderComponent& c : components) {
    c.SetHorizontalFrequency(1);
    c.SetVerticalFrequency(1);
  }
  // Y uses the tables numbered 0, Cb and Cr share those numbered 1; component 0 none.
  for (std::uint32_t id = 1; id <= 3; ++id) {
    const std::uint32_t number = id == 1 ? 0 : 1;
    components[id].SetHuffmanTables(&dcHuffmanTables[number], &acHuffmanTables[number]);
    components[id].SetQuantizationTable(&quantizationTables[quantizationTableAssignments[id]]);
  }
}

JpegEncoder::~JpegEncoder() = default;

void JpegEncoder::ResetScanTable() {
  ResetScanPlan(scans, progressive);
}

void JpegEncoder::SetQuality(std::uint32_t value) {
  if (value < 1 || value > 100) throw JpegError("Value Out of Range");
  quantizationTables[0].LoadLuminanceValues(value);
  quantizationTables[2].LoadLuminanceValues(value);
  quantizationTables[1].LoadChrominanceValues(value);
  quantizationTables[3].LoadChrominanceValues(value);
  quality = value;
}

void JpegEncoder::SetProgressive(bool flag) {
  if (flag == progressive) return;
  progressive = flag;
  ResetScanTable();
}

void JpegEncoder::SetComment(const std::string& text) {
  if (text.size() > kMaxCommentLength) throw JpegError("Comment Too Long");
  comment = text;
}

void JpegEncoder::SetComponentSampling(std::uint32_t componentId, std::uint32_t horizontal,
                                       std::uint32_t vertical) {
  if (componentId >= components.size()) throw JpegError("Invalid Component ID");
  if (horizontal < JPEGMINSAMPLINGFREQUENCY || horizontal > JPEGMAXSAMPLINGFREQUENCY) {
    throw JpegError("Invalid Horizontal Sampling Frequency");
  }
  if (vertical < JPEGMINSAMPLINGFREQUENCY || vertical > JPEGMAXSAMPLINGFREQUENCY) {
    throw JpegError("Invalid Vertical Sampling Frequency");
  }
  components[componentId].SetHorizontalFrequency(horizontal);
  components[componentId].SetVerticalFrequency(vertical);
}

void JpegEncoder::GetComponentSampling(std::uint32_t componentId, std::uint32_t& horizontal,
                                       std::uint32_t& vertical) const {
  if (componentId >= components.size()) throw JpegError("Invalid Component ID");
  horizontal = components[componentId].HorizontalFrequency();
  vertical = components[componentId].VerticalFrequency();
}

void JpegEncoder::SetScan(std::uint32_t index, std::uint32_t componentMask,
                          std::uint32_t spectralEnd, std::uint32_t successiveApproximation) {
  if (index >= kScanTableSize) throw JpegError("Scan Index Out of Range");
  scans[index].componentMask = componentMask;
  scans[index].spectralEnd = spectralEnd;
  scans[index].successiveApproximation = successiveApproximation;
}

void JpegEncoder::GetScan(std::uint32_t index, std::uint32_t& componentMask,
                          std::uint32_t& spectralEnd,
                          std::uint32_t& successiveApproximation) const {
  if (index >= kScanTableSize) throw JpegError("Scan Index Out of Rang");
  componentMask = scans[index].componentMask;
  spectralEnd = scans[index].spectralEnd;
  successiveApproximation = scans[index].successiveApproximation;
}

void JpegEncoder::WriteImageFile(const std::string& fileName, const RasterImage& image) {
  FileOutputStream stream;
  stream.Open(fileName);
  if (!stream.IsOpen()) {
    throw JpegError(std::string("Cannot Open Input File ") + std::strerror(errno));
  }
  WriteImage(stream, image);
  // An explicit close, so that a file the system did not take in full is reported; after an
  // exception the stream's destructor closes quietly.
  stream.Close();
}

void JpegEncoder::WriteImage(JpegOutputStream& stream, const RasterImage& image) {
  for (std::uint32_t id = 1; id <= 3; ++id) components[id].SetOutputStream(&stream);
  CheckWritable(image);

  for (JpegQuantizationTable& table : quantizationTables) table.used = false;
  for (std::uint32_t id = 1; id <= (grayscale ? 1u : 3u); ++id) {
    quantizationTables[quantizationTableAssignments[id]].used = true;
  }
  for (JpegQuantizationTable& table : quantizationTables) {
    if (table.used) table.BuildScaledReciprocals();
  }

  SetFrameGeometry(image);
  SamplingFrequencies sampling[3];
  for (std::uint32_t id = 1; id <= 3; ++id) {
    sampling[id - 1].horizontal = components[id].HorizontalFrequency();
    sampling[id - 1].vertical = components[id].VerticalFrequency();
  }
  scanCount = ValidateScanPlan(scans, sampling, grayscale, progressive);
  if (!progressive) CheckRestartIntervals();
  SetUpProgress();
  restartInterval = 0;

  WriteStartOfImage(stream);
  WriteApplicationSegment(stream);
  if (!comment.empty()) WriteCommentSegment(stream, comment);
  WriteCommentSegment(stream, kLibraryComment);
  if (progressive) {
    WriteProgressiveBody(stream, image);
  } else {
    WriteSequentialBody(stream, image);
  }
  WriteEndOfImage(stream);
  for (std::uint32_t id = 1; id <= 3; ++id) components[id].ReleaseDataUnits();
}

void JpegEncoder::ReportProgress(std::uint32_t percent) {
  CallProgressFunction(currentPass, passCount, percent > 100 ? 100 : percent);
}

// The frame stores its size in 16 bits, and an image without pixels has nothing to code.
void JpegEncoder::CheckWritable(const RasterImage& image) const {
  if (image.Width() <= 0 || image.Height() <= 0) throw JpegError("Empty Image");
  if (static_cast<std::uint32_t>(image.Width()) > kMaxFrameSize ||
      static_cast<std::uint32_t>(image.Height()) > kMaxFrameSize) {
    throw JpegError("Image Too Large");
  }
}

void JpegEncoder::SetFrameGeometry(const RasterImage& image) {
  frameWidth = image.Width();
  frameHeight = image.Height();
  maxHorizontalFrequency = 1;
  maxVerticalFrequency = 1;
  for (std::uint32_t id = 1; id <= (grayscale ? 1u : 3u); ++id) {
    const auto h = static_cast<std::int32_t>(components[id].HorizontalFrequency());
    const auto v = static_cast<std::int32_t>(components[id].VerticalFrequency());
    if (grayscale || h > maxHorizontalFrequency) maxHorizontalFrequency = h;
    if (grayscale || v > maxVerticalFrequency) maxVerticalFrequency = v;
  }
  mcuRows = (frameHeight + 8 * maxVerticalFrequency - 1) / (8 * maxVerticalFrequency);
  mcuColumns = (frameWidth + 8 * maxHorizontalFrequency - 1) / (8 * maxHorizontalFrequency);
}

// Restart interval of a sequential scan, in its MCUs: restartRows rows of data units for a
// scan of one component, rows of interleaved MCUs otherwise.
std::uint32_t JpegEncoder::RestartIntervalOf(const JpegScan& entry) const {
  std::uint64_t columns;
  if (grayscale) {
    columns = (static_cast<std::uint32_t>(frameWidth) + 7) / 8;
  } else {
    std::uint32_t count = 0;
    std::uint32_t single = 0;
    for (std::uint32_t id = 1; id <= 3; ++id) {
      if ((entry.componentMask & (1u << id)) == 0) continue;
      ++count;
      single = id;
    }
    columns = static_cast<std::uint32_t>(mcuColumns);
    if (count == 1) columns *= components[single].HorizontalFrequency();
  }
  const std::uint64_t interval = restartRows * columns;
  return interval > kMaxRestartInterval ? UINT32_MAX : static_cast<std::uint32_t>(interval);
}

void JpegEncoder::CheckRestartIntervals() const {
  const std::uint32_t entries = grayscale ? 1 : scanCount;
  for (std::uint32_t i = 0; i < entries; ++i) {
    if (!grayscale && scans[i].componentMask == 0) continue;
    if (RestartIntervalOf(scans[i]) > kMaxRestartInterval) {
      throw JpegError("Restart Interval Too Large");
    }
  }
}

void JpegEncoder::SetUpProgress() {
  currentPass = 0;
  if (!progressive) {
    passCount = grayscale ? 2 : scanCount + 4;
    return;
  }
  passCount = grayscale ? 1 : 4;
  // Only entries that name a component of the file write passes; counting the others would
  // leave the last report short of the announced count.
  const std::uint32_t coded = grayscale ? kScanMaskY : kScanMaskAll;
  for (std::uint32_t i = 0; i < scanCount; ++i) {
    if ((scans[i].componentMask & coded) == 0) continue;
    passCount += scans[i].successiveApproximation + 1;
  }
}

void JpegEncoder::SetScanComponents(std::uint32_t componentMask) {
  scanComponentCount = 0;
  scanComponents.fill(nullptr);
  for (std::uint32_t id = 1; id <= (grayscale ? 1u : 3u); ++id) {
    if (grayscale || (componentMask & (1u << id)) != 0) {
      scanComponents[scanComponentCount++] = &components[id];
    }
  }
}

void JpegEncoder::PrepareDataUnits(const RasterImage& image) {
  if (grayscale) {
    StartPass();
    ConvertGrayscale(*this, image, components[1]);
    return;
  }
  const auto maxH = static_cast<std::uint32_t>(maxHorizontalFrequency);
  const auto maxV = static_cast<std::uint32_t>(maxVerticalFrequency);
  StartPass();
  ConvertColour(*this, image, maxH, maxV, components[1], components[2], components[3]);
  for (std::uint32_t id = 1; id <= 3; ++id) {
    StartPass();
    components[id].BuildDataUnits(*this, maxH, maxV);
  }
}

void JpegEncoder::WriteFrameSegments(JpegOutputStream& stream, std::uint8_t frameMarker) {
  FrameComponent frame[3];
  const std::uint32_t count = grayscale ? 1 : 3;
  for (std::uint32_t id = 1; id <= count; ++id) {
    frame[id - 1] = {static_cast<std::uint8_t>(id),
                     static_cast<std::uint8_t>(components[id].HorizontalFrequency()),
                     static_cast<std::uint8_t>(components[id].VerticalFrequency()),
                     static_cast<std::uint8_t>(quantizationTableAssignments[id])};
  }
  WriteFrameHeader(stream, frameMarker, static_cast<std::uint16_t>(frameHeight),
                   static_cast<std::uint16_t>(frameWidth), frame, count);
  WriteQuantizationTables(stream, quantizationTables);
}

}  // namespace Quorvante
