// Lines, fills, ellipses and arcs of the GDI stand-in, checked pixel by pixel on small
// bitmaps.
#include <gtest/gtest.h>

#include <cmath>

#include "gdi_test_support.h"

namespace {

using standintest::Surface;
using standintest::Tools;

using Picture = std::vector<std::string>;

TEST(GdiLines, LeaveOutTheirLastPoint) {
  struct Case {
    POINT from, to;
    Picture expected;
  };
  const Case cases[] = {
      {{1, 1}, {5, 1}, {"......", ".####.", "......", "......"}},
      {{5, 2}, {1, 2}, {"......", "......", "..####", "......"}},
      {{0, 0}, {4, 3}, {"#.....", ".#....", "..##..", "......"}},
      {{2, 0}, {2, 3}, {"..#...", "..#...", "..#...", "......"}},
      {{3, 3}, {3, 3}, {"......", "......", "......", "......"}},
  };
  for (const Case& c : cases) {
    Surface surface(6, 4);
    Tools tools(surface.dc(), PS_SOLID, 1, RGB(0, 0, 0), false, 0);
    ASSERT_TRUE(MoveToEx(surface.dc(), c.from.x, c.from.y, nullptr));
    ASSERT_TRUE(LineTo(surface.dc(), c.to.x, c.to.y));
    EXPECT_EQ(surface.Picture(), c.expected) << c.from.x << "," << c.from.y;
  }
}

TEST(GdiLines, CurrentPositionFollowsLineTo) {
  Surface surface(4, 4);
  POINT previous = {-1, -1};
  MoveToEx(surface.dc(), 1, 2, nullptr);
  LineTo(surface.dc(), 3, 2);
  MoveToEx(surface.dc(), 0, 0, &previous);
  EXPECT_EQ(previous.x, 3);
  EXPECT_EQ(previous.y, 2);
}

TEST(GdiLines, WidePenCoversItsWidthAcrossTheLine) {
  Surface surface(20, 11);
  Tools tools(surface.dc(), PS_SOLID, 5, RGB(200, 0, 0), false, 0);
  MoveToEx(surface.dc(), 5, 5, nullptr);
  LineTo(surface.dc(), 15, 5);
  Picture picture = surface.Picture();
  for (int y = 0; y < 11; ++y) EXPECT_EQ(picture[y][10] == '#', y >= 3 && y <= 7) << y;
  EXPECT_EQ(GetPixel(surface.dc(), 10, 5), RGB(200, 0, 0));
}

TEST(GdiLines, FarOutsideEndsAreClippedNotWalked) {
  Surface surface(8, 8);
  MoveToEx(surface.dc(), -2000000000, 3, nullptr);
  LineTo(surface.dc(), 2000000000, 3);
  Picture picture = surface.Picture();
  EXPECT_EQ(picture[3], "########");
  EXPECT_EQ(surface.CountInk(), 8);
}

TEST(GdiLines, NullPenDrawsNothing) {
  Surface surface(5, 5);
  SelectObject(surface.dc(), GetStockObject(NULL_PEN));
  MoveToEx(surface.dc(), 0, 0, nullptr);
  LineTo(surface.dc(), 4, 4);
  EXPECT_EQ(surface.CountInk(), 0);
  SelectObject(surface.dc(), GetStockObject(BLACK_PEN));
}

TEST(GdiFills, PolygonFillsInsideAndOutlinesWithThePen) {
  Surface surface(7, 6);
  Tools tools(surface.dc(), PS_SOLID, 1, RGB(0, 0, 255), true, RGB(0, 255, 0));
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  ASSERT_TRUE(Polygon(surface.dc(), square, 4));
  EXPECT_EQ(surface.Picture(),
            (Picture{".......", ".#####.", ".#####.", ".#####.", ".#####.", "......."}));
  EXPECT_EQ(GetPixel(surface.dc(), 1, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(surface.dc(), 3, 2), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(surface.dc(), 5, 4), RGB(0, 0, 255));
}

TEST(GdiFills, PolygonFillAloneLeavesOutRightAndBottomEdges) {
  Surface surface(7, 6);
  Tools tools(surface.dc(), PS_NULL, 1, 0, true, RGB(0, 0, 0));
  const POINT square[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
  Polygon(surface.dc(), square, 4);
  EXPECT_EQ(surface.Picture(),
            (Picture{".......", ".####..", ".####..", ".####..", ".......", "......."}));
}

TEST(GdiFills, SelfCrossingPolygonUsesEvenOdd) {
  // A pentagram's inner pentagon lies inside two edges' windings: even-odd leaves it empty.
  Surface surface(41, 41);
  Tools tools(surface.dc(), PS_NULL, 1, 0, true, RGB(0, 0, 0));
  POINT star[5];
  for (int i = 0; i < 5; ++i) {
    double angle = 3.14159265358979 / 2 + i * 4 * 3.14159265358979 / 5;
    star[i] = {static_cast<LONG>(std::lround(20 + 19 * std::cos(angle))),
               static_cast<LONG>(std::lround(20 - 19 * std::sin(angle)))};
  }
  Polygon(surface.dc(), star, 5);
  EXPECT_NE(GetPixel(surface.dc(), 20, 20), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(surface.dc(), 20, 5), RGB(0, 0, 0));
}

TEST(GdiFills, RectangleAndFillRectEdges) {
  Surface surface(6, 5);
  {
    Tools tools(surface.dc(), PS_SOLID, 1, RGB(0, 0, 0), false, 0);
    Rectangle(surface.dc(), 0, 0, 4, 4);
  }
  EXPECT_EQ(surface.Picture(), (Picture{"####..", "#..#..", "#..#..", "####..", "......"}));
  RECT r = {4, 1, 6, 3};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_NE(FillRect(surface.dc(), &r, red), 0);
  DeleteObject(red);
  EXPECT_EQ(surface.Picture(), (Picture{"####..", "#..###", "#..###", "####..", "......"}));
}

TEST(GdiFills, EllipseIsSymmetricAndStaysInItsBox) {
  Surface surface(13, 9);
  Tools tools(surface.dc(), PS_SOLID, 1, RGB(0, 0, 0), true, RGB(9, 9, 9));
  Ellipse(surface.dc(), 1, 1, 12, 8);
  Picture picture = surface.Picture();
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 13; ++x) {
      bool inBox = x >= 1 && x <= 11 && y >= 1 && y <= 7;
      if (!inBox) {
        EXPECT_EQ(picture[y][x], '.') << x << "," << y;
      }
      EXPECT_EQ(picture[y][x], picture[y][12 - x]) << x << "," << y;
      EXPECT_EQ(picture[y][x], picture[8 - y][x]) << x << "," << y;
    }
  }
  EXPECT_EQ(picture[4][1], '#');
  EXPECT_EQ(picture[1][6], '#');
  EXPECT_EQ(picture[1][1], '.');
  EXPECT_EQ(GetPixel(surface.dc(), 6, 4), RGB(9, 9, 9));
  EXPECT_EQ(GetPixel(surface.dc(), 1, 4), RGB(0, 0, 0));
}

TEST(GdiArcs, RunCounterClockwiseFromStartToEnd) {
  // Start on the right, end at the top: the upper right quarter only.
  Surface surface(21, 21);
  Arc(surface.dc(), 0, 0, 21, 21, 20, 10, 10, 0);
  Picture picture = surface.Picture();
  int upperRight = 0, elsewhere = 0;
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 21; ++x) {
      if (picture[y][x] != '#') continue;
      (x >= 10 && y <= 10 ? upperRight : elsewhere)++;
    }
  }
  EXPECT_GT(upperRight, 10);
  EXPECT_EQ(elsewhere, 0);
  EXPECT_EQ(picture[10][20], '#');
  EXPECT_EQ(picture[0][10], '#');
}

TEST(GdiArcs, EqualRaysDrawTheWholeEllipse) {
  Surface whole(21, 21), ellipse(21, 21);
  Arc(whole.dc(), 0, 0, 21, 21, 20, 10, 20, 10);
  SelectObject(ellipse.dc(), GetStockObject(NULL_BRUSH));
  Ellipse(ellipse.dc(), 0, 0, 21, 21);
  SelectObject(ellipse.dc(), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(whole.Picture(), ellipse.Picture());
}

TEST(GdiDrawing, MonochromeBitmapFromAFreshMemoryContext) {
  // A fresh memory context holds a 1 x 1 monochrome bitmap, and bitmaps compatible with it
  // are monochrome too: colours come out black or white.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 1);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  SetPixel(dc, 0, 0, RGB(250, 240, 230));
  SetPixel(dc, 1, 0, RGB(200, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  EXPECT_EQ(StandinLiveGdiObjects(), 0);
}

TEST(GdiDrawing, InformationContextDrawsNothing) {
  HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_FALSE(LineTo(ic, 3, 3));
  EXPECT_EQ(SetPixel(ic, 0, 0, 0), CLR_INVALID);
  EXPECT_EQ(SelectObject(ic, GetStockObject(NULL_BRUSH)), GetStockObject(WHITE_BRUSH));
  DeleteDC(ic);
}

}  // namespace
