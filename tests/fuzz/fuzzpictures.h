// Pictures for the encoder checks: a size and pixel content chosen by the input.
#ifndef RASQET_TESTS_FUZZ_FUZZPICTURES_H
#define RASQET_TESTS_FUZZ_FUZZPICTURES_H

#include <cstdint>

#include "Graphics/rasterimage.h"
#include "fuzzbytes.h"

namespace rasqet::fuzz {

// Mostly 1 to 70 pixels each way; when large is set up to 300, and now and then a strip of
// 65500 (the most libjpeg reads), 65535 or 65536 by 1 or 2. One size byte in 256 gives 0, an empty
// image.
struct PictureSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
PictureSize ReadPictureSize(ByteReader& input, bool large);

enum class Pattern { kFlat, kNoise, kStripes, kInputBytes, kGradient };

struct Picture {
  Quorvante::RasterImage image;
  Pattern pattern = Pattern::kFlat;
  Quorvante::Pixel flatColour = 0;  // the one colour of a flat picture
};

// Reads the pattern and its parameters; input bytes take everything that is left.
Picture ReadPicture(ByteReader& input, PictureSize size);

}  // namespace rasqet::fuzz

#endif
