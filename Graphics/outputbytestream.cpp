#include "Graphics/outputbytestream.h"

#include <cstring>

namespace Quorvante {

void OutputByteStream::Write(const void* bytes, std::int32_t count) {
  const auto* source = static_cast<const std::uint8_t*>(bytes);
  while (count > 0) {
    const std::int32_t space = static_cast<std::int32_t>(limit - current);
    if (count <= space) {
      std::memcpy(current, source, static_cast<std::size_t>(count));
      current += count;
      return;
    }
    std::memcpy(current, source, static_cast<std::size_t>(space));
    current += space;
    source += space;
    count -= space;
    FlushBuffer();
  }
}

}  // namespace Quorvante
