// The built-in sample picture: an asymmetric red "F" on a blue-green gradient, so that a
// flip, a row-order mistake or a red/blue swap shows at once.
#ifndef RASQET_TOOLS_SAMPLERASTER_H
#define RASQET_TOOLS_SAMPLERASTER_H

#include "Graphics/rasterimage.h"

namespace rasqet {

Quorvante::RasterImage MakeSampleRaster(std::int32_t width = 320, std::int32_t height = 240);

}  // namespace rasqet

#endif
