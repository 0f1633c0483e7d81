// The writers behind rasqet-encode, one per output format.
#ifndef RASQET_TOOLS_ENCODEWRITERS_H
#define RASQET_TOOLS_ENCODEWRITERS_H

#include <stdexcept>

#include "Graphics/rasterimage.h"
#include "tools/encodeoptions.h"

namespace rasqet {

// Options the build cannot honour yet; main reports it as a usage error.
class UnsupportedError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes image to options.output in options.format. Library errors propagate as thrown.
void WriteEncodedImage(const EncodeOptions& options, const Quorvante::RasterImage& image);

}  // namespace rasqet

#endif
