// Draws one entity with GDI calls on a device context through the current view: lines and
// polylines with a pen of the entity's width, circles and arcs as GDI ellipses and arcs,
// solids as filled polygons, points as one pixel (or a dot of the pen's width), reference
// marks as a small cross. Every pen and brush made here is deleted before returning.
#ifndef RASQET_STANDIN_HOST_ENTITYRENDERER_H
#define RASQET_STANDIN_HOST_ENTITYRENDERER_H

#include <windows.h>

#include "drawing.h"
#include "viewmapping.h"

namespace rasqethost {

void RenderEntity(HDC dc, const Entity& entity, const ViewMapping& view, COLORREF colour);

}  // namespace rasqethost

#endif
