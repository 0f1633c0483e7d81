// Creation, selection and deletion of device contexts, bitmaps, pens and brushes.
#include <strings.h>

#include <new>
#include <stdexcept>

#include "gdistate.h"

using standin::GdiKind;
using standin::GdiObject;

namespace {

HDC NewDc(bool memory) {
  GdiObject object{GdiKind::kDc};
  object.dc.memory = memory;
  object.dc.pen = standin::StockObject(BLACK_PEN);
  object.dc.brush = standin::StockObject(WHITE_BRUSH);
  if (memory) object.dc.bitmap = standin::DefaultBitmap();
  for (HGDIOBJ selected : {object.dc.pen, object.dc.brush, object.dc.bitmap}) {
    if (GdiObject* target = standin::FindObject(selected)) ++target->selections;
  }
  return static_cast<HDC>(standin::AddObject(object));
}

// The slot of a device context that an object of this kind goes into.
HGDIOBJ* SlotFor(standin::DcData& dc, GdiKind kind) {
  switch (kind) {
    case GdiKind::kBitmap:
      return &dc.bitmap;
    case GdiKind::kPen:
      return &dc.pen;
    case GdiKind::kBrush:
      return &dc.brush;
    default:
      return nullptr;
  }
}

}  // namespace

extern "C" {

HDC WINAPI CreateICA(LPCSTR pszDriver, LPCSTR, LPCSTR, const DEVMODEA*) {
  // Only the display is known here; printers and plotters are not.
  if (pszDriver == nullptr || strcasecmp(pszDriver, "DISPLAY") != 0) return nullptr;
  return NewDc(false);
}

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc != nullptr && standin::FindObject(hdc, GdiKind::kDc) == nullptr) return nullptr;
  return NewDc(true);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  GdiObject* dc = standin::FindObject(hdc, GdiKind::kDc);
  if (dc == nullptr || cx < 0 || cy < 0) return nullptr;
  if (cx == 0 || cy == 0) return static_cast<HBITMAP>(standin::DefaultBitmap());
  // A memory context makes bitmaps in the format of the bitmap selected into it: a fresh
  // one still holds its 1 x 1 monochrome default, as on Windows.
  bool monochrome = false;
  if (dc->dc.memory) {
    GdiObject* selected = standin::FindObject(dc->dc.bitmap, GdiKind::kBitmap);
    monochrome = selected == nullptr || selected->bitmap.monochrome;
  }
  long long pixels = static_cast<long long>(cx) * cy;
  long long limit = standin::BitmapPixelLimit();
  if (limit > 0 && pixels > limit) return nullptr;
  GdiObject object{GdiKind::kBitmap};
  object.bitmap.width = cx;
  object.bitmap.height = cy;
  object.bitmap.monochrome = monochrome;
  try {
    object.bitmap.pixels.assign(static_cast<size_t>(pixels), 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  } catch (const std::length_error&) {
    return nullptr;
  }
  return static_cast<HBITMAP>(standin::AddObject(std::move(object)));
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
  if (iStyle != PS_SOLID && iStyle != PS_NULL) return nullptr;
  GdiObject object{GdiKind::kPen};
  object.pen.style = iStyle;
  object.pen.width = cWidth < 1 ? 1 : cWidth;
  object.pen.color = color & 0xFFFFFF;
  return static_cast<HPEN>(standin::AddObject(object));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  GdiObject object{GdiKind::kBrush};
  object.brush.color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(standin::AddObject(object));
}

HGDIOBJ WINAPI GetStockObject(int i) {
  return standin::StockObject(i);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  GdiObject* dc = standin::FindObject(hdc, GdiKind::kDc);
  GdiObject* object = standin::FindObject(h);
  if (dc == nullptr || object == nullptr) return nullptr;
  HGDIOBJ* slot = SlotFor(dc->dc, object->kind);
  if (slot == nullptr) return nullptr;
  if (object->kind == GdiKind::kBitmap) {
    // Bitmaps go only into memory contexts, and into one at a time.
    if (!dc->dc.memory) return nullptr;
    if (!object->stock && object->selections > 0 && *slot != h) return nullptr;
  }
  HGDIOBJ previous = *slot;
  if (previous == h) return previous;
  if (GdiObject* old = standin::FindObject(previous)) --old->selections;
  ++object->selections;
  *slot = h;
  return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  GdiObject* object = standin::FindObject(ho);
  if (object == nullptr || object->kind == GdiKind::kDc) return FALSE;
  if (object->stock) return TRUE;
  // An object still selected into a device context stays alive.
  if (object->selections > 0) return FALSE;
  standin::RemoveObject(ho);
  return TRUE;
}

BOOL WINAPI DeleteDC(HDC hdc) {
  GdiObject* dc = standin::FindObject(hdc, GdiKind::kDc);
  if (dc == nullptr) return FALSE;
  for (HGDIOBJ selected : {dc->dc.pen, dc->dc.brush, dc->dc.bitmap}) {
    if (GdiObject* target = standin::FindObject(selected)) --target->selections;
  }
  standin::RemoveObject(hdc);
  return TRUE;
}

}  // extern "C"
