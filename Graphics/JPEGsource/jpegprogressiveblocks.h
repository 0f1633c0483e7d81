// Coding of one data unit in a progressive AC pass: spectral bands with their point
// transform, end-of-band runs that span data units, and the correction bits of refinement
// passes. Correction bits are never buffered: an open run keeps only where it started, and
// closing it reads the coefficients of its data units again.
#ifndef QUORVANTE_JPEGPROGRESSIVEBLOCKS_H
#define QUORVANTE_JPEGPROGRESSIVEBLOCKS_H

#include <cstdint>

#include "Graphics/JPEGsource/jpegblockcoding.h"
#include "Graphics/JPEGsource/jpegencoder.h"

namespace Quorvante {

// The longest end-of-band run one symbol can carry.
constexpr std::uint32_t kMaxEobRun = 0x7FFF;

// Coefficient value in an AC pass: divided by 2^al, truncated toward zero.
inline std::int32_t AcPassValue(std::int32_t coefficient, std::int32_t al) {
  return coefficient < 0 ? -((-coefficient) >> al) : coefficient >> al;
}

// The symbol of a run of length run (1 to 32767): n x 16 with n = significant bits - 1,
// followed by the low n bits of run.
template <class Handlers>
inline void CodeEobRun(JpegEncoderComponent& component, Handlers& handlers, std::uint32_t run) {
  const std::uint32_t n = ValueSize(static_cast<std::int32_t>(run)) - 1;
  handlers.Ac(component, static_cast<std::int32_t>(n * 16), static_cast<std::int32_t>(run), n);
}

template <class Handlers>
void JpegEncoderComponent::FlushEobRun(Handlers& handlers) {
  if (eobRun == 0) return;
  CodeEobRun(*this, handlers, eobRun);
  eobRun = 0;
}

template <class Handlers>
void JpegEncoderComponent::EncodeAcFirstBlock(std::uint32_t row, std::uint32_t column,
                                              Handlers& handlers, std::uint32_t ss,
                                              std::uint32_t se, std::int32_t al) {
  const std::int16_t* unit = DataUnit(row, column);
  // The band's coefficients that are not 0 after the point transform.
  const std::uint64_t band = (~std::uint64_t{0} >> (63 - se)) & (~std::uint64_t{0} << ss);
  std::uint64_t mask = NonZeroMask(unit, al) & band;
  std::uint32_t next = ss;  // first index not yet coded
  while (mask != 0) {
    const std::uint32_t k = LowestBit(mask);
    mask &= mask - 1;
    FlushEobRun(handlers);
    std::uint32_t run = k - next;
    next = k + 1;
    for (; run >= 16; run -= 16) handlers.Ac(*this, 0xF0, 0, 0);
    const std::int32_t value = AcPassValue(unit[k], al);
    const std::uint32_t size = ValueSize(value);
    handlers.Ac(*this, static_cast<std::int32_t>(run * 16 + size), ValueBits(value), size);
  }
  if (next > se) return;  // the band ended on a coefficient
  // The band ended in zeros: the data unit joins the run.
  if (++eobRun == kMaxEobRun) FlushEobRun(handlers);
}

template <class Handlers>
void JpegEncoderComponent::EncodeAcRefineBlock(std::uint32_t row, std::uint32_t column,
                                               Handlers& handlers, std::uint32_t ss,
                                               std::uint32_t se, std::int32_t al) {
  const std::int16_t* unit = DataUnit(row, column);
  auto valueAt = [unit, al](std::uint32_t k) { return AcPassValue(unit[k], al); };
  std::uint32_t run = 0;    // zero coefficients since the last symbol
  std::uint32_t owed = ss;  // first index whose correction bit has not been sent
  for (std::uint32_t k = ss; k <= se; ++k) {
    const std::int32_t value = valueAt(k);
    if (value == 0) {
      ++run;
      continue;
    }
    if (value > 1 || value < -1) continue;  // already significant: its bit is owed
    FlushRefineEobRun(handlers, ss, se, al);
    for (; run >= 16; run -= 16) {
      handlers.Ac(*this, 0xF0, 0, 0);
      // The correction bits of the already significant coefficients the 0xF0 passes over.
      for (std::uint32_t zeros = 0; zeros < 16; ++owed) {
        const std::int32_t passed = valueAt(owed);
        if (passed == 0) {
          ++zeros;
        } else if (passed == 1 || passed == -1) {
          throw JpegEncoder::JpegError("INTERNAL ERROR - Bad Value");
        } else {
          handlers.Ac(*this, -1, passed < 0 ? -passed : passed, 1);
        }
      }
    }
    handlers.Ac(*this, static_cast<std::int32_t>(run * 16 + 1), value > 0 ? 1 : 0, 1);
    run = 0;
    for (std::uint32_t j = owed; j < k; ++j) {
      const std::int32_t passed = valueAt(j);
      if (passed != 0) handlers.Ac(*this, -1, passed < 0 ? -passed : passed, 1);
    }
    owed = k + 1;
    if (k == se) return;
  }
  // Nothing newly significant after owed: the data unit joins the run, its bits owed.
  if (eobRun == 0) {
    eobRunStartRow = row;
    eobRunStartColumn = column;
    eobRunStartIndex = owed;
  }
  if (++eobRun == kMaxEobRun) FlushRefineEobRun(handlers, ss, se, al);
}

template <class Handlers>
void JpegEncoderComponent::FlushRefineEobRun(Handlers& handlers, std::uint32_t ss, std::uint32_t se,
                                             std::int32_t al) {
  if (eobRun == 0) return;
  CodeEobRun(*this, handlers, eobRun);
  std::uint32_t row = eobRunStartRow;
  std::uint32_t column = eobRunStartColumn;
  std::uint32_t start = eobRunStartIndex;
  for (std::uint32_t n = 0; n < eobRun; ++n) {
    const std::int16_t* unit = DataUnit(row, column);
    for (std::uint32_t k = start; k <= se; ++k) {
      const std::int32_t value = AcPassValue(unit[k], al);
      if (value > 1 || value < -1) handlers.Ac(*this, -1, value < 0 ? -value : value, 1);
    }
    start = ss;
    if (++column == scanColumns) {
      column = 0;
      ++row;
    }
  }
  ResetEobRun();
}

}  // namespace Quorvante

#endif
