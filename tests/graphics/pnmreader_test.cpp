// Reading PPM and PGM input: pixels in the raster's byte order, and clear errors for files
// that are malformed or cut short.
#include "tools/pnmreader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace rasqet {
namespace {

using Quorvante::MakePixel;

Quorvante::RasterImage Read(const std::string& bytes) {
  std::istringstream in(bytes);
  return ReadPnm(in);
}

TEST(PnmReader, ColourPixelsKeepTheirChannels) {
  const auto image = Read(std::string("P6\n2 1\n255\n") + "\x01\x02\x03\xFA\xFB\xFC");
  ASSERT_EQ(image.Width(), 2);
  ASSERT_EQ(image.Height(), 1);
  EXPECT_EQ(*image.PixelAt(0), MakePixel(1, 2, 3));
  EXPECT_EQ(*image.PixelAt(1), MakePixel(0xFA, 0xFB, 0xFC));
}

TEST(PnmReader, GreyFillsAllThreeChannels) {
  const auto image = Read(std::string("P5 1 2 255 ") + "\x10\xF0");
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(*image.PixelAt(0), MakePixel(0x10, 0x10, 0x10));
  EXPECT_EQ(*image.PixelAt(1), MakePixel(0xF0, 0xF0, 0xF0));
}

TEST(PnmReader, CommentsInTheHeader) {
  const auto image = Read(std::string("P5\n# made by hand\n1 # width\n1\n255\n") + "\x7F");
  EXPECT_EQ(*image.PixelAt(0), MakePixel(0x7F, 0x7F, 0x7F));
}

TEST(PnmReader, MalformedFilesAreRejected) {
  const char* cases[] = {
      "",                          // nothing
      "P3\n1 1\n255\n0 0 0\n",     // ASCII PPM
      "P6\n1 1\n65535\n\0\0\0\0",  // 16-bit samples
      "P6\nx 1\n255\n",            // bad width
      "P6\n1\n",                   // header cut short
      "P6\n0 4\n255\n",            // no pixels
      "P6\n2 2\n255\n\1\2\3",      // pixel data cut short
      "P6\n99999999999 1\n255\n",  // absurd width
      "P6\n65536 65536\n255\n",    // too many pixels for a raster
  };
  for (const char* text : cases) EXPECT_THROW(Read(text), PnmError) << text;
}

}  // namespace
}  // namespace rasqet
