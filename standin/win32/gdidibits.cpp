// GetDIBits: copies a bitmap's rows into a 32-bit device-independent layout.
//
// Scan lines count from the bitmap's bottom row when the DIB's height is positive (bottom-up)
// and from its top row when the height is negative (top-down); the first line copied goes to
// the start of the buffer either way. The DIB's height bounds the lines the buffer holds, so
// a shorter top-down DIB takes the bitmap's top rows and a shorter bottom-up one its bottom
// rows.
#include <cstdlib>
#include <cstring>

#include "gdistate.h"

using standin::GdiKind;
using standin::GdiObject;

extern "C" int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                                LPBITMAPINFO lpbmi, UINT usage) {
  if (standin::FindObject(hdc, GdiKind::kDc) == nullptr) return 0;
  GdiObject* object = standin::FindObject(hbm, GdiKind::kBitmap);
  if (object == nullptr || lpbmi == nullptr) return 0;
  if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return 0;
  BITMAPINFOHEADER& header = lpbmi->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  // The bitmap must not be selected into a device context while it is read.
  if (!object->stock && object->selections > 0) return 0;
  const standin::BitmapData& bitmap = object->bitmap;

  if (lpvBits == nullptr) {
    // Only the format is asked for.
    if (header.biBitCount == 0) {
      header.biWidth = bitmap.width;
      header.biHeight = bitmap.height;
      header.biPlanes = 1;
      header.biBitCount = bitmap.monochrome ? 1 : 32;
      header.biCompression = BI_RGB;
    }
    if (header.biBitCount != 32 || header.biWidth <= 0 || header.biHeight == 0) return 1;
    header.biSizeImage = static_cast<DWORD>(header.biWidth) * 4u *
                         static_cast<DWORD>(std::labs(static_cast<long>(header.biHeight)));
    return 1;
  }

  // Only the 32-bit uncompressed layout is known here.
  if (header.biPlanes != 1 || header.biBitCount != 32 || header.biCompression != BI_RGB) return 0;
  if (header.biWidth <= 0 || header.biHeight == 0) return 0;
  bool topDown = header.biHeight < 0;
  long long dibHeight = std::llabs(static_cast<long long>(header.biHeight));
  long long copyWidth = header.biWidth < bitmap.width ? header.biWidth : bitmap.width;
  size_t stride = static_cast<size_t>(header.biWidth) * 4;
  auto* out = static_cast<unsigned char*>(lpvBits);
  int copied = 0;
  for (long long i = 0; i < static_cast<long long>(cLines); ++i) {
    long long scan = static_cast<long long>(start) + i;
    if (scan >= dibHeight) break;
    long long row = topDown ? scan : bitmap.height - 1 - scan;
    if (row < 0) break;
    if (row >= bitmap.height) continue;
    std::memcpy(out + static_cast<size_t>(i) * stride,
                &bitmap.pixels[static_cast<size_t>(row) * bitmap.width],
                static_cast<size_t>(copyWidth) * 4);
    ++copied;
  }
  return copied;
}
