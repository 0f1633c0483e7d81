// The body of a sequential (baseline) file: every scan is coded twice, once to count the
// symbols its Huffman tables must code and once to write them.
#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpegscanloops.h"

namespace Quorvante {

void JpegEncoder::ResetDcPredictions() {
  for (std::int32_t i = 0; i < scanComponentCount; ++i) scanComponents[i]->ResetDcPrediction();
}

void JpegEncoder::WriteSequentialBody(JpegOutputStream& stream, const RasterImage& image) {
  PrepareDataUnits(image);
  WriteFrameSegments(stream, kMarkerBaselineFrame);
  if (grayscale) {
    // The one scan codes the luminance, whatever entry 0's mask says.
    SetScanComponents(kScanMaskY);
    StartPass();
    WriteSequentialScan(stream, scans[0]);
    return;
  }
  for (std::uint32_t i = 0; i < scanCount; ++i) {
    StartPass();
    if (scans[i].componentMask == 0) continue;
    SetScanComponents(scans[i].componentMask);
    WriteSequentialScan(stream, scans[i]);
  }
}

void JpegEncoder::WriteSequentialScan(JpegOutputStream& stream, const JpegScan& entry) {
  const std::uint32_t interval = RestartIntervalOf(entry);
  if (interval != restartInterval) {
    restartInterval = interval;
    WriteRestartInterval(stream, static_cast<std::uint16_t>(interval));
  }

  const bool luminance = ScanHasY();
  const bool chrominance = !luminance || scanComponentCount > 1;
  for (std::uint32_t number = 0; number < 2; ++number) {
    if (!(number == 0 ? luminance : chrominance)) continue;
    dcHuffmanTables[number].Reset();
    acHuffmanTables[number].Reset();
  }

  SequentialBlockCoder<CountingHandlers> counter{};
  if (scanComponentCount > 1) {
    EncodeInterleavedBlocks(stream, false, counter);
  } else {
    EncodeNoninterleavedBlocks(stream, false, counter);
  }

  for (std::uint32_t number = 0; number < 2; ++number) {
    if (!(number == 0 ? luminance : chrominance)) continue;
    dcHuffmanTables[number].Build();
    acHuffmanTables[number].Build();
  }
  WriteHuffmanTables(stream, luminance, chrominance, true, true, dcHuffmanTables, acHuffmanTables);
  WriteScanHeaderOf(stream, 0, 63, 0, false);

  stream.EnterBitMode(8);
  SequentialBlockCoder<WritingHandlers> writer{};
  if (scanComponentCount > 1) {
    EncodeInterleavedBlocks(stream, true, writer);
  } else {
    EncodeNoninterleavedBlocks(stream, true, writer);
  }
  stream.ExitBitMode();
}

void JpegEncoder::WriteScanHeaderOf(JpegOutputStream& stream, std::uint32_t spectralStart,
                                    std::uint32_t spectralEnd, std::uint32_t approximation,
                                    bool dcRefinement) {
  std::uint8_t identifiers[3];
  for (std::int32_t i = 0; i < scanComponentCount; ++i) {
    identifiers[i] = static_cast<std::uint8_t>(scanComponents[i] - components.data());
  }
  WriteScanHeader(stream, identifiers, static_cast<std::uint32_t>(scanComponentCount),
                  static_cast<std::uint8_t>(spectralStart), static_cast<std::uint8_t>(spectralEnd),
                  static_cast<std::uint8_t>(approximation), dcRefinement);
}

void JpegEncoder::PassRestartPoint(JpegOutputStream& stream, bool outputPass,
                                   std::uint32_t& marker) {
  if (outputPass) {
    stream.ExitBitMode();
    WriteRestartMarker(stream, marker);
    stream.EnterBitMode(8);
  }
  marker = (marker + 1) % 8;
}

}  // namespace Quorvante
