// The stand-in's GDI object table. Handles are never reused, so a stale handle fails
// cleanly instead of reaching a newer object.
#ifndef RASQET_STANDIN_GDISTATE_H
#define RASQET_STANDIN_GDISTATE_H

#include <windows.h>

#include <cstdint>
#include <vector>

namespace standin {

enum class GdiKind { kDc, kBitmap, kPen, kBrush };

// Pixels are stored as 0x00RRGGBB, so their little-endian bytes read blue, green, red, 0.
struct BitmapData {
  int width = 0;
  int height = 0;
  bool monochrome = false;
  std::vector<uint32_t> pixels;
};

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushData {
  bool hollow = false;
  COLORREF color = 0;
};

struct DcData {
  bool memory = false;  // an information context draws nothing and holds no bitmap
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  POINT position = {0, 0};
};

struct GdiObject {
  explicit GdiObject(GdiKind k) : kind(k) {}
  GdiKind kind;
  bool stock = false;
  int selections = 0;  // device contexts this pen, brush or bitmap is selected into
  BitmapData bitmap;
  PenData pen;
  BrushData brush;
  DcData dc;
};

// Creates an object and returns its new handle.
HGDIOBJ AddObject(GdiObject object);
// The live object behind a handle, or null when the handle is unknown or of another kind.
GdiObject* FindObject(HGDIOBJ handle);
GdiObject* FindObject(HGDIOBJ handle, GdiKind kind);
void RemoveObject(HGDIOBJ handle);
// Stock objects by their GetStockObject index; the default bitmap of a memory context
// (1 x 1 monochrome) has its own accessor.
HGDIOBJ StockObject(int index);
HGDIOBJ DefaultBitmap();
long long BitmapPixelLimit();

}  // namespace standin

#endif
