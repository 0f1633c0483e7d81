// The encoder's one transform: an 8 x 8 block of samples to 64 quantized DCT coefficients.
#ifndef QUORVANTE_JPGFORWARDDCT_H
#define QUORVANTE_JPGFORWARDDCT_H

#include <cstdint>

#include "Graphics/JPEGsource/jpgquantizationtable.h"

namespace Quorvante {

// The constants of the factorised transform: cos(4 pi / 16), 0.5 / cos(2 pi / 16) and
// 0.5 / cos(6 pi / 16) in double precision with pi = acos(-1) and correctly rounded cos. They
// are stored so that every C library gives the same bytes; the tests recompute them.
struct ForwardDctConstants {
  static constexpr double C4 = 0x1.6a09e667f3bcdp-1;
  static constexpr double K2 = 0x1.1517a7bdb3895p-1;
  static constexpr double K6 = 0x1.4e7ae9144f0fbp+0;
};

// 8 rows of 8 samples, row r and column c at position 8 * r + c.
using SampleBlock = std::uint8_t[64];

// Transforms block (level shift by 128 included) with a factorised DCT in double precision,
// divides by the quantization values through quantizationTable.scaledReciprocals (prepared by
// BuildScaledReciprocals) and rounds half away from zero. dataUnit receives the 64 coefficients
// in natural order, index 8 * v + u for horizontal frequency u and vertical frequency v.
void ForwardDct(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                std::int16_t* dataUnit);

// The same transform, the same bits, without vector instructions; ForwardDct uses it where
// SSE2 is missing.
void ForwardDctScalar(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                      std::int16_t* dataUnit);

}  // namespace Quorvante

#endif
