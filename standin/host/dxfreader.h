// Reads an ASCII DXF file into a drawing: LINE, LWPOLYLINE, POLYLINE with its VERTEX
// entities, CIRCLE, ARC, SOLID and POINT from the ENTITIES section, and the layers of the
// LAYER table (a layer that is off or frozen is hidden). Other entities are counted and
// skipped; polyline bulges, thickness and extrusion are not read.
#ifndef RASQET_STANDIN_HOST_DXFREADER_H
#define RASQET_STANDIN_HOST_DXFREADER_H

#include <map>
#include <string>

#include "drawing.h"

namespace rasqethost {

struct DxfResult {
  bool ok = false;
  std::string error;                   // "FILE:LINE: what" when not ok
  std::map<std::string, int> skipped;  // entity names read past, with their counts
};

DxfResult ReadDxf(const std::string& path, Drawing& drawing);
// The same from text in memory; name is used in messages.
DxfResult ParseDxf(const std::string& text, const std::string& name, Drawing& drawing);

}  // namespace rasqethost

#endif
