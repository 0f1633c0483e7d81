// Faults the encoder fuzzers found, each pinned down on its own.
#include <gtest/gtest.h>

#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/memoryoutputstream.h"
#include "Graphics/rasterimage.h"

namespace rasqet::fuzz {
namespace {

using Quorvante::JpegEncoder;

struct Passes {
  std::uint32_t last = 0;
  std::uint32_t count = 0;
};

void Remember(Quorvante::ImageCoder&, std::uintptr_t data, std::uint32_t pass, std::uint32_t count,
              std::uint32_t, bool&) {
  auto& passes = *reinterpret_cast<Passes*>(data);
  passes.last = pass;
  passes.count = count;
}

// A progressive entry whose mask names no component of the file writes no pass, so it must
// not be counted either: the last report has to reach the announced count.
TEST(EncoderRegressions, ProgressiveEntryWithoutComponentAddsNoPass) {
  struct Plan {
    bool grayscale;
    std::uint32_t stray;  // mask of the entry that codes nothing
  };
  for (const Plan& plan : {Plan{false, 16}, Plan{false, 0xE0}, Plan{true, 4}, Plan{true, 1}}) {
    JpegEncoder encoder;
    encoder.SetGrayscale(plan.grayscale);
    encoder.SetProgressive(true);
    const std::uint32_t entries[5][3] = {
        {14, 0, 0}, {plan.stray, 0, 2}, {2, 63, 1}, {4, 63, 0}, {8, 63, 0}};
    for (std::uint32_t i = 0; i < 5; ++i) {
      encoder.SetScan(i, entries[i][0], entries[i][1], entries[i][2]);
    }
    Passes passes;
    encoder.SetProgressFunction(Remember, reinterpret_cast<std::uintptr_t>(&passes));
    Quorvante::MemoryOutputStream stream;
    encoder.WriteImage(stream, Quorvante::RasterImage(16, 16, 0x336699));
    EXPECT_EQ(passes.last, passes.count)
        << "grayscale " << plan.grayscale << " mask " << plan.stray;
    EXPECT_EQ(passes.count, plan.grayscale ? 4u : 9u);
  }
}

}  // namespace
}  // namespace rasqet::fuzz
