#include "Graphics/JPEGsource/jpegcolourconversion.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpgforwarddct.h"
#include "Graphics/rasterimage.h"

namespace Quorvante {

namespace {

#if defined(__SSE2__)
// Eight pixels of one output at a time. The 16-bit products and their sums are exact in
// 32 bits, and the two saturating packs clamp to 0..255 after the shift, so the samples are
// those of the scalar conversion.
class ColourWeights {
 public:
  // Weights of blue, green, red (and 0 for alpha), the pixel's byte order in memory.
  ColourWeights(std::int16_t blue, std::int16_t green, std::int16_t red, std::int32_t constant)
      : weights(_mm_setr_epi16(blue, green, red, 0, blue, green, red, 0)),
        offset(_mm_set1_epi32(constant)) {}

  // Four pixels, widened to 16 bits as two halves, to four 32-bit samples.
  __m128i Convert4(__m128i low, __m128i high) const {
    const __m128 t0 = _mm_castsi128_ps(_mm_madd_epi16(low, weights));
    const __m128 t1 = _mm_castsi128_ps(_mm_madd_epi16(high, weights));
    const __m128i blueGreen = _mm_castps_si128(_mm_shuffle_ps(t0, t1, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i redAlpha = _mm_castps_si128(_mm_shuffle_ps(t0, t1, _MM_SHUFFLE(3, 1, 3, 1)));
    return _mm_srai_epi32(_mm_add_epi32(_mm_add_epi32(blueGreen, redAlpha), offset), 12);
  }

  void Convert8(const __m128i (&halves)[4], std::uint8_t* out) const {
    const __m128i words =
        _mm_packs_epi32(Convert4(halves[0], halves[1]), Convert4(halves[2], halves[3]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
  }

 private:
  __m128i weights;
  __m128i offset;
};

// Converts the pixels of one row in groups of eight; returns how many it converted.
std::uint32_t ConvertRowInGroups(const Pixel* pixels, std::uint32_t width, std::uint8_t* y,
                                 std::uint8_t* cb, std::uint8_t* cr) {
  static const ColourWeights kY(466, 2404, 1224, 2048);
  static const ColourWeights kCb(2048, -1357, -690, 526336);
  static const ColourWeights kCr(-333, -1714, 2048, 526336);
  const __m128i zero = _mm_setzero_si128();
  std::uint32_t column = 0;
  for (; column + 8 <= width; column += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + column));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + column + 4));
    const __m128i halves[4] = {_mm_unpacklo_epi8(a, zero), _mm_unpackhi_epi8(a, zero),
                               _mm_unpacklo_epi8(b, zero), _mm_unpackhi_epi8(b, zero)};
    kY.Convert8(halves, y + column);
    kCb.Convert8(halves, cb + column);
    kCr.Convert8(halves, cr + column);
  }
  return column;
}
#else
std::uint32_t ConvertRowInGroups(const Pixel*, std::uint32_t, std::uint8_t*, std::uint8_t*,
                                 std::uint8_t*) {
  return 0;
}
#endif

}  // namespace

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
    for (std::uint32_t column = ConvertRowInGroups(pixel, width, yRow, cbRow, crRow);
         column < width; ++column) {
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
      y.TransformBlock(block, i, j);
    }
    accumulator += step;
    encoder.ReportProgress(accumulator >> 8);
  }
  encoder.ReportProgress(100);
}

}  // namespace Quorvante
