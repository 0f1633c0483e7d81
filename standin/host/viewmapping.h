// The mapping SetBMView sets up: the world window (x0, y0)-(x1, y1), y upwards, onto the
// pixel rectangle (x0, y0)-(x1, y1), row 0 at the top. The window's left edge falls on the
// rectangle's left pixel edge x0 and its right edge on x1, the window's top edge on y0 and
// its bottom edge on y1; the far edges are the rectangle's exclusive bounds, so a W-wide
// rectangle spans pixel columns x0 to x1 - 1. x and y scale separately: the window shows
// undistorted only when its aspect ratio matches the rectangle's.
#ifndef RASQET_STANDIN_HOST_VIEWMAPPING_H
#define RASQET_STANDIN_HOST_VIEWMAPPING_H

#include "drawing.h"

namespace rasqethost {

struct DevicePoint {
  double x = 0;
  double y = 0;
};

class ViewMapping {
 public:
  // False (and the mapping unusable) for a window or rectangle without area or with
  // values that are not numbers.
  bool Set(double wx0, double wy0, double wx1, double wy1, int px0, int py0, int px1, int py1);
  bool valid() const { return valid_; }
  DevicePoint ToDevice(Point p) const;
  double scaleX() const { return sx_; }
  double scaleY() const { return sy_; }

 private:
  bool valid_ = false;
  double wx0_ = 0, wy1_ = 0;
  double px0_ = 0, py0_ = 0;
  double sx_ = 1, sy_ = 1;
};

// A device coordinate as a GDI pixel number, kept well inside the 32-bit range.
int PixelOf(double device);

}  // namespace rasqethost

#endif
