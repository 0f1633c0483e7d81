// Scan plans: the default plans of the two modes and the check of a caller's plan, which
// also derives each entry's first coefficient and first pass.
#ifndef QUORVANTE_JPEGSCANPLAN_H
#define QUORVANTE_JPEGSCANPLAN_H

#include <array>
#include <cstdint>

#include "Graphics/JPEGsource/jpegscan.h"

namespace Quorvante {

using ScanTable = std::array<JpegScan, kScanTableSize>;

struct SamplingFrequencies {
  std::uint32_t horizontal = 1;
  std::uint32_t vertical = 1;
};

// Clears every entry and loads the default plan of the mode.
void ResetScanPlan(ScanTable& scans, bool progressive);

// Checks the plan for a write (sampling is Y, Cb, Cr) and returns the number of entries the
// write uses; sets spectralStart and the first pass (Ah 0, Al = successive approximation) of
// each progressive entry. Throws JpegEncoder::JpegError on the first failed check.
std::uint32_t ValidateScanPlan(ScanTable& scans, const SamplingFrequencies (&sampling)[3],
                               bool grayscale, bool progressive);

}  // namespace Quorvante

#endif
