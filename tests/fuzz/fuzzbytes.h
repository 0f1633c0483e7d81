// Reads fuzzer input as a stream of small decisions. Past the end every read gives 0, so any
// input, even an empty one, describes a complete case.
#ifndef RASQET_TESTS_FUZZ_FUZZBYTES_H
#define RASQET_TESTS_FUZZ_FUZZBYTES_H

#include <cstddef>
#include <cstdint>

namespace rasqet::fuzz {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* bytes, std::size_t count) : data(bytes), size(count) {}

  std::uint8_t Byte() { return position < size ? data[position++] : 0; }
  std::uint32_t Word() {
    const std::uint32_t high = Byte();
    return high << 8 | Byte();
  }
  std::uint32_t Quad() {
    const std::uint32_t high = Word();
    return high << 16 | Word();
  }
  bool Flag() { return (Byte() & 1) != 0; }
  // What is left: pixel content takes it whole.
  const std::uint8_t* Rest() const { return data + position; }
  std::size_t RestSize() const { return size - position; }

 private:
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position = 0;
};

}  // namespace rasqet::fuzz

#endif
