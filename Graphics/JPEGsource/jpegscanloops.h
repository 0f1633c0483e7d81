// The loops that visit the data units of one scan pass, shared by sequential scans and the
// DC passes of progressive files: MCU by MCU for several components, data unit by data unit
// for one, with restart handling and progress once per row. A BlockCoder supplies
// Code(component, row, column) and CloseRun(component).
#ifndef QUORVANTE_JPEGSCANLOOPS_H
#define QUORVANTE_JPEGSCANLOOPS_H

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpegprogressiveblocks.h"
#include "Graphics/JPEGsource/jpegsegments.h"
#include "Graphics/JPEGsource/jpgoutputstream.h"

namespace Quorvante {

// Block coders: one operation of the component with the pass's handlers.
template <class Handlers>
struct SequentialBlockCoder {
  Handlers handlers;
  void Code(JpegEncoderComponent& c, std::uint32_t row, std::uint32_t column) {
    c.EncodeSequentialBlock(row, column, handlers);
    handlers.Finish(c);
  }
  void CloseRun(JpegEncoderComponent& c) {
    c.FlushEobRun(handlers);
    handlers.Finish(c);
  }
};

template <class Handlers>
struct DcFirstBlockCoder {
  Handlers handlers;
  std::int32_t al;
  void Code(JpegEncoderComponent& c, std::uint32_t row, std::uint32_t column) {
    c.EncodeDcFirstBlock(row, column, handlers, al);
    handlers.Finish(c);
  }
  void CloseRun(JpegEncoderComponent& c) {
    c.FlushEobRun(handlers);
    handlers.Finish(c);
  }
};

struct DcRefineBlockCoder {
  std::int32_t al;
  void Code(JpegEncoderComponent& c, std::uint32_t row, std::uint32_t column) {
    c.EncodeDcRefineBlock(row, column, al);
  }
  void CloseRun(JpegEncoderComponent&) {}  // no runs in DC passes
};

template <class BlockCoder>
void JpegEncoder::EncodeInterleavedBlocks(JpegOutputStream& stream, bool outputPass,
                                          BlockCoder& coder) {
  std::uint32_t accumulator = outputPass ? 12800 : 0;
  const std::uint32_t step = 25600 / (2 * static_cast<std::uint32_t>(mcuRows));
  ResetDcPredictions();
  std::uint32_t sinceRestart = 0;
  std::uint32_t marker = 0;
  for (std::int32_t mcuRow = 0; mcuRow < mcuRows; ++mcuRow) {
    for (std::int32_t mcuColumn = 0; mcuColumn < mcuColumns; ++mcuColumn) {
      if (restartInterval != 0 && sinceRestart == restartInterval) {
        PassRestartPoint(stream, outputPass, marker);
        ResetDcPredictions();
        sinceRestart = 0;
      }
      for (std::int32_t i = 0; i < scanComponentCount; ++i) {
        JpegEncoderComponent& c = *scanComponents[i];
        const std::uint32_t v = c.VerticalFrequency();
        const std::uint32_t h = c.HorizontalFrequency();
        for (std::uint32_t y = 0; y < v; ++y) {
          for (std::uint32_t x = 0; x < h; ++x) {
            coder.Code(c, v * mcuRow + y, h * mcuColumn + x);
          }
        }
      }
      ++sinceRestart;
    }
    accumulator += step;
    ReportProgress(accumulator >> 8);
  }
  ReportProgress(outputPass ? 100 : 50);
}

template <class BlockCoder>
void JpegEncoder::EncodeNoninterleavedBlocks(JpegOutputStream& stream, bool outputPass,
                                             BlockCoder& coder) {
  JpegEncoderComponent& c = *scanComponents[0];
  std::uint32_t accumulator = outputPass ? 12800 : 0;
  const std::uint32_t step = 25600 / (2 * c.DataUnitRows());
  // No run is open here; a progressive pass that was cancelled may have left one behind.
  c.ResetEobRun();
  ResetDcPredictions();
  std::uint32_t sinceRestart = 0;
  std::uint32_t marker = 0;
  for (std::uint32_t row = 0; row < c.ScanRows(); ++row) {
    for (std::uint32_t column = 0; column < c.ScanColumns(); ++column) {
      if (restartInterval != 0 && sinceRestart == restartInterval) {
        coder.CloseRun(c);
        PassRestartPoint(stream, outputPass, marker);
        ResetDcPredictions();
        sinceRestart = 0;
      }
      coder.Code(c, row, column);
      ++sinceRestart;
    }
    accumulator += step;
    ReportProgress(accumulator >> 8);
  }
  ReportProgress(outputPass ? 100 : 50);
}

}  // namespace Quorvante

#endif
