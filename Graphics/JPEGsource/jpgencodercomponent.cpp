#include "Graphics/JPEGsource/jpgencodercomponent.h"

#include <cstring>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/JPEGsource/jpgoutputstream.h"
#include "Graphics/JPEGsource/jpgzigzag.h"
#include "Graphics/graphicsexceptions.h"

namespace Quorvante {

void JpegEncoderComponent::SetHorizontalFrequency(std::uint32_t value) {
  QUORVANTE_ASSERT(value <= JPEGMAXSAMPLINGFREQUENCY && value >= JPEGMINSAMPLINGFREQUENCY,
                   "jpgencodercomponent");
  horizontalFrequency = value;
}

void JpegEncoderComponent::SetVerticalFrequency(std::uint32_t value) {
  QUORVANTE_ASSERT(value <= JPEGMAXSAMPLINGFREQUENCY && value >= JPEGMINSAMPLINGFREQUENCY,
                   "jpgencodercomponent");
  verticalFrequency = value;
}

void JpegEncoderComponent::AllocateSamples(std::uint32_t imageWidth, std::uint32_t imageHeight,
                                           std::uint32_t maxH, std::uint32_t maxV) {
  samples.reset();
  sampleColumns = RoundUpToMcu(imageWidth, maxH);
  sampleRows = RoundUpToMcu(imageHeight, maxV);
  samples.reset(new std::uint8_t[static_cast<std::size_t>(sampleRows) * sampleColumns]);
  // The component's own size, rounded up to whole samples and then to whole blocks.
  scanColumns = (imageWidth * horizontalFrequency + 8 * maxH - 1) / (8 * maxH);
  scanRows = (imageHeight * verticalFrequency + 8 * maxV - 1) / (8 * maxV);
}

void JpegEncoderComponent::AllocateDataUnits(std::uint32_t rows, std::uint32_t columns) {
  dataUnits.reset();
  dataUnitRows = rows;
  dataUnitColumns = columns;
  dataUnits.reset(new std::int16_t[static_cast<std::size_t>(rows) * columns * kDataUnitSize]);
}

void JpegEncoderComponent::ReleaseDataUnits() {
  dataUnits.reset();
}

void JpegEncoderComponent::BuildDataUnits(JpegEncoder& encoder, std::uint32_t maxH,
                                          std::uint32_t maxV) {
  AllocateDataUnits(verticalFrequency * sampleRows / 8 / maxV,
                    horizontalFrequency * sampleColumns / 8 / maxH);
  const std::uint32_t vRatio = maxV / verticalFrequency;
  const std::uint32_t hRatio = maxH / horizontalFrequency;
  const std::uint32_t divisor = vRatio * hRatio;
  const std::size_t stride = sampleColumns;
  const std::uint32_t step = 25600 / dataUnitRows;
  std::uint32_t accumulator = 0;

  SampleBlock block;
  for (std::uint32_t i = 0; i < dataUnitRows; ++i) {
    for (std::uint32_t j = 0; j < dataUnitColumns; ++j) {
      const std::uint8_t* origin = samples.get() + 8 * vRatio * i * stride + 8 * hRatio * j;
      if (divisor == 1) {
        for (std::uint32_t r = 0; r < 8; ++r) std::memcpy(block + 8 * r, origin + r * stride, 8);
      } else {
        // Average each vRatio x hRatio group of samples, truncating.
        for (std::uint32_t r = 0; r < 8; ++r) {
          const std::uint8_t* groupRow = origin + vRatio * r * stride;
          for (std::uint32_t c = 0; c < 8; ++c) {
            std::uint32_t sum = 0;
            for (std::uint32_t y = 0; y < vRatio; ++y) {
              const std::uint8_t* s = groupRow + y * stride + hRatio * c;
              for (std::uint32_t x = 0; x < hRatio; ++x) sum += s[x];
            }
            block[8 * r + c] = static_cast<std::uint8_t>(sum / divisor);
          }
        }
      }
      TransformBlock(block, i, j);
    }
    accumulator += step;
    encoder.ReportProgress(accumulator >> 8);
  }
  encoder.ReportProgress(100);
  samples.reset();
}

void JpegEncoderComponent::TransformBlock(const std::uint8_t (&block)[64], std::uint32_t row,
                                          std::uint32_t column) {
  std::int16_t natural[kDataUnitSize];
  ForwardDct(block, *quantizationTable, natural);
  std::int16_t* unit = DataUnit(row, column);
  for (std::uint32_t k = 0; k < kDataUnitSize; ++k) unit[k] = natural[ZigzagOrder[k]];
}

void JpegEncoderComponent::ResetEobRun() {
  eobRun = 0;
  eobRunStartRow = dataUnitRows * dataUnitColumns;
  eobRunStartColumn = dataUnitRows * dataUnitColumns;
  eobRunStartIndex = 64;
}

void JpegEncoderComponent::EncodeDcRefineBlock(std::uint32_t row, std::uint32_t column,
                                               std::int32_t al) {
  outputStream->OutputBits((DataUnit(row, column)[0] >> al) & 1, 1);
}

}  // namespace Quorvante
