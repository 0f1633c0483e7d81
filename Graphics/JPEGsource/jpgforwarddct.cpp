#include "Graphics/JPEGsource/jpgforwarddct.h"

#include <cmath>

namespace Quorvante {

namespace {

constexpr double C4 = ForwardDctConstants::C4;
constexpr double K2 = ForwardDctConstants::K2;
constexpr double K6 = ForwardDctConstants::K6;

// The eight-point butterfly on sums and differences already formed: 5 multiplications.
// Every operation is rounded to double in the order written; contraction is off in the build.
inline void Butterfly(double s07, double s16, double s25, double s34, double d07, double d16,
                      double d25, double d34, double* out, int stride) {
  const double e0 = s07 + s34;
  const double e1 = s16 + s25;
  const double e2 = s16 - s25;
  const double e3 = s07 - s34;
  out[0 * stride] = e0 + e1;
  out[4 * stride] = e0 - e1;
  const double z = C4 * (e2 + e3);
  out[2 * stride] = z + e3;
  out[6 * stride] = e3 - z;

  const double o0 = d34 + d25;
  const double o1 = d25 + d16;
  const double o2 = d16 + d07;
  const double a = C4 * (o0 + o2);
  const double b = C4 * o1;
  const double p = a + o2;
  const double m = a - o2;
  const double q1 = b + d07;
  const double q2 = d07 - b;
  const double k2p = K2 * p;
  const double k6m = K6 * m;
  out[1 * stride] = k2p + q1;
  out[7 * stride] = q1 - k2p;
  out[5 * stride] = q2 + k6m;
  out[3 * stride] = q2 - k6m;
}

}  // namespace

void ForwardDct(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                std::int16_t* dataUnit) {
  double t[64];  // t[8 * v + x]: column pass output
  for (int x = 0; x < 8; ++x) {
    const std::uint8_t* column = block + x;
    const int x0 = column[0], x1 = column[8], x2 = column[16], x3 = column[24];
    const int x4 = column[32], x5 = column[40], x6 = column[48], x7 = column[56];
    // The level shift of two samples of 128 goes into each sum, in integers.
    Butterfly(x0 + x7 - 256, x1 + x6 - 256, x2 + x5 - 256, x3 + x4 - 256, x0 - x7, x1 - x6, x2 - x5,
              x3 - x4, t + x, 8);
  }
  double r[64];  // r[8 * v + u]: row pass output
  for (int v = 0; v < 8; ++v) {
    const double* row = t + 8 * v;
    Butterfly(row[0] + row[7], row[1] + row[6], row[2] + row[5], row[3] + row[4], row[0] - row[7],
              row[1] - row[6], row[2] - row[5], row[3] - row[4], r + 8 * v, 1);
  }
  const double* reciprocals = quantizationTable.scaledReciprocals;
  for (int i = 0; i < 64; ++i) {
    const double w = r[i] * reciprocals[i];
    // Half away from zero: w + 0.5 or w - 0.5, truncated. Taking the sign by copysign
    // instead of a branch keeps the loop free of mispredictions; -0.0 gives 0 either way.
    const std::int32_t rounded = static_cast<std::int32_t>(w + std::copysign(0.5, w));
    dataUnit[i] = static_cast<std::int16_t>(rounded);
  }
}

}  // namespace Quorvante
