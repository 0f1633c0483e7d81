#include "tools/encodewriters.h"

#include <cstdio>

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

void WriteJpeg(const EncodeOptions&, const Quorvante::RasterImage&) {
  throw UnsupportedError("JPEG output is not available in this build yet");
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
