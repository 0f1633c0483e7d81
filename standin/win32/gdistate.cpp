#include "gdistate.h"

#include <standin/win32standin.h>

#include <unordered_map>

namespace standin {
namespace {

struct GdiTable {
  std::unordered_map<uintptr_t, GdiObject> objects;
  uintptr_t nextHandle = 0x10000;
  std::unordered_map<int, HGDIOBJ> stock;
  HGDIOBJ defaultBitmap = nullptr;
  long long pixelLimit = 0;
};

GdiTable& Table() {
  static GdiTable table;
  return table;
}

HGDIOBJ AddStock(GdiObject object) {
  object.stock = true;
  return AddObject(object);
}

GdiObject MakePen(int style, COLORREF color) {
  GdiObject object{GdiKind::kPen};
  object.pen.style = style;
  object.pen.color = color;
  return object;
}

GdiObject MakeBrush(bool hollow, COLORREF color) {
  GdiObject object{GdiKind::kBrush};
  object.brush.hollow = hollow;
  object.brush.color = color;
  return object;
}

}  // namespace

HGDIOBJ AddObject(GdiObject object) {
  GdiTable& table = Table();
  uintptr_t handle = table.nextHandle;
  table.nextHandle += 4;
  table.objects.emplace(handle, std::move(object));
  return reinterpret_cast<HGDIOBJ>(handle);
}

GdiObject* FindObject(HGDIOBJ handle) {
  auto& objects = Table().objects;
  auto found = objects.find(reinterpret_cast<uintptr_t>(handle));
  return found == objects.end() ? nullptr : &found->second;
}

GdiObject* FindObject(HGDIOBJ handle, GdiKind kind) {
  GdiObject* object = FindObject(handle);
  return object != nullptr && object->kind == kind ? object : nullptr;
}

void RemoveObject(HGDIOBJ handle) {
  Table().objects.erase(reinterpret_cast<uintptr_t>(handle));
}

HGDIOBJ StockObject(int index) {
  GdiTable& table = Table();
  auto found = table.stock.find(index);
  if (found != table.stock.end()) return found->second;
  GdiObject object{GdiKind::kPen};
  switch (index) {
    case WHITE_BRUSH:
      object = MakeBrush(false, RGB(255, 255, 255));
      break;
    case LTGRAY_BRUSH:
      object = MakeBrush(false, RGB(192, 192, 192));
      break;
    case GRAY_BRUSH:
      object = MakeBrush(false, RGB(128, 128, 128));
      break;
    case DKGRAY_BRUSH:
      object = MakeBrush(false, RGB(64, 64, 64));
      break;
    case BLACK_BRUSH:
      object = MakeBrush(false, RGB(0, 0, 0));
      break;
    case NULL_BRUSH:
      object = MakeBrush(true, 0);
      break;
    case WHITE_PEN:
      object = MakePen(PS_SOLID, RGB(255, 255, 255));
      break;
    case BLACK_PEN:
      object = MakePen(PS_SOLID, RGB(0, 0, 0));
      break;
    case NULL_PEN:
      object = MakePen(PS_NULL, 0);
      break;
    default:
      return nullptr;
  }
  HGDIOBJ handle = AddStock(object);
  table.stock.emplace(index, handle);
  return handle;
}

HGDIOBJ DefaultBitmap() {
  GdiTable& table = Table();
  if (table.defaultBitmap == nullptr) {
    GdiObject object{GdiKind::kBitmap};
    object.bitmap.width = 1;
    object.bitmap.height = 1;
    object.bitmap.monochrome = true;
    object.bitmap.pixels.assign(1, 0);
    table.defaultBitmap = AddStock(object);
  }
  return table.defaultBitmap;
}

long long BitmapPixelLimit() {
  return Table().pixelLimit;
}

}  // namespace standin

extern "C" int StandinLiveGdiObjects(void) {
  int live = 0;
  for (const auto& entry : standin::Table().objects) {
    if (!entry.second.stock) ++live;
  }
  return live;
}

extern "C" void StandinSetBitmapPixelLimit(long long pixels) {
  standin::Table().pixelLimit = pixels;
}
