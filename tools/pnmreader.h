// Reads binary PPM (P6) and PGM (P5) files with maxval 255 into a RasterImage.
#ifndef RASQET_TOOLS_PNMREADER_H
#define RASQET_TOOLS_PNMREADER_H

#include <stdexcept>
#include <string>

#include "Graphics/rasterimage.h"

namespace rasqet {

// A file that is not a P5/P6 image with maxval 255, or that ends early.
class PnmError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Each pixel becomes (blue, green, red, alpha 0); a grey value g gives red = green = blue = g.
Quorvante::RasterImage ReadPnm(const std::string& fileName);
Quorvante::RasterImage ReadPnm(std::istream& in);

}  // namespace rasqet

#endif
