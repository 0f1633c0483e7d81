#include "Graphics/imagecoder.h"

#include "Graphics/graphicsexceptions.h"

namespace Quorvante {

void ImageCoder::SetProgressFunction(ProgressFunction function, std::uintptr_t data) {
  progressFunction = function;
  progressData = data;
}

void ImageCoder::CallProgressFunction(std::uint32_t currentPass, std::uint32_t passCount,
                                      std::uint32_t progress) {
  if (progressFunction == nullptr) return;
  bool cancel = false;
  progressFunction(*this, progressData, currentPass, passCount, progress, cancel);
  if (cancel) throw GraphicsAbort();
}

}  // namespace Quorvante
