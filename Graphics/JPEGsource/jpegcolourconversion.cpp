#include "Graphics/JPEGsource/jpegcolourconversion.h"

#include <cstring>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/rasterimage.h"

namespace Quorvante {

void ConvertColour(JpegEncoder& encoder, const RasterImage& image, std::uint32_t maxH,
                   std::uint32_t maxV, JpegEncoderComponent& y, JpegEncoderComponent& cb,
                   JpegEncoderComponent& cr) {
  const std::uint32_t width = static_cast<std::uint32_t>(image.Width());
  const std::uint32_t height = static_cast<std::uint32_t>(image.Height());
  const std::uint32_t step = 25600 / height;  // percent in fixed point with 8 fraction bits
  std::uint32_t accumulator = 0;

  y.AllocateSamples(width, height, maxH, maxV);
  cb.AllocateSamples(width, height, maxH, maxV);
  cr.AllocateSamples(width, height, maxH, maxV);
  const std::size_t columns = y.SampleColumns();
  const std::uint32_t rows = y.SampleRows();

  for (std::uint32_t row = 0; row < height; ++row) {
    const Pixel* pixel = image.Pixels() + static_cast<std::size_t>(row) * width;
    std::uint8_t* yRow = y.Samples() + row * columns;
    std::uint8_t* cbRow = cb.Samples() + row * columns;
    std::uint8_t* crRow = cr.Samples() + row * columns;
    for (std::uint32_t column = 0; column < width; ++column) {
      const Pixel p = pixel[column];
      const std::uint8_t red = PixelRed(p);
      const std::uint8_t green = PixelGreen(p);
      const std::uint8_t blue = PixelBlue(p);
      yRow[column] = RgbToY(red, green, blue);
      cbRow[column] = RgbToCb(red, green, blue);
      crRow[column] = RgbToCr(red, green, blue);
    }
    // Pad to whole MCUs with the row's last pixel.
    const std::size_t padding = columns - width;
    std::memset(yRow + width, yRow[width - 1], padding);
    std::memset(cbRow + width, cbRow[width - 1], padding);
    std::memset(crRow + width, crRow[width - 1], padding);
    accumulator += step;
    encoder.ReportProgress(accumulator >> 8);
  }

  // Pad to whole MCUs with copies of the last image row.
  for (JpegEncoderComponent* c : {&y, &cb, &cr}) {
    const std::uint8_t* last = c->Samples() + (height - 1) * columns;
    for (std::uint32_t row = height; row < rows; ++row) {
      std::memcpy(c->Samples() + row * columns, last, columns);
    }
  }
  encoder.ReportProgress(100);
}

void ConvertGrayscale(JpegEncoder& encoder, const RasterImage& image, JpegEncoderComponent& y) {
  const std::uint32_t width = static_cast<std::uint32_t>(image.Width());
  const std::uint32_t height = static_cast<std::uint32_t>(image.Height());
  const std::uint32_t rows = (height + 7) / 8;
  const std::uint32_t columns = (width + 7) / 8;
  y.AllocateDataUnits(rows, columns);
  y.SetScanSize(rows, columns);
  const std::uint32_t step = 25600 / rows;
  std::uint32_t accumulator = 0;

  SampleBlock block;
  for (std::uint32_t i = 0; i < rows; ++i) {
    for (std::uint32_t j = 0; j < columns; ++j) {
      for (std::uint32_t r = 0; r < 8; ++r) {
        const std::uint32_t imageRow = 8 * i + r;
        std::uint8_t* out = block + 8 * r;
        if (imageRow >= height) {
          std::memset(out, 128, 8);  // the level shift turns the padding into 0
          continue;
        }
        const Pixel* pixel = image.Pixels() + static_cast<std::size_t>(imageRow) * width;
        for (std::uint32_t c = 0; c < 8; ++c) {
          const std::uint32_t imageColumn = 8 * j + c;
          if (imageColumn < width) {
            const Pixel p = pixel[imageColumn];
            out[c] = RgbToY(PixelRed(p), PixelGreen(p), PixelBlue(p));
          } else {
            out[c] = 128;
          }
        }
      }
      ForwardDct(block, *y.QuantizationTable(), y.DataUnit(i, j));
    }
    accumulator += step;
    encoder.ReportProgress(accumulator >> 8);
  }
  encoder.ReportProgress(100);
}

}  // namespace Quorvante
