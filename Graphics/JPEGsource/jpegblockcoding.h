// Coding of one data unit of a sequential scan, and the symbol handlers that every scan
// pass codes through: the statistics pass counts symbols, the output pass writes them with
// the tables built from those counts.
#ifndef QUORVANTE_JPEGBLOCKCODING_H
#define QUORVANTE_JPEGBLOCKCODING_H

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpghuffmantable.h"
#include "Graphics/JPEGsource/jpgoutputstream.h"

namespace Quorvante {

// Number of significant bits of |value|: 0 for 0, 1 for +-1, 2 for +-2 and +-3, ...
inline std::uint32_t ValueSize(std::int32_t value) {
  const std::uint32_t magnitude =
      static_cast<std::uint32_t>(value < 0 ? -static_cast<std::int64_t>(value) : value);
  return magnitude == 0 ? 0 : 32 - static_cast<std::uint32_t>(__builtin_clz(magnitude));
}

// The appended bits of a value: the value itself when positive, value - 1 (the one's
// complement of the magnitude in the low bits) when negative.
inline std::int32_t ValueBits(std::int32_t value) {
  return value < 0 ? value - 1 : value;
}

// Bit k set when coefficient k of a data unit (zigzag order) is not 0 after dividing by
// 2^al: the coding loops jump from one such coefficient to the next instead of testing all.
inline std::uint64_t NonZeroMask(const std::int16_t* unit, std::int32_t al) {
#if defined(__SSE2__)
  const __m128i threshold = _mm_set1_epi16(static_cast<std::int16_t>((1 << al) - 1));
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t mask = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i* p = reinterpret_cast<const __m128i*>(unit + 16 * part);
    __m128i a = _mm_loadu_si128(p);
    __m128i b = _mm_loadu_si128(p + 1);
    a = _mm_max_epi16(a, _mm_sub_epi16(zero, a));  // magnitudes
    b = _mm_max_epi16(b, _mm_sub_epi16(zero, b));
    const __m128i big =
        _mm_packs_epi16(_mm_cmpgt_epi16(a, threshold), _mm_cmpgt_epi16(b, threshold));
    mask |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(big)))
            << (16 * part);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int k = 0; k < 64; ++k) {
    const std::int32_t v = unit[k] < 0 ? -unit[k] : unit[k];
    mask |= static_cast<std::uint64_t>((v >> al) != 0) << k;
  }
  return mask;
#endif
}

inline std::uint32_t LowestBit(std::uint64_t mask) {
  return static_cast<std::uint32_t>(__builtin_ctzll(mask));
}

inline void JpegEncoderComponent::CountDcSymbol(std::uint32_t size, std::int32_t) {
  dcTable->CountSymbol(static_cast<std::uint8_t>(size));
}

inline void JpegEncoderComponent::CountAcSymbol(std::int32_t symbol, std::int32_t, std::uint32_t) {
  if (symbol >= 0) acTable->CountSymbol(static_cast<std::uint8_t>(symbol));
}

inline void BitGatherer::Drain(JpegOutputStream& stream) {
  while (pendingCount > 16) {
    pendingCount -= 16;
    stream.OutputBits(static_cast<std::int32_t>(pending >> pendingCount & 0xFFFF), 16);
  }
  if (pendingCount != 0) {
    stream.OutputBits(static_cast<std::int32_t>(pending & 0xFFFF), pendingCount);
  }
  pending = 0;
  pendingCount = 0;
}

// The low count bits of bits.
inline std::uint32_t LowBits(std::int32_t bits, std::uint32_t count) {
  return static_cast<std::uint32_t>(bits) & ((1u << count) - 1);
}

inline void JpegEncoderComponent::WriteDcSymbol(std::uint32_t size, std::int32_t bits,
                                                BitGatherer& out) {
  std::uint16_t code;
  std::uint8_t length;
  dcTable->Lookup(static_cast<std::uint8_t>(size), code, length);
  if (length == 0) outputStream->OutputBits(code, length);  // no code: the stream refuses it
  out.Put(*outputStream, code, length);
  if (size != 0) out.Put(*outputStream, LowBits(bits, size), size);
}

inline void JpegEncoderComponent::WriteAcSymbol(std::int32_t symbol, std::int32_t bits,
                                                std::uint32_t count, BitGatherer& out) {
  if (symbol >= 0) {
    std::uint16_t code;
    std::uint8_t length;
    acTable->Lookup(static_cast<std::uint8_t>(symbol), code, length);
    if (length == 0) outputStream->OutputBits(code, length);  // no code: the stream refuses it
    out.Put(*outputStream, code, length);
  }
  if (count != 0) out.Put(*outputStream, LowBits(bits, count), count);
}

template <class Handlers>
void JpegEncoderComponent::EncodeSequentialBlock(std::uint32_t row, std::uint32_t column,
                                                 Handlers& handlers) {
  const std::int16_t* unit = DataUnit(row, column);
  const std::int32_t diff = unit[0] - lastDcValue;
  lastDcValue = unit[0];
  handlers.Dc(*this, ValueSize(diff), ValueBits(diff));

  // Each non-zero coefficient is coded with the run of zeros before it; a zero run that
  // reaches the end is one end of block, never a series of 0xF0.
  std::uint64_t mask = NonZeroMask(unit, 0) & ~std::uint64_t{1};
  std::uint32_t previous = 0;
  while (mask != 0) {
    const std::uint32_t k = LowestBit(mask);
    mask &= mask - 1;
    std::uint32_t run = k - previous - 1;
    previous = k;
    for (; run >= 16; run -= 16) handlers.Ac(*this, 0xF0, 0, 0);
    const std::int32_t value = unit[k];
    const std::uint32_t size = ValueSize(value);
    handlers.Ac(*this, static_cast<std::int32_t>(run * 16 + size), ValueBits(value), size);
  }
  if (previous != 63) handlers.Ac(*this, 0x00, 0, 0);
}

template <class Handlers>
void JpegEncoderComponent::EncodeDcFirstBlock(std::uint32_t row, std::uint32_t column,
                                              Handlers& handlers, std::int32_t al) {
  const std::int32_t value = DataUnit(row, column)[0] >> al;  // arithmetic shift
  const std::int32_t diff = value - lastDcValue;
  lastDcValue = value;
  handlers.Dc(*this, ValueSize(diff), ValueBits(diff));
}

}  // namespace Quorvante

#endif
