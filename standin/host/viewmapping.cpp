#include "viewmapping.h"

#include <cmath>

namespace rasqethost {

bool ViewMapping::Set(double wx0, double wy0, double wx1, double wy1, int px0, int py0, int px1,
                      int py1) {
  valid_ = false;
  for (double v : {wx0, wy0, wx1, wy1}) {
    if (!std::isfinite(v)) return false;
  }
  if (wx1 == wx0 || wy1 == wy0 || px1 == px0 || py1 == py0) return false;
  wx0_ = wx0;
  wy1_ = wy1;
  px0_ = px0;
  py0_ = py0;
  sx_ = (static_cast<double>(px1) - px0) / (wx1 - wx0);
  sy_ = (static_cast<double>(py1) - py0) / (wy1 - wy0);
  valid_ = std::isfinite(sx_) && std::isfinite(sy_);
  return valid_;
}

DevicePoint ViewMapping::ToDevice(Point p) const {
  return {px0_ + (p.x - wx0_) * sx_, py0_ + (wy1_ - p.y) * sy_};
}

int PixelOf(double device) {
  const double limit = 1 << 28;
  if (!(device > -limit)) return -(1 << 28);
  if (!(device < limit)) return 1 << 28;
  return static_cast<int>(std::floor(device));
}

}  // namespace rasqethost
