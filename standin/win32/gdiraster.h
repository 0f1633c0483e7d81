// Pixel-level drawing on a stand-in bitmap, with the Win32 conventions the module's host
// relies on: lines leave out their last point, fills leave out the right and bottom edges,
// arcs run counter-clockwise as seen on the screen. Everything is clipped to the bitmap.
#ifndef RASQET_STANDIN_GDIRASTER_H
#define RASQET_STANDIN_GDIRASTER_H

#include "gdistate.h"

namespace standin {

class Canvas {
 public:
  explicit Canvas(BitmapData& bitmap) : bitmap_(bitmap) {}

  void Plot(long long x, long long y, COLORREF color);
  // Pixels x0 .. x1 inclusive of row y.
  void Span(long long y, long long x0, long long x1, COLORREF color);
  // Pixels left .. right - 1 of rows top .. bottom - 1.
  void Fill(long long left, long long top, long long right, long long bottom, COLORREF color);
  // From a up to, but not including, b, stamped with the pen's width.
  void Line(POINT a, POINT b, const PenData& pen);
  // Ellipse within the box (right and bottom edges excluded); outline with the pen unless
  // null, interior with the brush unless hollow.
  void Ellipse(RECT box, const PenData& pen, const BrushData& brush);
  // The part of the box's ellipse from the ray through start counter-clockwise to the ray
  // through end; the whole ellipse when both rays coincide.
  void Arc(RECT box, POINT start, POINT end, const PenData& pen);
  // Even-odd interior of the closed polygon, sampled at pixel centres.
  void FillPolygon(const POINT* points, int count, COLORREF color);

 private:
  uint32_t Ink(COLORREF color) const;
  void Stamp(long long x, long long y, const PenData& pen);

  BitmapData& bitmap_;
};

}  // namespace standin

#endif
