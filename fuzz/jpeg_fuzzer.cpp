// libFuzzer entry for the JPEG encoder: a failed check aborts with its description, so the
// fuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzzcheck.h"
#include "jpegfuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rasqet::fuzz::CheckJpegEncoderCase(data, size);
  } catch (const rasqet::fuzz::CheckFailure& failure) {
    std::fprintf(stderr, "JPEG encoder check failed: %s\n", failure.what());
    std::abort();
  }
  return 0;
}
