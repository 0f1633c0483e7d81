// The body of a progressive file: the scan table is swept again and again, each entry
// writing its next pass (first pass, then one refinement per sweep) until a sweep writes
// nothing. Every pass with Huffman tables is coded twice, as in sequential scans.
#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpegscanloops.h"

namespace Quorvante {

namespace {

template <class Handlers>
struct AcFirstBlockCoder {
  Handlers handlers;
  std::uint32_t ss, se;
  std::int32_t al;
  void Code(JpegEncoderComponent& c, std::uint32_t row, std::uint32_t column) {
    c.EncodeAcFirstBlock(row, column, handlers, ss, se, al);
    handlers.Finish(c);
  }
  void CloseRun(JpegEncoderComponent& c) {
    c.FlushEobRun(handlers);
    handlers.Finish(c);
  }
};

template <class Handlers>
struct AcRefineBlockCoder {
  Handlers handlers;
  std::uint32_t ss, se;
  std::int32_t al;
  void Code(JpegEncoderComponent& c, std::uint32_t row, std::uint32_t column) {
    c.EncodeAcRefineBlock(row, column, handlers, ss, se, al);
    handlers.Finish(c);
  }
  void CloseRun(JpegEncoderComponent& c) {
    c.FlushRefineEobRun(handlers, ss, se, al);
    handlers.Finish(c);
  }
};

std::uint32_t ApproximationByte(const JpegScan& entry) {
  return static_cast<std::uint32_t>(entry.successiveApproximationHigh * 16 +
                                    entry.successiveApproximationLow);
}

}  // namespace

void JpegEncoder::WriteProgressiveBody(JpegOutputStream& stream, const RasterImage& image) {
  PrepareDataUnits(image);
  WriteFrameSegments(stream, kMarkerProgressiveFrame);
  bool wrote;
  do {
    wrote = false;
    for (std::uint32_t i = 0; i < scanCount; ++i) {
      JpegScan& entry = scans[i];
      // Grayscale files code Y alone and skip entries without it.
      if (grayscale && (entry.componentMask & kScanMaskY) == 0) continue;
      SetScanComponents(entry.componentMask);
      if (scanComponentCount == 0 || entry.successiveApproximationLow < 0) continue;
      StartPass();
      WriteProgressiveScan(stream, entry);
      entry.successiveApproximationHigh = entry.successiveApproximationLow;
      --entry.successiveApproximationLow;
      wrote = true;
    }
  } while (wrote);
}

void JpegEncoder::WriteProgressiveScan(JpegOutputStream& stream, const JpegScan& entry) {
  const bool first = entry.successiveApproximationHigh == 0;
  if (entry.spectralStart == 0) {
    first ? WriteDcFirstScan(stream, entry) : WriteDcRefineScan(stream, entry);
  } else {
    first ? WriteAcFirstScan(stream, entry) : WriteAcRefineScan(stream, entry);
  }
}

void JpegEncoder::WriteDcFirstScan(JpegOutputStream& stream, const JpegScan& entry) {
  const bool luminance = ScanHasY();
  const bool chrominance = !luminance || scanComponentCount > 1;
  if (luminance) dcHuffmanTables[0].Reset();
  if (chrominance) dcHuffmanTables[1].Reset();
  const std::int32_t al = entry.successiveApproximationLow;

  DcFirstBlockCoder<CountingHandlers> counter{{}, al};
  if (scanComponentCount > 1) {
    EncodeInterleavedBlocks(stream, false, counter);
  } else {
    EncodeNoninterleavedBlocks(stream, false, counter);
  }
  if (luminance) dcHuffmanTables[0].Build();
  if (chrominance) dcHuffmanTables[1].Build();
  WriteHuffmanTables(stream, luminance, chrominance, true, false, dcHuffmanTables, acHuffmanTables);
  WriteScanHeaderOf(stream, 0, 0, ApproximationByte(entry), false);

  stream.EnterBitMode(8);
  DcFirstBlockCoder<WritingHandlers> writer{{}, al};
  if (scanComponentCount > 1) {
    EncodeInterleavedBlocks(stream, true, writer);
  } else {
    EncodeNoninterleavedBlocks(stream, true, writer);
  }
  stream.ExitBitMode();
}

// One raw bit per data unit and no tables, so only the output half of the pass runs.
void JpegEncoder::WriteDcRefineScan(JpegOutputStream& stream, const JpegScan& entry) {
  WriteScanHeaderOf(stream, 0, 0, ApproximationByte(entry), true);
  stream.EnterBitMode(8);
  DcRefineBlockCoder writer{entry.successiveApproximationLow};
  if (scanComponentCount > 1) {
    EncodeInterleavedBlocks(stream, true, writer);
  } else {
    EncodeNoninterleavedBlocks(stream, true, writer);
  }
  stream.ExitBitMode();
}

void JpegEncoder::WriteAcFirstScan(JpegOutputStream& stream, const JpegScan& entry) {
  const std::uint32_t ss = static_cast<std::uint32_t>(entry.spectralStart);
  const std::int32_t al = entry.successiveApproximationLow;
  AcFirstBlockCoder<CountingHandlers> counter{{}, ss, entry.spectralEnd, al};
  AcFirstBlockCoder<WritingHandlers> writer{{}, ss, entry.spectralEnd, al};
  WriteAcScan(stream, entry, counter, writer);
}

void JpegEncoder::WriteAcRefineScan(JpegOutputStream& stream, const JpegScan& entry) {
  const std::uint32_t ss = static_cast<std::uint32_t>(entry.spectralStart);
  const std::int32_t al = entry.successiveApproximationLow;
  AcRefineBlockCoder<CountingHandlers> counter{{}, ss, entry.spectralEnd, al};
  AcRefineBlockCoder<WritingHandlers> writer{{}, ss, entry.spectralEnd, al};
  WriteAcScan(stream, entry, counter, writer);
}

// An AC pass has one component (the plan's check guarantees it) and one AC table.
template <class Counter, class Writer>
void JpegEncoder::WriteAcScan(JpegOutputStream& stream, const JpegScan& entry, Counter& counter,
                              Writer& writer) {
  const bool luminance = ScanHasY();
  JpegHuffmanTable& table = acHuffmanTables[luminance ? 0 : 1];
  table.Reset();
  EncodeAcBlocks(stream, false, counter);
  table.Build();
  WriteHuffmanTables(stream, luminance, !luminance, false, true, dcHuffmanTables, acHuffmanTables);
  WriteScanHeaderOf(stream, static_cast<std::uint32_t>(entry.spectralStart), entry.spectralEnd,
                    ApproximationByte(entry), false);
  stream.EnterBitMode(8);
  EncodeAcBlocks(stream, true, writer);
  stream.ExitBitMode();
}

template <class BlockCoder>
void JpegEncoder::EncodeAcBlocks(JpegOutputStream& stream, bool outputPass, BlockCoder& coder) {
  JpegEncoderComponent& c = *scanComponents[0];
  std::uint32_t accumulator = outputPass ? 12800 : 0;
  const std::uint32_t step = 25600 / (2 * c.DataUnitRows());
  c.ResetEobRun();
  std::uint32_t sinceRestart = 0;
  std::uint32_t marker = 0;
  for (std::uint32_t row = 0; row < c.ScanRows(); ++row) {
    for (std::uint32_t column = 0; column < c.ScanColumns(); ++column) {
      if (restartInterval != 0 && sinceRestart == restartInterval) {
        coder.CloseRun(c);
        PassRestartPoint(stream, outputPass, marker);
        sinceRestart = 0;
      }
      coder.Code(c, row, column);
      ++sinceRestart;
    }
    accumulator += step;
    ReportProgress(accumulator >> 8);
  }
  coder.CloseRun(c);
  ReportProgress(outputPass ? 100 : 50);
}

}  // namespace Quorvante
