#include "Graphics/JPEGsource/jpgforwarddct.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Quorvante {

namespace {

// The eight-point butterfly on sums and differences already formed: 5 multiplications. T is
// double, or a pair of doubles in one SSE2 register, which gets the same IEEE operations lane
// by lane. Every operation is rounded to double in the order written (contraction is off in
// the build), so both give the same bits.
template <class T>
inline void Butterfly(T s07, T s16, T s25, T s34, T d07, T d16, T d25, T d34, T* out, int stride) {
  const T c4 = T{} + ForwardDctConstants::C4;
  const T k2 = T{} + ForwardDctConstants::K2;
  const T k6 = T{} + ForwardDctConstants::K6;
  const T e0 = s07 + s34;
  const T e1 = s16 + s25;
  const T e2 = s16 - s25;
  const T e3 = s07 - s34;
  out[0 * stride] = e0 + e1;
  out[4 * stride] = e0 - e1;
  const T z = c4 * (e2 + e3);
  out[2 * stride] = z + e3;
  out[6 * stride] = e3 - z;

  const T o0 = d34 + d25;
  const T o1 = d25 + d16;
  const T o2 = d16 + d07;
  const T a = c4 * (o0 + o2);
  const T b = c4 * o1;
  const T p = a + o2;
  const T m = a - o2;
  const T q1 = b + d07;
  const T q2 = d07 - b;
  const T k2p = k2 * p;  // each used twice
  const T k6m = k6 * m;
  out[1 * stride] = k2p + q1;
  out[7 * stride] = q1 - k2p;
  out[5 * stride] = q2 + k6m;
  out[3 * stride] = q2 - k6m;
}

// Half away from zero: w + 0.5 or w - 0.5, truncated, taking the sign without a branch
// (-0.0 gives 0 either way); the low 16 bits are stored.
inline std::int16_t RoundQuotient(double w) {
  return static_cast<std::int16_t>(static_cast<std::int32_t>(w + std::copysign(0.5, w)));
}

#if defined(__SSE2__)

// Two columns (or rows) per register. Column pass: lane pair p holds columns 2p and 2p + 1.
// Row pass: lane pair q holds rows 2q and 2q + 1.
void ForwardDctSse2(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                    std::int16_t* dataUnit) {
  const __m128i zero = _mm_setzero_si128();
  __m128i x[8];  // row k of the block as eight 16-bit samples
  for (int k = 0; k < 8; ++k)
    x[k] =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(block + 8 * k)), zero);
  // The level shift of two samples of 128 goes into each sum, in integers.
  const __m128i shift = _mm_set1_epi16(256);
  const __m128i sums[8] = {
      _mm_sub_epi16(_mm_add_epi16(x[0], x[7]), shift),
      _mm_sub_epi16(_mm_add_epi16(x[1], x[6]), shift),
      _mm_sub_epi16(_mm_add_epi16(x[2], x[5]), shift),
      _mm_sub_epi16(_mm_add_epi16(x[3], x[4]), shift),
      _mm_sub_epi16(x[0], x[7]),
      _mm_sub_epi16(x[1], x[6]),
      _mm_sub_epi16(x[2], x[5]),
      _mm_sub_epi16(x[3], x[4]),
  };
  // Each 16-bit vector as four pairs of doubles: in[i][p] = columns 2p, 2p + 1.
  __m128d in[8][4];
  for (int i = 0; i < 8; ++i) {
    const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(sums[i], sums[i]), 16);
    const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(sums[i], sums[i]), 16);
    in[i][0] = _mm_cvtepi32_pd(low);
    in[i][1] = _mm_cvtepi32_pd(_mm_shuffle_epi32(low, 0x0E));
    in[i][2] = _mm_cvtepi32_pd(high);
    in[i][3] = _mm_cvtepi32_pd(_mm_shuffle_epi32(high, 0x0E));
  }
  __m128d t[8][4];  // t[v][p]: row v of the column pass output, columns 2p and 2p + 1
  for (int p = 0; p < 4; ++p)
    Butterfly(in[0][p], in[1][p], in[2][p], in[3][p], in[4][p], in[5][p], in[6][p], in[7][p],
              &t[0][p], 4);

  __m128d r[8][4];  // r[u][q]: output u of rows 2q and 2q + 1
  for (int q = 0; q < 4; ++q) {
    __m128d e[8];  // e[x]: element x of rows 2q and 2q + 1
    for (int p = 0; p < 4; ++p) {
      e[2 * p] = _mm_unpacklo_pd(t[2 * q][p], t[2 * q + 1][p]);
      e[2 * p + 1] = _mm_unpackhi_pd(t[2 * q][p], t[2 * q + 1][p]);
    }
    Butterfly(e[0] + e[7], e[1] + e[6], e[2] + e[5], e[3] + e[4], e[0] - e[7], e[1] - e[6],
              e[2] - e[5], e[3] - e[4], &r[0][q], 4);
  }

  // Back to rows: row v, columns 2k and 2k + 1, meet the reciprocals in natural order. Every
  // quotient fits 16 bits (its magnitude is at most 2048), so packing with saturation keeps
  // the low 16 bits.
  const double* reciprocals = quantizationTable.scaledReciprocals;
  const __m128d signBit = _mm_set1_pd(-0.0);
  const __m128d half = _mm_set1_pd(0.5);
  for (int v = 0; v < 8; ++v) {
    const int q = v / 2;
    __m128i rounded[4];
    for (int k = 0; k < 4; ++k) {
      const __m128d pair = v % 2 == 0 ? _mm_unpacklo_pd(r[2 * k][q], r[2 * k + 1][q])
                                      : _mm_unpackhi_pd(r[2 * k][q], r[2 * k + 1][q]);
      const __m128d w = _mm_mul_pd(pair, _mm_loadu_pd(reciprocals + 8 * v + 2 * k));
      const __m128d away = _mm_or_pd(_mm_and_pd(w, signBit), half);
      rounded[k] = _mm_cvttpd_epi32(_mm_add_pd(w, away));
    }
    const __m128i row = _mm_packs_epi32(_mm_unpacklo_epi64(rounded[0], rounded[1]),
                                        _mm_unpacklo_epi64(rounded[2], rounded[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dataUnit + 8 * v), row);
  }
}

#endif

}  // namespace

void ForwardDctScalar(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                      std::int16_t* dataUnit) {
  double t[64];  // t[8 * v + x]: column pass output
  for (int x = 0; x < 8; ++x) {
    const std::uint8_t* column = block + x;
    const int x0 = column[0], x1 = column[8], x2 = column[16], x3 = column[24];
    const int x4 = column[32], x5 = column[40], x6 = column[48], x7 = column[56];
    // The level shift of two samples of 128 goes into each sum, in integers.
    Butterfly<double>(x0 + x7 - 256, x1 + x6 - 256, x2 + x5 - 256, x3 + x4 - 256, x0 - x7, x1 - x6,
                      x2 - x5, x3 - x4, t + x, 8);
  }
  double r[64];  // r[8 * v + u]: row pass output
  for (int v = 0; v < 8; ++v) {
    const double* row = t + 8 * v;
    Butterfly<double>(row[0] + row[7], row[1] + row[6], row[2] + row[5], row[3] + row[4],
                      row[0] - row[7], row[1] - row[6], row[2] - row[5], row[3] - row[4], r + 8 * v,
                      1);
  }
  const double* reciprocals = quantizationTable.scaledReciprocals;
  for (int i = 0; i < 64; ++i) dataUnit[i] = RoundQuotient(r[i] * reciprocals[i]);
}

void ForwardDct(const SampleBlock& block, const JpegQuantizationTable& quantizationTable,
                std::int16_t* dataUnit) {
#if defined(__SSE2__)
  ForwardDctSse2(block, quantizationTable, dataUnit);
#else
  ForwardDctScalar(block, quantizationTable, dataUnit);
#endif
}

}  // namespace Quorvante
