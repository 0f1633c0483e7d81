// rasqet-encode: the image library's front door for people and benchmarks.
// Exit 0 on success, 1 with the library's own message on an encoder error, 2 for a command
// line or input file it cannot use.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Graphics/graphicsexceptions.h"
#include "Graphics/outputbytestream.h"
#include "tools/encodeoptions.h"
#include "tools/encodewriters.h"
#include "tools/pnmreader.h"
#include "tools/sampleraster.h"

int main(int argc, char** argv) {
  using namespace rasqet;
  EncodeOptions options;
  Quorvante::RasterImage image;
  try {
    options = ParseEncodeOptions(std::vector<std::string>(argv + 1, argv + argc));
    image = options.sample ? MakeSampleRaster() : ReadPnm(options.input);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "rasqet-encode: %s\n%s", e.what(), kEncodeUsage);
    return 2;
  } catch (const PnmError& e) {
    std::fprintf(stderr, "rasqet-encode: %s: %s\n", options.input.c_str(), e.what());
    return 2;
  }
  try {
    WriteEncodedImage(options, image);
  } catch (const UnsupportedError& e) {
    std::fprintf(stderr, "rasqet-encode: %s\n", e.what());
    return 2;
  } catch (const Quorvante::GraphicsAbort&) {
    std::fprintf(stderr, "Cancelled\n");
    return 1;
  } catch (const std::exception& e) {  // GraphicsException, StreamError, AssertionFailure
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
