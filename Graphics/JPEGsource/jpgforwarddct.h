// The encoder's one transform: an 8 x 8 block of samples to 64 quantized DCT coefficients.
#ifndef QUORVANTE_JPGFORWARDDCT_H
#define QUORVANTE_JPGFORWARDDCT_H

#include <cstdint>

#include "Graphics/JPEGsource/jpgquantizationtable.h"

namespace Quorvante {

// 8 rows of 8 samples, row r and column c at position 8 * r + c.
using SampleBlock = std::uint8_t[64];

// Transforms block (level shift by 128 included) with a factorised DCT in double precision,
// divides by the quantization values through quantizationTable.scaledReciprocals (prepared by
// BuildScaledReciprocals) and rounds half away from zero. dataUnit receives the 64 coefficients
// in natural order, index 8 * v + u for horizontal frequency u and vertical frequency v.
void ForwardDct(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                std::int16_t* dataUnit);

}  // namespace Quorvante

#endif
