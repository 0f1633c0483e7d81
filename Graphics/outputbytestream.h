// Buffered byte output. Bytes go into a buffer that the concrete stream drains to its sink in
// FlushBuffer, so the entropy coder can emit a byte with a comparison and a store.
#ifndef QUORVANTE_OUTPUTBYTESTREAM_H
#define QUORVANTE_OUTPUTBYTESTREAM_H

#include <cstdint>
#include <exception>
#include <string>

namespace Quorvante {

class OutputByteStream {
 public:
  class StreamError : public std::exception {
   public:
    explicit StreamError(std::string text) : message(std::move(text)) {}
    const char* what() const noexcept override { return message.c_str(); }

   private:
    std::string message;
  };

  OutputByteStream() = default;
  OutputByteStream(const OutputByteStream&) = delete;
  OutputByteStream& operator=(const OutputByteStream&) = delete;
  virtual ~OutputByteStream() {}

  void WriteByte(std::uint8_t value) {
    if (current >= limit) FlushBuffer();
    *current++ = value;
  }

  // High byte first. Flushes first when at most two bytes of space remain.
  void WriteBigEndianWord(std::uint16_t value) {
    if (limit - current <= 2) FlushBuffer();
    current[0] = static_cast<std::uint8_t>(value >> 8);
    current[1] = static_cast<std::uint8_t>(value);
    current += 2;
    if (current >= limit) FlushBuffer();
  }

  // Copies count bytes, flushing each time the buffer fills; count <= 0 writes nothing.
  void Write(const void* bytes, std::int32_t count);

  // Bit mode: the byte at current is zeroed and receives bits; bitPosition counts the bit
  // positions still free in it.
  void EnterBitMode(std::int32_t initialPosition) {
    if (current >= limit) FlushBuffer();
    bitPosition = initialPosition;
    *current = 0;
  }

  // Keeps the byte at current and opens a fresh zero byte after it.
  void NextByte() {
    ++current;
    if (current >= limit) FlushBuffer();
    *current = 0;
  }

  // Passes the bytes from the start of the buffer up to current to the sink, then resets
  // current and limit to the whole buffer.
  virtual void FlushBuffer() = 0;

 protected:
  std::uint8_t* current = nullptr;
  std::uint8_t* limit = nullptr;
  std::int32_t bitPosition = -1;  // -1 in byte mode
};

}  // namespace Quorvante

#endif
