// One entry of the encoder's scan table: the components of a scan and, for progressive
// files, its spectral band and successive-approximation passes.
#ifndef QUORVANTE_JPEGSCAN_H
#define QUORVANTE_JPEGSCAN_H

#include <cstdint>

namespace Quorvante {

// Component bits of a scan mask: the bit numbered by the component identifier.
constexpr std::uint32_t kScanMaskY = 2;
constexpr std::uint32_t kScanMaskCb = 4;
constexpr std::uint32_t kScanMaskCr = 8;
constexpr std::uint32_t kScanMaskAll = kScanMaskY | kScanMaskCb | kScanMaskCr;

constexpr std::uint32_t kScanTableSize = 256;
constexpr std::uint32_t kMaxSuccessiveApproximation = 13;

struct JpegScan {
  std::uint32_t componentMask = 0;  // 0 = empty entry
  std::int32_t spectralStart = 0;   // derived by the plan's validation, never set by callers
  std::uint32_t spectralEnd = 0;    // 0 for a DC scan
  std::uint32_t successiveApproximation = 0;     // refinement passes after the first
  std::int32_t successiveApproximationHigh = 0;  // Ah of the pass being written
  std::int32_t successiveApproximationLow = 0;   // Al of the pass being written; -1 when done
};

}  // namespace Quorvante

#endif
