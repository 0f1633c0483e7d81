// rasqet-host: a small headless CAD host for the Rasqet module on Linux. See
// standin/README.md for its use.
#include <dlfcn.h>
#include <standin/win32standin.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "dxfreader.h"
#include "hostoptions.h"
#include "hoststate.h"
#include "optionalentries.h"
#include "sampledrawing.h"
#include "session.h"

using namespace rasqethost;

namespace {

// Offers the optional host entry points under their decorated names.
void OfferEntryPoints(HostState& host) {
  FARPROC routine;
  if (host.options.sysvarEntry) {
    auto sysvar = &HostGetSysVAdr;
    std::memcpy(&routine, &sysvar, sizeof routine);
    StandinExportProc(host.hostModule, "_GetSysVAdr@4", routine);
  }
  if (host.options.paletteEntry) {
    auto palette = &HostGetPalAdr;
    std::memcpy(&routine, &palette, sizeof routine);
    StandinExportProc(host.hostModule, "_GetPalAdr@0", routine);
  }
}

std::string DescribeDrawing(const Drawing& drawing, const std::string& source) {
  int hidden = 0;
  for (const Layer& layer : drawing.layers) hidden += layer.hidden;
  return "drawing: " + source + ", " + std::to_string(drawing.entities.size()) + " entities on " +
         std::to_string(drawing.layers.size()) + " layers (" + std::to_string(hidden) + " hidden)";
}

}  // namespace

int main(int argc, char** argv) {
  HostOptions options;
  bool help = false;
  std::string error;
  if (!ParseHostOptions(argc, argv, options, help, error)) {
    std::fprintf(stderr, "rasqet-host: %s\n%s", error.c_str(), HostUsage());
    return 2;
  }
  if (help) {
    std::fputs(HostUsage(), stdout);
    return 0;
  }
  ResolveDefaultPaths(options);

  HostState host(isatty(fileno(stdout)) != 0);
  SetHost(&host);
  host.options = options;
  auto fail = [](const std::string& what) {
    std::fprintf(stderr, "rasqet-host: %s\n", what.c_str());
    return 1;
  };

  host.palette = DefaultPalette();
  Drawing drawing;
  std::string source = "built-in sample";
  if (options.drawingPath.empty()) {
    drawing = SampleDrawing();
  } else {
    DxfResult read = ReadDxf(options.drawingPath, drawing);
    if (!read.ok) return fail(read.error);
    source = options.drawingPath;
    for (const auto& [kind, count] : read.skipped) {
      host.console.Line("drawing: skipped " + std::to_string(count) + " " + kind + " entities");
    }
  }
  if (options.background >= 0) drawing.background = options.background;
  host.SetDrawing(drawing);
  host.console.Line(DescribeDrawing(host.drawing, source));

  host.clipboard = SysVarRec{};
  host.clipboard.width = options.clipboardWidth;
  host.clipboard.height = options.clipboardHeight;
  if (!host.registry.Load(options.registryPath, error)) return fail(error);
  if (!host.input.Open(options.scriptPath, error)) return fail(error);
  StandinSetBitmapPixelLimit(options.bitmapPixelLimit);

  host.hostModule = reinterpret_cast<HMODULE>(dlopen(nullptr, RTLD_NOW));
  OfferEntryPoints(host);
  if (!StartModule(error)) return fail(error);
  RunSession();
  StopModule();

  if (host.console.warnings() > 0) {
    host.console.Line(std::to_string(host.console.warnings()) + " warnings");
    if (options.strict) return 3;
  }
  return 0;
}
