// The built-in sample: a small two-room floor plan in metres with walls, windows, doors,
// furniture, a filled rug and column, dimension lines and points in several colours, and a
// hidden construction layer holding ordinary entities, a north arrow (an annotation, drawn
// even there) and a reference mark (counted for the extents, not drawn).
#ifndef RASQET_STANDIN_HOST_SAMPLEDRAWING_H
#define RASQET_STANDIN_HOST_SAMPLEDRAWING_H

#include "drawing.h"

namespace rasqethost {

Drawing SampleDrawing();

}  // namespace rasqethost

#endif
