#include "tools/encodewriters.h"

#include <cstdio>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/bmpencoder.h"

namespace rasqet {

namespace {

void PrintProgress(Quorvante::ImageCoder&, std::uintptr_t, std::uint32_t currentPass,
                   std::uint32_t passCount, std::uint32_t progress, bool&) {
  std::fprintf(stderr, "%u/%u %u\n", currentPass, passCount, progress);
}

void WriteBmp(const EncodeOptions& options, const Quorvante::RasterImage& image) {
  Quorvante::BmpEncoder encoder;
  encoder.SetBitsPerPixel(options.bmpBits);
  encoder.SetAlphaChannel(options.alpha);
  if (options.progress) encoder.SetProgressFunction(PrintProgress, 0);
  encoder.WriteImageFile(options.output, image);
}

void WriteJpeg(const EncodeOptions& options, const Quorvante::RasterImage& image) {
  Quorvante::JpegEncoder encoder;
  encoder.SetQuality(options.quality);
  encoder.SetGrayscale(options.grayscale);
  // Before the scans: a change of mode loads the mode's default plan.
  encoder.SetProgressive(options.progressive);
  encoder.SetRestartRows(options.restartRows);
  for (std::uint32_t id = 1; id <= 3; ++id) {
    const SamplingFactor& s = options.sampling[id - 1];
    encoder.SetComponentSampling(id, s.horizontal, s.vertical);
  }
  if (!options.scans.empty()) {
    for (std::uint32_t i = 0; i < Quorvante::kScanTableSize; ++i) encoder.SetScan(i, 0, 0, 0);
    // More entries than the table holds fail with the encoder's own message.
    for (std::size_t i = 0; i < options.scans.size(); ++i) {
      const ScanEntry& scan = options.scans[i];
      encoder.SetScan(static_cast<std::uint32_t>(i), scan.componentMask, scan.spectralEnd,
                      scan.successiveApproximation);
    }
  }
  encoder.SetComment(options.comment);
  if (options.progress) encoder.SetProgressFunction(PrintProgress, 0);
  encoder.WriteImageFile(options.output, image);
}

void WritePng(const EncodeOptions&, const Quorvante::RasterImage&) {
  throw UnsupportedError("PNG output is not available in this build yet");
}

}  // namespace

void WriteEncodedImage(const EncodeOptions& options, const Quorvante::RasterImage& image) {
  switch (options.format) {
    case OutputFormat::kBmp:
      return WriteBmp(options, image);
    case OutputFormat::kJpeg:
      return WriteJpeg(options, image);
    case OutputFormat::kPng:
      return WritePng(options, image);
  }
}

}  // namespace rasqet
