// Writes a RasterImage as a JPEG file: baseline sequential or progressive, colour (Y, Cb,
// Cr) or grayscale, with Huffman tables built for each scan from a first counting pass.
#ifndef QUORVANTE_JPEGENCODER_H
#define QUORVANTE_JPEGENCODER_H

#include <array>
#include <cstdint>
#include <string>

#include "Graphics/JPEGsource/jpegscan.h"
#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpghuffmantable.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/graphicsexceptions.h"
#include "Graphics/imagecoder.h"

namespace Quorvante {

class JpegOutputStream;
class RasterImage;

class JpegEncoder : public ImageEncoder {
 public:
  class JpegError : public GraphicsException {
   public:
    explicit JpegError(std::string text) : GraphicsException(std::move(text)) {}
  };

  // The largest comment one comment segment can carry.
  static constexpr std::size_t kMaxCommentLength = 65532;

  JpegEncoder();
  JpegEncoder(const JpegEncoder&) = delete;
  JpegEncoder& operator=(const JpegEncoder&) = delete;
  ~JpegEncoder() override;

  // 1 to 100, else "Value Out of Range" and nothing changes.
  void SetQuality(std::uint32_t value);
  std::uint32_t Quality() const { return quality; }
  void SetGrayscale(bool flag) { grayscale = flag; }
  bool IsGrayscale() const { return grayscale; }
  // A change of mode resets the scan table to the new mode's default plan.
  void SetProgressive(bool flag);
  bool IsProgressive() const { return progressive; }
  // MCU rows between restart markers in sequential scans; 0 = none.
  void SetRestartRows(std::uint32_t rows) { restartRows = rows; }
  std::uint32_t RestartRows() const { return restartRows; }
  // Text of an extra comment segment, none while empty. More than 65532 bytes throw
  // "Comment Too Long" and keep the old comment.
  void SetComment(const std::string& text);
  const std::string& Comment() const { return comment; }

  // componentId < 4, frequencies 1 to 4; all checked before anything changes.
  void SetComponentSampling(std::uint32_t componentId, std::uint32_t horizontal,
                            std::uint32_t vertical);
  void GetComponentSampling(std::uint32_t componentId, std::uint32_t& horizontal,
                            std::uint32_t& vertical) const;

  // Stores the caller's three values of a scan entry (index < 256); the plan is checked when
  // an image is written.
  void SetScan(std::uint32_t index, std::uint32_t componentMask, std::uint32_t spectralEnd,
               std::uint32_t successiveApproximation);
  void GetScan(std::uint32_t index, std::uint32_t& componentMask, std::uint32_t& spectralEnd,
               std::uint32_t& successiveApproximation) const;

  // Creates or truncates the file and writes the image to it.
  void WriteImageFile(const std::string& fileName, const RasterImage& image) override;
  // Writes one complete JPEG image to the stream.
  virtual void WriteImage(JpegOutputStream& stream, const RasterImage& image);

  // Reports percent (clamped to 100) of the pass under way; throws GraphicsAbort on cancel.
  void ReportProgress(std::uint32_t percent);

 private:
  void ResetScanTable();
  void CheckWritable(const RasterImage& image) const;
  void SetFrameGeometry(const RasterImage& image);
  std::uint32_t RestartIntervalOf(const JpegScan& entry) const;
  void CheckRestartIntervals() const;
  void SetUpProgress();
  void StartPass() { ++currentPass; }
  // Sets scanComponents from a mask, Y then Cb then Cr; grayscale files use Y alone.
  void SetScanComponents(std::uint32_t componentMask);
  bool ScanHasY() const { return scanComponents[0] == &components[1]; }
  // The scan header of the pass under way, for scanComponents.
  void WriteScanHeaderOf(JpegOutputStream& stream, std::uint32_t spectralStart,
                         std::uint32_t spectralEnd, std::uint32_t approximation, bool dcRefinement);
  void PrepareDataUnits(const RasterImage& image);
  void WriteFrameSegments(JpegOutputStream& stream, std::uint8_t frameMarker);

  // Sequential files.
  void WriteSequentialBody(JpegOutputStream& stream, const RasterImage& image);
  void WriteSequentialScan(JpegOutputStream& stream, const JpegScan& entry);
  template <class BlockCoder>
  void EncodeInterleavedBlocks(JpegOutputStream& stream, bool outputPass, BlockCoder& coder);
  template <class BlockCoder>
  void EncodeNoninterleavedBlocks(JpegOutputStream& stream, bool outputPass, BlockCoder& coder);
  void ResetDcPredictions();
  // Between two restart intervals: in the output pass the entropy-coded data is closed and
  // the next marker RSTn written; both passes count n modulo 8.
  void PassRestartPoint(JpegOutputStream& stream, bool outputPass, std::uint32_t& marker);

  // Progressive files.
  void WriteProgressiveBody(JpegOutputStream& stream, const RasterImage& image);
  void WriteProgressiveScan(JpegOutputStream& stream, const JpegScan& entry);
  void WriteDcFirstScan(JpegOutputStream& stream, const JpegScan& entry);
  void WriteDcRefineScan(JpegOutputStream& stream, const JpegScan& entry);
  void WriteAcFirstScan(JpegOutputStream& stream, const JpegScan& entry);
  void WriteAcRefineScan(JpegOutputStream& stream, const JpegScan& entry);
  template <class Counter, class Writer>
  void WriteAcScan(JpegOutputStream& stream, const JpegScan& entry, Counter& counter,
                   Writer& writer);
  // Visits every data unit of the single component of an AC pass.
  template <class BlockCoder>
  void EncodeAcBlocks(JpegOutputStream& stream, bool outputPass, BlockCoder& coder);

  std::array<JpegQuantizationTable, 4> quantizationTables;
  std::array<JpegHuffmanTable, 2> acHuffmanTables;
  std::array<JpegHuffmanTable, 2> dcHuffmanTables;
  bool grayscale = false;
  std::uint32_t restartRows = 0;
  std::uint32_t restartInterval = 0;
  std::uint32_t quality = 0;
  std::string comment;
  bool progressive = false;
  std::uint32_t passCount = 0;
  std::uint32_t currentPass = 0;
  std::int32_t frameWidth = 0;
  std::int32_t frameHeight = 0;
  std::int32_t maxHorizontalFrequency = 1;
  std::int32_t maxVerticalFrequency = 1;
  std::int32_t mcuRows = 0;
  std::int32_t mcuColumns = 0;
  std::uint32_t scanCount = 0;
  std::array<JpegScan, kScanTableSize> scans;
  std::array<JpegEncoderComponent, 4> components;
  std::array<std::int32_t, 4> quantizationTableAssignments = {0, 0, 1, 1};
  std::int32_t scanComponentCount = 0;
  std::array<JpegEncoderComponent*, 3> scanComponents = {};
};

}  // namespace Quorvante

#endif
