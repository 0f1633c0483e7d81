#include "Graphics/JPEGsource/jpgoutputstream.h"

#include "Graphics/graphicsexceptions.h"

namespace Quorvante {

void JpegOutputStream::OutputBits(std::int32_t bits, std::uint32_t count) {
  QUORVANTE_ASSERT(count != 0 && count <= 16, "jpeg\\jpgoutputstream");
  const std::uint32_t value = static_cast<std::uint32_t>(bits);
  // Fill the open byte with as many bits as it has room for at a time; the result is the
  // same as setting them one by one.
  std::int32_t remaining = static_cast<std::int32_t>(count);
  while (remaining > 0) {
    const std::int32_t take = remaining < bitPosition ? remaining : bitPosition;
    remaining -= take;
    const std::uint32_t chunk = (value >> remaining) & ((1u << take) - 1u);
    bitPosition -= take;
    *current |= static_cast<std::uint8_t>(chunk << bitPosition);
    if (bitPosition == 0) {
      if (*current == 0xFF) NextByte();  // the stuffed 0x00
      NextByte();
      bitPosition = 8;
    }
  }
}

}  // namespace Quorvante
