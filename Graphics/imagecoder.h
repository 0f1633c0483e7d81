// Encoder base classes and the progress-callback convention both encoders share.
#ifndef QUORVANTE_IMAGECODER_H
#define QUORVANTE_IMAGECODER_H

#include <cstdint>
#include <string>

namespace Quorvante {

class ImageCoder;
class RasterImage;

// Called while an image is written: (coder, data, 1-based pass, pass count, percent of the
// pass, cancel). The coder sets cancel to false before each call; setting it to true makes
// the coder throw GraphicsAbort.
using ProgressFunction = void (*)(ImageCoder& coder, std::uintptr_t data, std::uint32_t currentPass,
                                  std::uint32_t passCount, std::uint32_t progress, bool& cancel);

class ImageCoder {
 public:
  ImageCoder() = default;
  ImageCoder(const ImageCoder&) = default;
  ImageCoder& operator=(const ImageCoder&) = default;
  virtual ~ImageCoder() = default;

  // A null function switches reporting off; data comes back as the second argument.
  void SetProgressFunction(ProgressFunction function, std::uintptr_t data);

 protected:
  // Calls the progress function if there is one; throws GraphicsAbort when it cancels.
  void CallProgressFunction(std::uint32_t currentPass, std::uint32_t passCount,
                            std::uint32_t progress);

 private:
  ProgressFunction progressFunction = nullptr;
  std::uintptr_t progressData = 0;
};

class ImageEncoder : public ImageCoder {
 public:
  // Writes the image as a complete file of the encoder's format.
  virtual void WriteImageFile(const std::string& fileName, const RasterImage& image) = 0;
};

}  // namespace Quorvante

#endif
