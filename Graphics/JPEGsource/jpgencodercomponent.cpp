#include "Graphics/JPEGsource/jpgencodercomponent.h"

#include <cstring>
#include <vector>

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
  ReleaseDataUnits();
  sampleColumns = RoundUpToMcu(imageWidth, maxH);
  sampleRows = RoundUpToMcu(imageHeight, maxV);
  dataUnitRows = verticalFrequency * sampleRows / 8 / maxV;
  dataUnitColumns = horizontalFrequency * sampleColumns / 8 / maxH;
  // The plane goes at the end of a buffer large enough for either; data-unit row i then ends
  // no later than plane block row i + 1 begins.
  const std::size_t planeBytes = static_cast<std::size_t>(sampleRows) * sampleColumns;
  const std::size_t unitBytes = static_cast<std::size_t>(dataUnitRows) * dataUnitColumns *
                                kDataUnitSize * sizeof(std::int16_t);
  const std::size_t bufferBytes =
      (planeBytes > unitBytes ? planeBytes + 1 : unitBytes) & ~std::size_t{1};
  dataUnits.reset(new std::int16_t[bufferBytes / sizeof(std::int16_t)]);
  samples = reinterpret_cast<std::uint8_t*>(dataUnits.get()) + bufferBytes - planeBytes;
  // The component's own size, rounded up to whole samples and then to whole blocks.
  scanColumns = (imageWidth * horizontalFrequency + 8 * maxH - 1) / (8 * maxH);
  scanRows = (imageHeight * verticalFrequency + 8 * maxV - 1) / (8 * maxV);
}

void JpegEncoderComponent::AllocateDataUnits(std::uint32_t rows, std::uint32_t columns) {
  ReleaseDataUnits();
  dataUnitRows = rows;
  dataUnitColumns = columns;
  dataUnits.reset(new std::int16_t[static_cast<std::size_t>(rows) * columns * kDataUnitSize]);
}

void JpegEncoderComponent::ReleaseDataUnits() {
  samples = nullptr;
  dataUnits.reset();
}

void JpegEncoderComponent::BuildDataUnits(JpegEncoder& encoder, std::uint32_t maxH,
                                          std::uint32_t maxV) {
  const std::uint32_t vRatio = maxV / verticalFrequency;
  const std::uint32_t hRatio = maxH / horizontalFrequency;
  const std::uint32_t divisor = vRatio * hRatio;
  const std::size_t stride = sampleColumns;
  const std::size_t planeRowBytes = 8 * vRatio * stride;  // the plane rows of one unit row
  const std::size_t unitRowBytes = std::size_t{dataUnitColumns} * kDataUnitSize * 2;
  const std::size_t planeOffset =
      static_cast<std::size_t>(samples - reinterpret_cast<std::uint8_t*>(dataUnits.get()));
  std::vector<std::uint8_t> staging;  // a plane row the unit row would overwrite before use
  const std::uint32_t step = 25600 / dataUnitRows;
  std::uint32_t accumulator = 0;

  SampleBlock block;
  for (std::uint32_t i = 0; i < dataUnitRows; ++i) {
    const std::uint8_t* planeRow = samples + i * planeRowBytes;
    if ((i + 1) * unitRowBytes > planeOffset + i * planeRowBytes) {
      staging.assign(planeRow, planeRow + planeRowBytes);
      planeRow = staging.data();
    }
    for (std::uint32_t j = 0; j < dataUnitColumns; ++j) {
      const std::uint8_t* origin = planeRow + 8 * hRatio * j;
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
  samples = nullptr;  // the plane's memory now holds the data units
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
