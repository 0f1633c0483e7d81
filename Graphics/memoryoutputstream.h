// A stream whose sink is a byte vector: tests and tools write JPEG data to memory through it.
#ifndef QUORVANTE_MEMORYOUTPUTSTREAM_H
#define QUORVANTE_MEMORYOUTPUTSTREAM_H

#include <cstdint>
#include <vector>

#include "Graphics/JPEGsource/jpgoutputstream.h"

namespace Quorvante {

class MemoryOutputStream : public virtual JpegOutputStream {
 public:
  static constexpr std::int32_t kMinBufferSize = 2;

  // A small bufferSize makes every flush path easy to reach; a word write needs two bytes of
  // buffer, so smaller sizes are raised to that.
  explicit MemoryOutputStream(std::int32_t bufferSize = 4096)
      : buffer(
            static_cast<std::size_t>(bufferSize < kMinBufferSize ? kMinBufferSize : bufferSize)) {
    current = buffer.data();
    limit = buffer.data() + buffer.size();
  }

  void FlushBuffer() override {
    sink.insert(sink.end(), buffer.data(), current);
    ++flushCount;
    current = buffer.data();
    limit = buffer.data() + buffer.size();
  }

  // Everything written so far, flushed or still buffered (a pending bit-mode byte excluded).
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> all(sink);
    all.insert(all.end(), buffer.data(), const_cast<const std::uint8_t*>(current));
    return all;
  }
  // Only what has reached the sink.
  const std::vector<std::uint8_t>& Flushed() const { return sink; }
  int FlushCount() const { return flushCount; }
  std::int32_t BitPosition() const { return bitPosition; }
  std::uint8_t PendingByte() const { return *current; }

 private:
  std::vector<std::uint8_t> buffer;
  std::vector<std::uint8_t> sink;
  int flushCount = 0;
};

}  // namespace Quorvante

#endif
