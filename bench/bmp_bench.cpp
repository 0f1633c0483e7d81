// BMP 24-bit write of a 4000 x 3000 raster against a plain block write of the same number of
// bytes (the ceiling the encoder can reach).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Graphics/bmpencoder.h"
#include "Graphics/rasterimage.h"

namespace {

constexpr std::int32_t kWidth = 4000;
constexpr std::int32_t kHeight = 3000;
constexpr std::int64_t kBmpBytes = 54 + std::int64_t{kWidth} * 3 * kHeight;

std::string ScratchFile() {
  return "/tmp/rasqet_bench.bmp";
}

Quorvante::RasterImage MakeImage() {
  Quorvante::RasterImage image(kWidth, kHeight, 0);
  for (std::int32_t i = 0; i < kWidth * kHeight; ++i)
    *image.PixelAt(i) = 0x00FFFFFFu ^ (i * 2654435761u);
  return image;
}

void BM_Bmp24Write(benchmark::State& state) {
  const Quorvante::RasterImage image = MakeImage();
  Quorvante::BmpEncoder encoder;
  for (auto _ : state) encoder.WriteImageFile(ScratchFile(), image);
  state.SetBytesProcessed(state.iterations() * kBmpBytes);
  std::remove(ScratchFile().c_str());
}
BENCHMARK(BM_Bmp24Write)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainBlockWrite(benchmark::State& state) {
  const std::vector<char> bytes(static_cast<std::size_t>(kBmpBytes), 'x');
  for (auto _ : state) {
    std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  state.SetBytesProcessed(state.iterations() * kBmpBytes);
  std::remove(ScratchFile().c_str());
}
BENCHMARK(BM_PlainBlockWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
