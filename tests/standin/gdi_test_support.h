// Helpers for the GDI stand-in tests: a memory context with a colour bitmap selected, and
// pixel reads through GetDIBits.
#ifndef RASQET_TESTS_STANDIN_GDI_TEST_SUPPORT_H
#define RASQET_TESTS_STANDIN_GDI_TEST_SUPPORT_H

#include <standin/selectedtools.h>
#include <standin/win32standin.h>

#include <cstdint>
#include <string>
#include <vector>

namespace standintest {

// A W x H colour bitmap in a memory context, cleared to white; everything is released on
// destruction.
class Surface {
 public:
  Surface(int width, int height) : width_(width), height_(height) {
    screen_ = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    previous_ = SelectObject(dc_, bitmap_);
    RECT all = {0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~Surface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    DeleteDC(screen_);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  HDC dc() const { return dc_; }
  // Rows as text, '.' for white and '#' for any other colour.
  std::vector<std::string> Picture() {
    std::vector<std::string> rows;
    for (int y = 0; y < height_; ++y) {
      std::string row;
      for (int x = 0; x < width_; ++x) row += GetPixel(dc_, x, y) == RGB(255, 255, 255) ? '.' : '#';
      rows.push_back(row);
    }
    return rows;
  }
  int CountInk() {
    int count = 0;
    for (const std::string& row : Picture()) {
      for (char c : row) count += c == '#';
    }
    return count;
  }

 private:
  int width_, height_;
  HDC screen_, dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

using Tools = standin::SelectedTools;

}  // namespace standintest

#endif
