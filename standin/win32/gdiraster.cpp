#include "gdiraster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace standin {
namespace {

constexpr double kPi = 3.14159265358979323846;

__extension__ typedef __int128 Wide;  // products of two 32-bit spans need 65 bits

long long FloorDiv(Wide a, Wide b) {
  Wide q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The centred ellipse of radii rx, ry: the inclusive range of x offsets on the row at
// offset dy, or false if the row misses it. Strict leaves out points on the boundary.
bool EllipseRow(double rx, double ry, double dy, bool strict, double& half) {
  if (rx <= 0 || ry <= 0) return false;
  double v = 1.0 - (dy / ry) * (dy / ry);
  if (v < 0 || (strict && v <= 0)) return false;
  half = rx * std::sqrt(v);
  return true;
}

struct EllipseFrame {
  double cx, cy, rx, ry;
};

// Centre and radii through the centres of the box's outermost pixels.
EllipseFrame FrameOf(RECT box) {
  long long left = std::min(box.left, box.right), right = std::max(box.left, box.right);
  long long top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
  return {(left + right - 1) / 2.0, (top + bottom - 1) / 2.0, (right - left - 1) / 2.0,
          (bottom - top - 1) / 2.0};
}

// Inclusive pixel range of |x - cx| <= half (or < half when strict).
void RowRange(double cx, double half, bool strict, long long& x0, long long& x1) {
  const double eps = 1e-9;
  if (strict) {
    x0 = static_cast<long long>(std::floor(cx - half + eps)) + 1;
    x1 = static_cast<long long>(std::ceil(cx + half - eps)) - 1;
  } else {
    x0 = static_cast<long long>(std::ceil(cx - half - eps));
    x1 = static_cast<long long>(std::floor(cx + half + eps));
  }
}

}  // namespace

uint32_t Canvas::Ink(COLORREF color) const {
  uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  if (bitmap_.monochrome) return (r * 30 + g * 59 + b * 11) >= 12800 ? 0xFFFFFFu : 0u;
  return (r << 16) | (g << 8) | b;
}

void Canvas::Plot(long long x, long long y, COLORREF color) {
  if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height) return;
  bitmap_.pixels[static_cast<size_t>(y) * bitmap_.width + x] = Ink(color);
}

void Canvas::Span(long long y, long long x0, long long x1, COLORREF color) {
  if (y < 0 || y >= bitmap_.height) return;
  x0 = std::max<long long>(x0, 0);
  x1 = std::min<long long>(x1, bitmap_.width - 1);
  if (x0 > x1) return;
  uint32_t ink = Ink(color);
  uint32_t* row = &bitmap_.pixels[static_cast<size_t>(y) * bitmap_.width];
  std::fill(row + x0, row + x1 + 1, ink);
}

void Canvas::Fill(long long left, long long top, long long right, long long bottom,
                  COLORREF color) {
  top = std::max<long long>(top, 0);
  bottom = std::min<long long>(bottom, bitmap_.height);
  for (long long y = top; y < bottom; ++y) Span(y, left, right - 1, color);
}

void Canvas::Stamp(long long x, long long y, const PenData& pen) {
  if (pen.width <= 1) {
    Plot(x, y, pen.color);
    return;
  }
  // A round pen tip of the pen's diameter, so wide lines get round ends and joins.
  double r = pen.width / 2.0;
  long long reach = static_cast<long long>(std::ceil(r));
  for (long long dy = -reach; dy <= reach; ++dy) {
    double half;
    if (!EllipseRow(r, r, static_cast<double>(dy), false, half)) continue;
    long long x0, x1;
    RowRange(static_cast<double>(x), half, false, x0, x1);
    Span(y + dy, x0, x1, pen.color);
  }
}

void Canvas::Line(POINT a, POINT b, const PenData& pen) {
  if (pen.style == PS_NULL) return;
  long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
  bool xMajor = std::llabs(dx) >= std::llabs(dy);
  long long steps = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (steps == 0) return;
  long long major0 = xMajor ? a.x : a.y;
  long long majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
  long long minorDelta = xMajor ? dy : dx;
  // Only the steps whose major coordinate can touch the bitmap are visited, so a line far
  // outside costs nothing.
  long long margin = pen.width + 1;
  long long limit = (xMajor ? bitmap_.width : bitmap_.height) + margin;
  long long lo = 0, hi = steps - 1;
  if (majorStep > 0) {
    lo = std::max(lo, -margin - major0);
    hi = std::min(hi, limit - major0);
  } else {
    lo = std::max(lo, major0 - limit);
    hi = std::min(hi, major0 + margin);
  }
  for (long long i = lo; i <= hi; ++i) {
    long long major = major0 + i * majorStep;
    long long minor =
        (xMajor ? a.y : a.x) + FloorDiv(Wide(2) * i * minorDelta + steps, Wide(2) * steps);
    if (xMajor) {
      Stamp(major, minor, pen);
    } else {
      Stamp(minor, major, pen);
    }
  }
}

void Canvas::Ellipse(RECT box, const PenData& pen, const BrushData& brush) {
  bool outlined = pen.style != PS_NULL;
  RECT r = {std::min(box.left, box.right), std::min(box.top, box.bottom),
            std::max(box.left, box.right), std::max(box.top, box.bottom)};
  if (!outlined) {
    // Without a pen the figure is one pixel smaller in each direction.
    --r.right;
    --r.bottom;
  }
  if (r.right <= r.left || r.bottom <= r.top) return;
  box = r;
  EllipseFrame f = FrameOf(box);
  double w = outlined ? pen.width : 0.0;
  double outerX = f.rx + (outlined ? w / 2 : 0.5), outerY = f.ry + (outlined ? w / 2 : 0.5);
  double innerX = f.rx - w / 2, innerY = f.ry - w / 2;
  long long y0 = std::max<long long>(0, static_cast<long long>(std::floor(f.cy - outerY)));
  long long y1 =
      std::min<long long>(bitmap_.height - 1, static_cast<long long>(std::ceil(f.cy + outerY)));
  for (long long y = y0; y <= y1; ++y) {
    double dy = y - f.cy, outerHalf, innerHalf;
    if (!EllipseRow(outerX, outerY, dy, false, outerHalf)) continue;
    long long ox0, ox1;
    RowRange(f.cx, outerHalf, false, ox0, ox1);
    if (!outlined) {
      if (!brush.hollow) Span(y, ox0, ox1, brush.color);
      continue;
    }
    if (!EllipseRow(innerX, innerY, dy, true, innerHalf)) {
      Span(y, ox0, ox1, pen.color);
      continue;
    }
    long long ix0, ix1;
    RowRange(f.cx, innerHalf, true, ix0, ix1);
    if (ix0 > ix1) {
      Span(y, ox0, ox1, pen.color);
      continue;
    }
    if (!brush.hollow) Span(y, ix0, ix1, brush.color);
    Span(y, ox0, ix0 - 1, pen.color);
    Span(y, ix1 + 1, ox1, pen.color);
  }
}

void Canvas::Arc(RECT box, POINT start, POINT end, const PenData& pen) {
  if (pen.style == PS_NULL) return;
  EllipseFrame f = FrameOf(box);
  double w = pen.width;
  double outerX = f.rx + w / 2, outerY = f.ry + w / 2;
  double innerX = f.rx - w / 2, innerY = f.ry - w / 2;
  // Angles as seen on the screen: y grows downwards, so it is negated.
  double from = std::atan2(f.cy - start.y, start.x - f.cx);
  double sweep = std::fmod(std::atan2(f.cy - end.y, end.x - f.cx) - from + 4 * kPi, 2 * kPi);
  bool whole = sweep == 0.0;
  long long y0 = std::max<long long>(0, static_cast<long long>(std::floor(f.cy - outerY)));
  long long y1 =
      std::min<long long>(bitmap_.height - 1, static_cast<long long>(std::ceil(f.cy + outerY)));
  for (long long y = y0; y <= y1; ++y) {
    double dy = y - f.cy, outerHalf, innerHalf;
    if (!EllipseRow(outerX, outerY, dy, false, outerHalf)) continue;
    long long ox0, ox1, ix0 = 1, ix1 = 0;
    RowRange(f.cx, outerHalf, false, ox0, ox1);
    if (EllipseRow(innerX, innerY, dy, true, innerHalf)) RowRange(f.cx, innerHalf, true, ix0, ix1);
    ox0 = std::max<long long>(ox0, 0);
    ox1 = std::min<long long>(ox1, bitmap_.width - 1);
    for (long long x = ox0; x <= ox1; ++x) {
      if (x >= ix0 && x <= ix1) {
        x = ix1;
        continue;
      }
      double angle = std::atan2(f.cy - y, x - f.cx);
      if (whole || std::fmod(angle - from + 4 * kPi, 2 * kPi) <= sweep) Plot(x, y, pen.color);
    }
  }
}

void Canvas::FillPolygon(const POINT* points, int count, COLORREF color) {
  if (count < 3) return;
  long long top = points[0].y, bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min<long long>(top, points[i].y);
    bottom = std::max<long long>(bottom, points[i].y);
  }
  top = std::max<long long>(top, 0);
  bottom = std::min<long long>(bottom, bitmap_.height);
  std::vector<double> crossings;
  for (long long y = top; y < bottom; ++y) {
    double yc = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& p = points[i];
      const POINT& q = points[(i + 1) % count];
      if ((p.y <= yc) == (q.y <= yc)) continue;
      crossings.push_back(p.x + (yc - p.y) * (static_cast<double>(q.x) - p.x) / (q.y - p.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      // Pixels whose centre x + 0.5 lies in [a, b).
      long long x0 = static_cast<long long>(std::ceil(crossings[i] - 0.5));
      long long x1 = static_cast<long long>(std::ceil(crossings[i + 1] - 0.5)) - 1;
      Span(y, x0, x1, color);
    }
  }
}

}  // namespace standin
