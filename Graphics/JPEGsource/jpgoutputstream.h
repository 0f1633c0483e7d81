// Bit-level output for entropy-coded JPEG data: Huffman codes and appended bits, most
// significant bit first, with a stuffed 0x00 after every 0xFF the coder completes.
//
// There is no bit accumulator: the byte being filled lives in the buffer at current, and
// bitPosition counts its free bit positions (8 for an empty byte). Free bits are 0, so the
// last byte of a segment is padded with 0-bits.
#ifndef QUORVANTE_JPGOUTPUTSTREAM_H
#define QUORVANTE_JPGOUTPUTSTREAM_H

#include <cstdint>

#include "Graphics/outputbytestream.h"

namespace Quorvante {

class JpegOutputStream : public virtual OutputByteStream {
 public:
  // Writes the low count bits of bits, most significant first; 1 <= count <= 16, else
  // AssertionFailure and nothing is written.
  void OutputBits(std::int32_t bits, std::uint32_t count);

  // Ends bit mode; a partly filled byte stays in the output with its free bits 0.
  void ExitBitMode() {
    if (bitPosition != 8) NextByte();
    bitPosition = -1;
  }
};

}  // namespace Quorvante

#endif
