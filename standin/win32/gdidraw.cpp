// The GDI drawing calls: they draw with the pen and brush selected into a memory device
// context onto the bitmap selected into it. An information context draws nothing.
#include <utility>

#include "gdiraster.h"

using standin::BitmapData;
using standin::BrushData;
using standin::Canvas;
using standin::GdiKind;
using standin::GdiObject;
using standin::PenData;

namespace {

struct Target {
  standin::DcData* dc = nullptr;
  BitmapData* bitmap = nullptr;
  PenData pen;
  BrushData brush;
};

// The context's bitmap, pen and brush, or false when the handle cannot be drawn on.
bool Resolve(HDC hdc, Target& target) {
  GdiObject* dc = standin::FindObject(hdc, GdiKind::kDc);
  if (dc == nullptr || !dc->dc.memory) return false;
  GdiObject* bitmap = standin::FindObject(dc->dc.bitmap, GdiKind::kBitmap);
  GdiObject* pen = standin::FindObject(dc->dc.pen, GdiKind::kPen);
  GdiObject* brush = standin::FindObject(dc->dc.brush, GdiKind::kBrush);
  if (bitmap == nullptr || pen == nullptr || brush == nullptr) return false;
  target.dc = &dc->dc;
  target.bitmap = &bitmap->bitmap;
  target.pen = pen->pen;
  target.brush = brush->brush;
  return true;
}

void Outline(Canvas& canvas, const POINT* apt, int cpt, bool closed, const PenData& pen) {
  for (int i = 0; i + 1 < cpt; ++i) canvas.Line(apt[i], apt[i + 1], pen);
  if (closed) canvas.Line(apt[cpt - 1], apt[0], pen);
}

}  // namespace

extern "C" {

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
  GdiObject* dc = standin::FindObject(hdc, GdiKind::kDc);
  if (dc == nullptr) return FALSE;
  if (lppt != nullptr) *lppt = dc->dc.position;
  dc->dc.position = {x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  Target t;
  if (!Resolve(hdc, t)) return FALSE;
  Canvas canvas(*t.bitmap);
  canvas.Line(t.dc->position, {x, y}, t.pen);
  t.dc->position = {x, y};
  return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* apt, int cpt) {
  Target t;
  if (!Resolve(hdc, t) || apt == nullptr || cpt < 2) return FALSE;
  Canvas canvas(*t.bitmap);
  Outline(canvas, apt, cpt, false, t.pen);
  return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
  Target t;
  if (!Resolve(hdc, t) || apt == nullptr || cpt < 2) return FALSE;
  Canvas canvas(*t.bitmap);
  if (!t.brush.hollow) canvas.FillPolygon(apt, cpt, t.brush.color);
  Outline(canvas, apt, cpt, true, t.pen);
  return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  Target t;
  if (!Resolve(hdc, t)) return FALSE;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  Canvas canvas(*t.bitmap);
  if (t.pen.style == PS_NULL) {
    // Without a pen the rectangle is one pixel smaller in each direction.
    if (!t.brush.hollow) canvas.Fill(left, top, right - 1, bottom - 1, t.brush.color);
    return TRUE;
  }
  if (!t.brush.hollow) canvas.Fill(left + 1, top + 1, right - 1, bottom - 1, t.brush.color);
  POINT corners[4] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
  Outline(canvas, corners, 4, true, t.pen);
  if (right - left == 1 || bottom - top == 1) canvas.Plot(right - 1, bottom - 1, t.pen.color);
  return TRUE;
}

BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  Target t;
  if (!Resolve(hdc, t)) return FALSE;
  Canvas canvas(*t.bitmap);
  canvas.Ellipse({left, top, right, bottom}, t.pen, t.brush);
  return TRUE;
}

BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Target t;
  if (!Resolve(hdc, t)) return FALSE;
  Canvas canvas(*t.bitmap);
  canvas.Arc({x1, y1, x2, y2}, {x3, y3}, {x4, y4}, t.pen);
  return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Target t;
  if (!Resolve(hdc, t) || x < 0 || y < 0 || x >= t.bitmap->width || y >= t.bitmap->height) {
    return CLR_INVALID;
  }
  Canvas canvas(*t.bitmap);
  canvas.Plot(x, y, color);
  return GetPixel(hdc, x, y);
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  Target t;
  if (!Resolve(hdc, t) || x < 0 || y < 0 || x >= t.bitmap->width || y >= t.bitmap->height) {
    return CLR_INVALID;
  }
  uint32_t pixel = t.bitmap->pixels[static_cast<size_t>(y) * t.bitmap->width + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
  Target t;
  GdiObject* brush = standin::FindObject(hbr, GdiKind::kBrush);
  if (!Resolve(hDC, t) || lprc == nullptr || brush == nullptr) return 0;
  if (!brush->brush.hollow) {
    Canvas canvas(*t.bitmap);
    canvas.Fill(lprc->left, lprc->top, lprc->right, lprc->bottom, brush->brush.color);
  }
  return 1;
}

}  // extern "C"
