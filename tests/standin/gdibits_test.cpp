// GetDIBits row order and failure results, and the lifetimes of GDI objects.
#include <gtest/gtest.h>

#include <cstring>

#include "gdi_test_support.h"

namespace {

BITMAPINFO Header32(LONG width, LONG height) {
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A 3 x 4 bitmap whose row y is filled with the colour RGB(y + 1, 2, 3), out of any context.
class RowBitmap : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, 3, 4);
    HGDIOBJ previous = SelectObject(dc_, bitmap_);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 3; ++x) SetPixel(dc_, x, y, RGB(y + 1, 2, 3));
    }
    SelectObject(dc_, previous);
  }
  void TearDown() override {
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    DeleteDC(screen_);
    EXPECT_EQ(StandinLiveGdiObjects(), 0);
  }
  // The red value of the first pixel of each row read.
  std::vector<int> Rows(UINT start, UINT lines, LONG height, int* result) {
    std::vector<uint32_t> pixels(3 * 8, 0xEEEEEEEE);
    BITMAPINFO info = Header32(3, height);
    *result = GetDIBits(dc_, bitmap_, start, lines, pixels.data(), &info, DIB_RGB_COLORS);
    std::vector<int> reds;
    for (UINT i = 0; i < lines; ++i) {
      uint32_t pixel = pixels[i * 3];
      reds.push_back(pixel == 0xEEEEEEEE ? -1 : static_cast<int>((pixel >> 16) & 0xFF));
    }
    return reds;
  }

  HDC screen_ = nullptr, dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
};

TEST_F(RowBitmap, RowOrderFollowsTheHeightSign) {
  struct Case {
    UINT start, lines;
    LONG height;
    int result;
    std::vector<int> reds;
  };
  const Case cases[] = {
      {0, 4, -4, 4, {1, 2, 3, 4}},  // top-down
      {0, 4, 4, 4, {4, 3, 2, 1}},   // bottom-up
      {1, 2, -4, 2, {2, 3}},        // top-down from the second row
      {1, 2, 4, 2, {3, 2}},         // bottom-up from the second scan line from the bottom
      {0, 2, -3, 2, {1, 2}},  // a shorter top-down DIB: the top rows, as a band read takes them
      {0, 2, 3, 2, {4, 3}},   // a shorter bottom-up DIB: the bottom rows
      {2, 4, 8, 2, {2, 1, -1, -1}},  // a taller one: no rows beyond the bitmap's top
      {2, 5, -4, 2, {3, 4, -1, -1, -1}},
      {4, 1, -4, 0, {-1}},  // past the end
  };
  for (const Case& c : cases) {
    int result = -1;
    EXPECT_EQ(Rows(c.start, c.lines, c.height, &result), c.reds) << c.start << " " << c.height;
    EXPECT_EQ(result, c.result) << c.start << " " << c.height;
  }
}

TEST_F(RowBitmap, PixelBytesAreBlueGreenRedZero) {
  uint8_t bytes[3 * 4 * 4];
  BITMAPINFO info = Header32(3, -4);
  ASSERT_EQ(GetDIBits(dc_, bitmap_, 0, 4, bytes, &info, DIB_RGB_COLORS), 4);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[1], 2);
  EXPECT_EQ(bytes[2], 1);
  EXPECT_EQ(bytes[3], 0);
}

TEST_F(RowBitmap, BadArgumentsReturnZero) {
  uint32_t pixels[12];
  BITMAPINFO good = Header32(3, -4);
  EXPECT_EQ(GetDIBits(nullptr, bitmap_, 0, 4, pixels, &good, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc_, nullptr, 0, 4, pixels, &good, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc_, reinterpret_cast<HBITMAP>(dc_), 0, 4, pixels, &good, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc_, bitmap_, 0, 4, pixels, nullptr, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(dc_, bitmap_, 0, 4, pixels, &good, 7), 0);
  struct Broken {
    const char* what;
    void (*spoil)(BITMAPINFOHEADER&);
  };
  const Broken broken[] = {
      {"size", [](BITMAPINFOHEADER& h) { h.biSize = 12; }},
      {"planes", [](BITMAPINFOHEADER& h) { h.biPlanes = 2; }},
      {"24 bits", [](BITMAPINFOHEADER& h) { h.biBitCount = 24; }},
      {"compression", [](BITMAPINFOHEADER& h) { h.biCompression = 3; }},
      {"width", [](BITMAPINFOHEADER& h) { h.biWidth = 0; }},
      {"height", [](BITMAPINFOHEADER& h) { h.biHeight = 0; }},
  };
  for (const Broken& b : broken) {
    BITMAPINFO info = Header32(3, -4);
    b.spoil(info.bmiHeader);
    EXPECT_EQ(GetDIBits(dc_, bitmap_, 0, 4, pixels, &info, DIB_RGB_COLORS), 0) << b.what;
  }
}

TEST_F(RowBitmap, SelectedBitmapCannotBeRead) {
  uint32_t pixels[12];
  BITMAPINFO info = Header32(3, -4);
  HGDIOBJ previous = SelectObject(dc_, bitmap_);
  EXPECT_EQ(GetDIBits(dc_, bitmap_, 0, 4, pixels, &info, DIB_RGB_COLORS), 0);
  SelectObject(dc_, previous);
  EXPECT_EQ(GetDIBits(dc_, bitmap_, 0, 4, pixels, &info, DIB_RGB_COLORS), 4);
}

TEST_F(RowBitmap, NullBufferReportsTheFormat) {
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_NE(GetDIBits(dc_, bitmap_, 0, 4, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biHeight, 4);
  EXPECT_EQ(info.bmiHeader.biBitCount, 32);
}

TEST(GdiLifetimes, ObjectsCountUntilDeleted) {
  ASSERT_EQ(StandinLiveGdiObjects(), 0);
  HDC screen = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(StandinLiveGdiObjects(), 5);

  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  ASSERT_NE(oldBitmap, nullptr);
  ASSERT_NE(oldPen, nullptr);
  // Selected objects are not deleted.
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(StandinLiveGdiObjects(), 5);
  // A bitmap goes into one memory context at a time, never into an information context.
  HDC other = CreateCompatibleDC(screen);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  EXPECT_EQ(SelectObject(screen, bitmap), nullptr);
  EXPECT_TRUE(DeleteDC(other));

  EXPECT_EQ(SelectObject(dc, oldBitmap), bitmap);
  EXPECT_EQ(SelectObject(dc, oldPen), pen);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteDC(screen));
  EXPECT_EQ(StandinLiveGdiObjects(), 0);

  // Stale and foreign handles fail.
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_FALSE(DeleteObject(dc));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
  // Stock objects may be deleted to no effect.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
  EXPECT_EQ(StandinLiveGdiObjects(), 0);
}

TEST(GdiLifetimes, DeletingAContextReleasesItsSelection) {
  HDC dc = CreateCompatibleDC(nullptr);
  HDC screen = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 2);
  SelectObject(dc, bitmap);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(screen);
  EXPECT_EQ(StandinLiveGdiObjects(), 0);
}

TEST(GdiLifetimes, BitmapCreationFailures) {
  HDC screen = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(CreateICA("WINSPOOL", nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 4, 4), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(screen, -1, 4), nullptr);
  StandinSetBitmapPixelLimit(100);
  EXPECT_EQ(CreateCompatibleBitmap(screen, 11, 10), nullptr);
  HBITMAP fits = CreateCompatibleBitmap(screen, 10, 10);
  EXPECT_NE(fits, nullptr);
  StandinSetBitmapPixelLimit(0);
  DeleteObject(fits);
  // A zero size gives the stock 1 x 1 bitmap, which counts as no new object.
  EXPECT_NE(CreateCompatibleBitmap(screen, 0, 5), nullptr);
  DeleteDC(screen);
  EXPECT_EQ(StandinLiveGdiObjects(), 0);
}

}  // namespace
