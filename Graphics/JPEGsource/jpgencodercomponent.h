// One component (Y, Cb or Cr) of a JPEG frame: its sampling frequencies and tables, its
// sample plane while the image is converted, its quantized data units, and the coding state
// of the scan under way.
#ifndef QUORVANTE_JPGENCODERCOMPONENT_H
#define QUORVANTE_JPGENCODERCOMPONENT_H

#include <cstdint>
#include <memory>

namespace Quorvante {

class BitGatherer;
class JpegEncoder;
class JpegHuffmanTable;
class JpegOutputStream;
class JpegQuantizationTable;

constexpr std::uint32_t JPEGMINSAMPLINGFREQUENCY = 1;
constexpr std::uint32_t JPEGMAXSAMPLINGFREQUENCY = 4;

// 64 quantized coefficients of one 8 x 8 block. They are held in zigzag order, the order in
// which every scan reads them, so the coding loops read memory straight through; coefficient
// k of the zigzag sequence is entry k, natural index ZigzagOrder[k].
constexpr std::uint32_t kDataUnitSize = 64;

class JpegEncoderComponent {
 public:
  JpegEncoderComponent() = default;
  JpegEncoderComponent(const JpegEncoderComponent&) = delete;
  JpegEncoderComponent& operator=(const JpegEncoderComponent&) = delete;
  virtual ~JpegEncoderComponent() = default;

  // 1 to 4, else AssertionFailure and the frequency keeps its value.
  void SetHorizontalFrequency(std::uint32_t value);
  void SetVerticalFrequency(std::uint32_t value);
  std::uint32_t HorizontalFrequency() const { return horizontalFrequency; }
  std::uint32_t VerticalFrequency() const { return verticalFrequency; }

  void SetHuffmanTables(JpegHuffmanTable* dc, JpegHuffmanTable* ac) {
    dcTable = dc;
    acTable = ac;
  }
  void SetQuantizationTable(JpegQuantizationTable* table) { quantizationTable = table; }
  void SetOutputStream(JpegOutputStream* stream) { outputStream = stream; }
  JpegOutputStream* OutputStream() const { return outputStream; }
  JpegHuffmanTable* DcTable() const { return dcTable; }
  JpegHuffmanTable* AcTable() const { return acTable; }
  const JpegQuantizationTable* QuantizationTable() const { return quantizationTable; }

  void ResetDcPrediction() { lastDcValue = 0; }

  // Sizes the sample plane to whole MCUs of the frame and sets the component's own scan size.
  // The plane shares one buffer with the data units that replace it, placed so that each row
  // of data units is written only over plane rows already read: a colour write touches no
  // more memory than its data units need (or its planes, where those are larger).
  void AllocateSamples(std::uint32_t imageWidth, std::uint32_t imageHeight, std::uint32_t maxH,
                       std::uint32_t maxV);
  // Cuts the plane into blocks (averaged down to this component's sampling), transforms them
  // into data units and frees the plane. The encoder only receives progress reports.
  void BuildDataUnits(JpegEncoder& encoder, std::uint32_t maxH, std::uint32_t maxV);
  // Allocates rows x columns data units straight away, for images converted without a plane.
  void AllocateDataUnits(std::uint32_t rows, std::uint32_t columns);
  void ReleaseDataUnits();

  std::uint8_t* Samples() { return samples; }
  const std::uint8_t* Samples() const { return samples; }
  std::uint32_t SampleRows() const { return sampleRows; }
  std::uint32_t SampleColumns() const { return sampleColumns; }
  std::uint32_t DataUnitRows() const { return dataUnitRows; }
  std::uint32_t DataUnitColumns() const { return dataUnitColumns; }
  std::uint32_t ScanRows() const { return scanRows; }
  std::uint32_t ScanColumns() const { return scanColumns; }
  void SetScanSize(std::uint32_t rows, std::uint32_t columns) {
    scanRows = rows;
    scanColumns = columns;
  }
  // Transforms one block into the data unit at row, column.
  void TransformBlock(const std::uint8_t (&block)[64], std::uint32_t row, std::uint32_t column);

  // The data unit at row, column, in zigzag order.
  std::int16_t* DataUnit(std::uint32_t row, std::uint32_t column) {
    return dataUnits.get() +
           (static_cast<std::size_t>(row) * dataUnitColumns + column) * kDataUnitSize;
  }
  const std::int16_t* DataUnit(std::uint32_t row, std::uint32_t column) const {
    return dataUnits.get() +
           (static_cast<std::size_t>(row) * dataUnitColumns + column) * kDataUnitSize;
  }

  // Symbol handlers: the statistics pass counts what the output pass then writes. An AC
  // symbol of -1 stands for raw bits without a code.
  void CountDcSymbol(std::uint32_t size, std::int32_t bits);
  void CountAcSymbol(std::int32_t symbol, std::int32_t bits, std::uint32_t count);
  // The writing handlers gather the bits of a data unit in out before they go to the stream.
  void WriteDcSymbol(std::uint32_t size, std::int32_t bits, BitGatherer& out);
  void WriteAcSymbol(std::int32_t symbol, std::int32_t bits, std::uint32_t count, BitGatherer& out);

  // Block encoders. Handlers is CountingHandlers, WritingHandlers (below) or any type with
  // the same two operations; the loops are templates so the two passes share one coder.
  template <class Handlers>
  void EncodeSequentialBlock(std::uint32_t row, std::uint32_t column, Handlers& handlers);
  template <class Handlers>
  void EncodeDcFirstBlock(std::uint32_t row, std::uint32_t column, Handlers& handlers,
                          std::int32_t al);
  void EncodeDcRefineBlock(std::uint32_t row, std::uint32_t column, std::int32_t al);
  template <class Handlers>
  void EncodeAcFirstBlock(std::uint32_t row, std::uint32_t column, Handlers& handlers,
                          std::uint32_t ss, std::uint32_t se, std::int32_t al);
  template <class Handlers>
  void EncodeAcRefineBlock(std::uint32_t row, std::uint32_t column, Handlers& handlers,
                           std::uint32_t ss, std::uint32_t se, std::int32_t al);

  // End-of-band runs of progressive AC passes.
  template <class Handlers>
  void FlushEobRun(Handlers& handlers);
  template <class Handlers>
  void FlushRefineEobRun(Handlers& handlers, std::uint32_t ss, std::uint32_t se, std::int32_t al);
  void ResetEobRun();
  std::uint32_t EobRun() const { return eobRun; }

 private:
  std::uint32_t dataUnitRows = 0;
  std::uint32_t dataUnitColumns = 0;
  std::unique_ptr<std::int16_t[]> dataUnits;  // also holds the plane until the units exist
  std::uint32_t eobRun = 0;
  std::uint32_t eobRunStartRow = 0;
  std::uint32_t eobRunStartColumn = 0;
  std::uint32_t eobRunStartIndex = 0;
  std::uint32_t verticalFrequency = 1;
  std::uint32_t horizontalFrequency = 1;
  JpegHuffmanTable* acTable = nullptr;
  JpegHuffmanTable* dcTable = nullptr;
  JpegQuantizationTable* quantizationTable = nullptr;
  JpegOutputStream* outputStream = nullptr;
  std::int32_t lastDcValue = 0;
  std::uint8_t* samples = nullptr;  // the plane, inside the data-unit buffer
  std::uint32_t sampleRows = 0;
  std::uint32_t sampleColumns = 0;
  std::uint32_t scanRows = 0;
  std::uint32_t scanColumns = 0;
};

// Bits of the output pass waiting for the stream: codes and appended bits of a data unit go
// to the stream in pieces of up to 16 bits rather than one call per code. The bits in the
// file are the same; the coding loops drain it after every data unit, so between data units
// the stream holds everything.
class BitGatherer {
 public:
  // value holds count bits (0 to 16), right-aligned.
  void Put(JpegOutputStream& stream, std::uint32_t value, std::uint32_t count) {
    if (pendingCount + count > 32) Drain(stream);
    pending = pending << count | value;
    pendingCount += count;
  }
  void Drain(JpegOutputStream& stream);

 private:
  std::uint64_t pending = 0;
  std::uint32_t pendingCount = 0;
};

// The handlers of a statistics pass and of an output pass. Finish ends the coding of one
// data unit (or of an end-of-band run).
struct CountingHandlers {
  void Dc(JpegEncoderComponent& c, std::uint32_t size, std::int32_t bits) {
    c.CountDcSymbol(size, bits);
  }
  void Ac(JpegEncoderComponent& c, std::int32_t symbol, std::int32_t bits, std::uint32_t count) {
    c.CountAcSymbol(symbol, bits, count);
  }
  void Finish(JpegEncoderComponent&) {}
};
class WritingHandlers {
 public:
  void Dc(JpegEncoderComponent& c, std::uint32_t size, std::int32_t bits) {
    c.WriteDcSymbol(size, bits, gatherer);
  }
  void Ac(JpegEncoderComponent& c, std::int32_t symbol, std::int32_t bits, std::uint32_t count) {
    c.WriteAcSymbol(symbol, bits, count, gatherer);
  }
  void Finish(JpegEncoderComponent& c) { gatherer.Drain(*c.OutputStream()); }

 private:
  BitGatherer gatherer;
};

// The smallest multiple of 8 x frequency that is not below count.
inline std::uint32_t RoundUpToMcu(std::uint32_t count, std::uint32_t frequency) {
  const std::uint32_t unit = 8 * frequency;
  return (count + unit - 1) / unit * unit;
}

}  // namespace Quorvante

#endif
