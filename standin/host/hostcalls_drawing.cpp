// Host operations on the drawing and the output device: the entity scan, layers, drawing
// one entity, extents, the bitmap device with its colour, fill and view, the palette.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "entityrenderer.h"
#include "hoststate.h"
#include "optionalentries.h"

using rasqethost::Host;
using rasqethost::HostState;

namespace {

HDC CurrentDevice() {
  HostState& host = Host();
  return host.devices.empty() ? nullptr : host.devices.back();
}

}  // namespace

extern "C" {

HeaderRec* WINAPI _GetHeaderAdr(void) {
  return &Host().header.record;
}

int WINAPI DLScan(int, DLScanCallback callback, int, int, int) {
  HostState& host = Host();
  if (callback == nullptr) {
    host.console.Warning("DLScan without a callback");
    return 0;
  }
  // The callback sees each entity in drawing order; a nonzero result ends the scan.
  int scanned = 0;
  for (const EntityRec& record : host.records) {
    ++scanned;
    if (callback(nullptr, &record, nullptr, nullptr) != 0) break;
  }
  return scanned;
}

int WINAPI _AskLayerHidden(int layer) {
  HostState& host = Host();
  if (layer < 0 || static_cast<size_t>(layer) >= host.drawing.layers.size()) {
    host.console.Warning("AskLayerHidden of unknown layer " + std::to_string(layer));
    return 0;
  }
  return host.drawing.layers[static_cast<size_t>(layer)].hidden ? 1 : 0;
}

void WINAPI EDraw1(const EntityRec* entity) {
  HostState& host = Host();
  const rasqethost::Entity* found = host.EntityOf(entity, "EDraw1");
  HDC device = CurrentDevice();
  // On the screen there is nothing to see in this host.
  if (found == nullptr || device == nullptr) return;
  if (!host.view.valid()) {
    host.console.Warning("EDraw1 before SetBMView set a usable view");
    return;
  }
  rasqethost::RenderEntity(device, *found, host.view,
                           host.palette[static_cast<size_t>(found->colour & 0xFF)]);
}

void WINAPI _BgnPExtents(void) {
  HostState& host = Host();
  if (host.extentsOpen) host.console.Warning("BgnPExtents twice without EndPExtents");
  host.extentsOpen = true;
  host.extents = rasqethost::Bounds();
}

void WINAPI _EXCheck(const EntityRec* entity) {
  HostState& host = Host();
  if (!host.extentsOpen) host.console.Warning("EXCheck outside BgnPExtents and EndPExtents");
  const rasqethost::Entity* found = host.EntityOf(entity, "EXCheck");
  if (found != nullptr) host.extents.Add(rasqethost::EntityBounds(*found));
}

void WINAPI _EndPExtents(ExtentsRec* extents) {
  HostState& host = Host();
  if (!host.extentsOpen) host.console.Warning("EndPExtents without BgnPExtents");
  host.extentsOpen = false;
  if (extents == nullptr) {
    host.console.Warning("EndPExtents without a record");
    return;
  }
  // No entity passed: all four values 0.
  const rasqethost::Bounds& b = host.extents;
  *extents = ExtentsRec{};
  extents->x0 = static_cast<float>(b.x0);
  extents->y0 = static_cast<float>(b.y0);
  extents->x1 = static_cast<float>(b.x1);
  extents->y1 = static_cast<float>(b.y1);
}

void WINAPI DevUseBitmap(HDC memoryDc) {
  HostState& host = Host();
  if (memoryDc == nullptr) host.console.Warning("DevUseBitmap with a null device context");
  host.devices.push_back(memoryDc);
}

void WINAPI DevUsePrior(void) {
  HostState& host = Host();
  if (host.devices.empty()) {
    host.console.Warning("DevUsePrior while the output is on the screen");
    return;
  }
  host.devices.pop_back();
}

void WINAPI DevUseColor(int colourIndex) {
  HostState& host = Host();
  if (colourIndex < 0 || colourIndex > 255) {
    host.console.Warning("DevUseColor with colour " + std::to_string(colourIndex));
  }
  host.colour = colourIndex & 0xFF;
}

void WINAPI DevSRect(const PixelRect* rect) {
  HostState& host = Host();
  if (rect == nullptr) {
    host.console.Warning("DevSRect without a rectangle");
    return;
  }
  HDC device = CurrentDevice();
  if (device == nullptr) return;
  // Corners in either order; the larger x and y are exclusive bounds.
  RECT r = {std::min(rect->x0, rect->x1), std::min(rect->y0, rect->y1),
            std::max(rect->x0, rect->x1), std::max(rect->y0, rect->y1)};
  HBRUSH brush = CreateSolidBrush(host.palette[static_cast<size_t>(host.colour)]);
  if (FillRect(device, &r, brush) == 0) {
    host.console.Warning("DevSRect on a device context that cannot be drawn on");
  }
  DeleteObject(brush);
}

void WINAPI SetBMView(float x0, float y0, float x1, float y1, const PixelRect* pixels) {
  HostState& host = Host();
  if (pixels == nullptr) {
    host.console.Warning("SetBMView without a pixel rectangle");
    return;
  }
  if (!host.view.Set(x0, y0, x1, y1, pixels->x0, pixels->y0, pixels->x1, pixels->y1)) {
    char text[200];
    std::snprintf(
        text, sizeof text,
        "SetBMView with an empty window or rectangle (%g,%g)-(%g,%g) onto (%d,%d)-(%d,%d)", x0, y0,
        x1, y1, pixels->x0, pixels->y0, pixels->x1, pixels->y1);
    host.console.Warning(text);
  }
}

void WINAPI Redraw(void) {
  HostState& host = Host();
  int shown = 0;
  for (uint32_t entry : host.palette) shown += entry != 0;
  host.console.Line("redraw: background colour " +
                    std::to_string(host.header.record.backgroundColour) + ", " +
                    std::to_string(shown) + " palette entries not black");
}

}  // extern "C"

extern "C" const SysVarRec* WINAPI HostGetSysVAdr(int which) {
  HostState& host = Host();
  if (which != 3) {
    host.console.Warning("_GetSysVAdr@4 for unknown record " + std::to_string(which));
    return nullptr;
  }
  return &host.clipboard;
}

extern "C" uint32_t* WINAPI HostGetPalAdr(void) {
  return Host().palette.data();
}
