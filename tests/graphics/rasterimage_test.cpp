#include "Graphics/rasterimage.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <utility>

namespace Quorvante {
namespace {

TEST(RasterImage, DefaultIsEmpty) {
  RasterImage image;
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
  EXPECT_EQ(image.Pixels(), nullptr);
}

TEST(RasterImage, FillConstructorSetsEveryPixel) {
  RasterImage image(3, 2, 0x11223344u);
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 2);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(*image.PixelAt(i), 0x11223344u) << i;
}

TEST(RasterImage, SetSizeDiscardsContentAndZeroFills) {
  RasterImage image(4, 4, 0xFFFFFFFFu);
  image.SetSize(4, 4);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(*image.PixelAt(i), 0u) << i;
  image.SetSize(2, 5);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Height(), 5);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(*image.PixelAt(i), 0u) << i;
}

TEST(RasterImage, RowAddressing) {
  RasterImage image(5, 3, 0);
  *image.PixelAt(2 * 5 + 4) = 7;
  EXPECT_EQ(image.Pixels()[2 * image.Width() + 4], 7u);
}

TEST(RasterImage, CopiesAreDeep) {
  RasterImage first(2, 2, 1);
  RasterImage copy(first);
  *copy.PixelAt(0) = 9;
  EXPECT_EQ(*first.PixelAt(0), 1u);
  RasterImage assigned;
  assigned = first;
  *assigned.PixelAt(3) = 9;
  EXPECT_EQ(*first.PixelAt(3), 1u);
  EXPECT_EQ(assigned.Width(), 2);
}

TEST(RasterImage, CopyOfEmptyImageIsEmpty) {
  RasterImage empty;
  RasterImage copy(empty);
  EXPECT_EQ(copy.Pixels(), nullptr);
  RasterImage sized(2, 2, 1);
  sized = empty;
  EXPECT_EQ(sized.Width(), 0);
  EXPECT_EQ(sized.Pixels(), nullptr);
}

TEST(RasterImage, MovesHandThePixelsOver) {
  RasterImage first(2, 3, 4);
  const Pixel* array = first.Pixels();
  RasterImage moved(std::move(first));
  EXPECT_EQ(moved.Pixels(), array);
  EXPECT_EQ(moved.Height(), 3);
  EXPECT_EQ(first.Pixels(), nullptr);  // NOLINT(bugprone-use-after-move): the source is empty
  EXPECT_EQ(first.Width(), 0);
  RasterImage assigned(1, 1, 0);
  assigned = std::move(moved);
  EXPECT_EQ(assigned.Pixels(), array);
  EXPECT_EQ(*assigned.PixelAt(5), 4u);
  EXPECT_EQ(moved.Height(), 0);  // NOLINT(bugprone-use-after-move)
}

TEST(RasterImage, SelfAssignmentKeepsImage) {
  RasterImage image(2, 1, 5);
  RasterImage& alias = image;
  image = alias;
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(*image.PixelAt(1), 5u);
}

TEST(RasterImage, ClearEmptiesImage) {
  RasterImage image(2, 2, 1);
  image.Clear();
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
  EXPECT_EQ(image.Pixels(), nullptr);
}

TEST(RasterImage, RejectsSizesThatCannotBeAddressed) {
  const std::int32_t big = std::numeric_limits<std::int32_t>::max();
  struct Case {
    std::int32_t width, height;
  } cases[] = {{-1, 5}, {5, -1}, {big, 2}, {65536, 65536}};
  for (const Case& c : cases) {
    RasterImage image(1, 1, 3);
    EXPECT_THROW(image.SetSize(c.width, c.height), std::length_error) << c.width << "x" << c.height;
    // A rejected size leaves the image as it was.
    EXPECT_EQ(image.Width(), 1);
    EXPECT_EQ(*image.PixelAt(0), 3u);
  }
}

TEST(RasterImage, PixelByteOrderIsBlueGreenRedAlpha) {
  const Pixel p = MakePixel(0x10, 0x20, 0x30, 0x40);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&p);
  // The DIB layout on a little-endian machine.
  EXPECT_EQ(p, 0x40102030u);
  EXPECT_EQ(PixelRed(p), 0x10);
  EXPECT_EQ(PixelGreen(p), 0x20);
  EXPECT_EQ(PixelBlue(p), 0x30);
  EXPECT_EQ(PixelAlpha(p), 0x40);
  EXPECT_EQ(bytes[0], 0x30);
}

}  // namespace
}  // namespace Quorvante
