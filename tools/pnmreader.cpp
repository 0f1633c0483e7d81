#include "tools/pnmreader.h"

#include <cctype>
#include <fstream>
#include <limits>
#include <vector>

namespace rasqet {

using Quorvante::MakePixel;
using Quorvante::RasterImage;

namespace {

// A header number: skips white space and '#' comments, then reads decimal digits.
long ReadHeaderNumber(std::istream& in, const char* what) {
  int ch = in.get();
  while (ch != EOF && (std::isspace(ch) || ch == '#')) {
    if (ch == '#') {
      while (ch != EOF && ch != '\n') ch = in.get();
    }
    ch = in.get();
  }
  if (ch == EOF || !std::isdigit(ch)) throw PnmError(std::string("bad or missing ") + what);
  long value = 0;
  while (ch != EOF && std::isdigit(ch)) {
    value = value * 10 + (ch - '0');
    if (value > std::numeric_limits<std::int32_t>::max())
      throw PnmError(std::string(what) + " too large");
    ch = in.get();
  }
  if (ch == EOF || !std::isspace(ch)) throw PnmError(std::string("bad ") + what);
  return value;
}

}  // namespace

RasterImage ReadPnm(std::istream& in) {
  char magic[2] = {};
  in.read(magic, 2);
  if (!in || magic[0] != 'P' || (magic[1] != '5' && magic[1] != '6')) {
    throw PnmError("not a binary PPM (P6) or PGM (P5) file");
  }
  const bool grey = magic[1] == '5';
  const long width = ReadHeaderNumber(in, "width");
  const long height = ReadHeaderNumber(in, "height");
  const long maxval = ReadHeaderNumber(in, "maxval");
  if (maxval != 255) throw PnmError("only maxval 255 is supported");
  if (width == 0 || height == 0) throw PnmError("image has no pixels");

  RasterImage image;
  try {
    image.SetSize(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  } catch (const std::length_error&) {
    throw PnmError("image too large");
  }
  const std::size_t channels = grey ? 1 : 3;
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * channels);
  for (long r = 0; r < height; ++r) {
    in.read(reinterpret_cast<char*>(row.data()), static_cast<std::streamsize>(row.size()));
    if (!in) throw PnmError("file is truncated");
    Quorvante::Pixel* out = image.PixelAt(static_cast<std::int32_t>(r * width));
    const unsigned char* p = row.data();
    for (long c = 0; c < width; ++c, p += channels) {
      out[c] = grey ? MakePixel(p[0], p[0], p[0]) : MakePixel(p[0], p[1], p[2]);
    }
  }
  return image;
}

RasterImage ReadPnm(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw PnmError("cannot open " + fileName);
  return ReadPnm(in);
}

}  // namespace rasqet
