// Writes a RasterImage as an uncompressed Windows bitmap: 24 bits (bottom-up, BGR) or 16 and
// 32 bits (top-down, version-4 header with bit-field masks).
#ifndef QUORVANTE_BMPENCODER_H
#define QUORVANTE_BMPENCODER_H

#include <cstdint>
#include <ostream>
#include <string>

#include "Graphics/graphicsexceptions.h"
#include "Graphics/imagecoder.h"

namespace Quorvante {

class BmpEncoder : public ImageEncoder {
 public:
  class BmpError : public GraphicsException {
   public:
    explicit BmpError(std::string text) : GraphicsException(std::move(text)) {}
  };

  BmpEncoder() = default;

  // 16, 24 or 32; anything else throws "Invalid Bit Depth" and keeps the setting.
  void SetBitsPerPixel(std::int32_t bits);
  std::int32_t GetBitsPerPixel() const { return bitsPerPixel; }
  // Whether the 16- and 32-bit headers declare an alpha mask.
  void SetAlphaChannel(bool flag) { alphaChannel = flag; }
  bool GetAlphaChannel() const { return alphaChannel; }

  // Creates or truncates the file and writes the image to it. Throws "Cannot Open Input File "
  // plus the name when it cannot be opened, "Cannot Write Output File" when the data or the
  // close did not reach the file.
  void WriteImageFile(const std::string& fileName, const RasterImage& image) override;
  // Writes the complete file to an open stream.
  virtual void WriteImage(std::ostream& stream, const RasterImage& image);

 private:
  void ReportProgress(std::uint32_t percent) { CallProgressFunction(1, 1, percent); }
  void WriteRows16(std::ostream& stream, const RasterImage& image, std::uint32_t stride);
  void WriteRows24(std::ostream& stream, const RasterImage& image, std::uint32_t stride);

  bool alphaChannel = true;
  std::int32_t bitsPerPixel = 24;
};

}  // namespace Quorvante

#endif
