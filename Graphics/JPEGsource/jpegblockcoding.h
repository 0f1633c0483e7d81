// Coding of one data unit of a sequential scan, and the symbol handlers that every scan
// pass codes through: the statistics pass counts symbols, the output pass writes them with
// the tables built from those counts.
#ifndef QUORVANTE_JPEGBLOCKCODING_H
#define QUORVANTE_JPEGBLOCKCODING_H

#include <cstdint>

#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/JPEGsource/jpghuffmantable.h"
#include "Graphics/JPEGsource/jpgoutputstream.h"
#include "Graphics/JPEGsource/jpgzigzag.h"

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

inline void JpegEncoderComponent::CountDcSymbol(std::uint32_t size, std::int32_t) {
  dcTable->CountSymbol(static_cast<std::uint8_t>(size));
}

inline void JpegEncoderComponent::CountAcSymbol(std::int32_t symbol, std::int32_t, std::uint32_t) {
  if (symbol >= 0) acTable->CountSymbol(static_cast<std::uint8_t>(symbol));
}

inline void JpegEncoderComponent::WriteDcSymbol(std::uint32_t size, std::int32_t bits) {
  std::uint16_t code;
  std::uint8_t length;
  dcTable->Lookup(static_cast<std::uint8_t>(size), code, length);
  outputStream->OutputBits(code, length);
  if (size != 0) outputStream->OutputBits(bits, size);
}

inline void JpegEncoderComponent::WriteAcSymbol(std::int32_t symbol, std::int32_t bits,
                                                std::uint32_t count) {
  if (symbol >= 0) {
    std::uint16_t code;
    std::uint8_t length;
    acTable->Lookup(static_cast<std::uint8_t>(symbol), code, length);
    outputStream->OutputBits(code, length);
  }
  if (count != 0) outputStream->OutputBits(bits, count);
}

template <class Handlers>
void JpegEncoderComponent::EncodeSequentialBlock(std::uint32_t row, std::uint32_t column,
                                                 Handlers& handlers) {
  const std::int16_t* unit = DataUnit(row, column);
  const std::int32_t diff = unit[0] - lastDcValue;
  lastDcValue = unit[0];
  handlers.Dc(*this, ValueSize(diff), ValueBits(diff));

  std::uint32_t run = 0;
  for (std::uint32_t k = 1; k < 64; ++k) {
    const std::int32_t value = unit[ZigzagOrder[k]];
    if (value == 0) {
      ++run;
      continue;
    }
    for (; run >= 16; run -= 16) handlers.Ac(*this, 0xF0, 0, 0);
    const std::uint32_t size = ValueSize(value);
    handlers.Ac(*this, static_cast<std::int32_t>(run * 16 + size), ValueBits(value), size);
    run = 0;
  }
  // A zero run that reaches the end is one end of block, never a series of 0xF0.
  if (run > 0) handlers.Ac(*this, 0x00, 0, 0);
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
