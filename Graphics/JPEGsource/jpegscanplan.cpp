#include "Graphics/JPEGsource/jpegscanplan.h"

#include "Graphics/JPEGsource/jpegencoder.h"

namespace Quorvante {

namespace {

struct PlanEntry {
  std::uint32_t componentMask;
  std::uint32_t spectralEnd;
  std::uint32_t successiveApproximation;
};

// All components in one scan.
const PlanEntry kSequentialPlan[] = {{kScanMaskAll, 0, 0}};
// The DC of all components together, then each component's AC band in a scan of its own.
const PlanEntry kProgressivePlan[] = {
    {kScanMaskAll, 0, 0}, {kScanMaskY, 63, 0}, {kScanMaskCb, 63, 0}, {kScanMaskCr, 63, 0}};

// How the plan check names one component in its messages.
struct ComponentRules {
  std::uint32_t mask;
  const char* duplicateDc;
  const char* acBeforeDc;
  const char* overlap;
  const char* incomplete;
};

const ComponentRules kComponentRules[3] = {
    {kScanMaskY, "Duplicate Y Component Scan", "AC Scan specified before DC scan for Y Component",
     "Duplicate or overlapping spectral selection for Y Component",
     "Y Component not completely defined by scans"},
    {kScanMaskCb, "Duplicate Cb Component Scan",
     "AC Scan specified before DC scan for cb Component",
     "Duplicate or overlapping spectral selection for Cb Component",
     "Cb Component not completely defined by scans"},
    {kScanMaskCr, "Duplicate Cr Component Scan",
     "AC Scan specified before DC scan for Cr Component",
     "Duplicate or overlapping spectral selection for Cr Component",
     "Cr Component not completely defined by scans"},
};

void Fail(const char* text) {
  throw JpegEncoder::JpegError(text);
}

// Frequencies of 3 cannot share an MCU with 2 or 4: the ratios would not be whole.
void CheckFrameSampling(const SamplingFrequencies (&sampling)[3]) {
  bool h3 = false, h24 = false, v3 = false, v24 = false;
  for (const SamplingFrequencies& s : sampling) {
    h3 |= s.horizontal == 3;
    h24 |= s.horizontal == 2 || s.horizontal == 4;
    v3 |= s.vertical == 3;
    v24 |= s.vertical == 2 || s.vertical == 4;
  }
  if (h3 && h24) Fail("Fractional Horizontal Sampling");
  if (v3 && v24) Fail("Fractional Vertical Sampling");
}

std::uint32_t ValidateProgressivePlan(ScanTable& scans, bool grayscale) {
  const int checkedComponents = grayscale ? 1 : 3;
  // Last coefficient covered so far per component; -1 = nothing yet. Grayscale files have
  // no chrominance to cover.
  std::int64_t last[3] = {-1, grayscale ? 63 : -1, grayscale ? 63 : -1};
  std::uint32_t scanCount = 0;
  while (scanCount < kScanTableSize && !(last[0] == 63 && last[1] == 63 && last[2] == 63)) {
    JpegScan& entry = scans[scanCount];
    if (entry.componentMask == 0) Fail("Scan contains no components");
    if (entry.successiveApproximation > kMaxSuccessiveApproximation) {
      Fail("Successive Approximation too large");
    }
    entry.successiveApproximationLow = static_cast<std::int32_t>(entry.successiveApproximation);
    entry.successiveApproximationHigh = 0;
    for (int c = 0; c < checkedComponents; ++c) {
      const ComponentRules& rules = kComponentRules[c];
      if ((entry.componentMask & rules.mask) == 0) continue;
      if (entry.spectralEnd == 0) {
        if (last[c] != -1) Fail(rules.duplicateDc);
        entry.spectralStart = 0;
        last[c] = 0;
      } else {
        if (entry.componentMask != rules.mask) Fail("Multiple Components in AC Scan");
        if (last[c] == -1) Fail(rules.acBeforeDc);
        if (entry.spectralEnd <= last[c]) Fail(rules.overlap);
        entry.spectralStart = static_cast<std::int32_t>(last[c] + 1);
        last[c] = entry.spectralEnd;
      }
    }
    ++scanCount;
  }
  for (int c = 0; c < checkedComponents; ++c) {
    if (last[c] != 63) Fail(kComponentRules[c].incomplete);
  }
  return scanCount;
}

std::uint32_t ValidateSequentialPlan(const ScanTable& scans) {
  const std::uint32_t m0 = scans[0].componentMask;
  const std::uint32_t m1 = scans[1].componentMask;
  const std::uint32_t m2 = scans[2].componentMask;
  if ((m0 | m1 | m2) != kScanMaskAll) Fail("Not all components specified in scans");
  if (m0 + m1 + m2 != kScanMaskAll) Fail("Component in more than one scan");
  return m2 != 0 ? 3 : m1 != 0 ? 2 : 1;
}

// An interleaved scan holds at most 10 data units per MCU; one component alone is not limited.
void CheckMcuSize(const ScanTable& scans, std::uint32_t scanCount,
                  const SamplingFrequencies (&sampling)[3]) {
  for (std::uint32_t i = 0; i < scanCount; ++i) {
    std::uint32_t units = 0;
    int count = 0;
    for (int c = 0; c < 3; ++c) {
      if ((scans[i].componentMask & kComponentRules[c].mask) == 0) continue;
      units += sampling[c].horizontal * sampling[c].vertical;
      ++count;
    }
    if (units > 10 && count > 1) Fail("Data units in MCU exceeds 10");
  }
}

}  // namespace

void ResetScanPlan(ScanTable& scans, bool progressive) {
  scans.fill(JpegScan());
  std::size_t index = 0;
  auto load = [&](const PlanEntry& entry) {
    scans[index].componentMask = entry.componentMask;
    scans[index].spectralEnd = entry.spectralEnd;
    scans[index].successiveApproximation = entry.successiveApproximation;
    ++index;
  };
  if (progressive) {
    for (const PlanEntry& entry : kProgressivePlan) load(entry);
  } else {
    for (const PlanEntry& entry : kSequentialPlan) load(entry);
  }
}

std::uint32_t ValidateScanPlan(ScanTable& scans, const SamplingFrequencies (&sampling)[3],
                               bool grayscale, bool progressive) {
  if (!grayscale) CheckFrameSampling(sampling);
  std::uint32_t scanCount;
  if (progressive) {
    scanCount = ValidateProgressivePlan(scans, grayscale);
  } else {
    scanCount = grayscale ? 1 : ValidateSequentialPlan(scans);
  }
  if (!grayscale) CheckMcuSize(scans, scanCount, sampling);
  return scanCount;
}

}  // namespace Quorvante
