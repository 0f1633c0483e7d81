// A Huffman table of the JPEG encoder, optimal for one scan: the first pass of the scan counts
// the symbols, Build derives code lengths limited to 16 bits and assigns the codes, the table
// is written in a Huffman table segment, and the second pass codes the symbols through Lookup.
#ifndef QUORVANTE_JPGHUFFMANTABLE_H
#define QUORVANTE_JPGHUFFMANTABLE_H

#include <cstdint>

namespace Quorvante {

class OutputByteStream;

class JpegHuffmanTable {
 public:
  static constexpr int SymbolCount = 256;
  // Symbol 256 is a reserved code point counted once, so that no real symbol receives the
  // all-ones code of the longest length.
  static constexpr int ReservedSymbol = 256;
  static constexpr int MaxCodeLength = 16;

  JpegHuffmanTable() { Reset(); }
  virtual ~JpegHuffmanTable() {}

  // Back to gathering: all counts 0 but the reserved code point's, which is 1.
  void Reset();

  // A count that reached 2^32 - 1 stays there rather than wrapping to 0 and losing the code.
  void CountSymbol(std::uint8_t symbol) {
    frequencies[symbol] += (frequencies[symbol] != UINT32_MAX) ? 1u : 0u;
  }

  // Derives the code lengths (at most 16 bits), the symbol list and the codes from the counts;
  // does nothing on a table built since the last Reset.
  void Build();

  // The code of symbol, right-aligned in length bits; length 0 if the symbol was not counted.
  void Lookup(std::uint8_t symbol, std::uint16_t& code, std::uint8_t& length) const {
    code = codes[symbol];
    length = codeLengths[symbol];
  }

  // The 16 numbers of codes of lengths 1 to 16, then the symbols in code order: the body of
  // one table in a Huffman table segment after its class-and-identifier byte.
  void WriteTableData(OutputByteStream& stream) const;

  // 17 + number of codes: the bytes WriteTableData writes plus the class-and-identifier byte.
  std::uint32_t TableDataLength() const;

  // Number of codes (symbols with a non-zero count) of a built table.
  std::uint32_t CodeCount() const;

  std::uint32_t frequencies[SymbolCount + 1] = {};  // counts while gathering
  std::uint8_t lengthCounts[32] = {};               // entry k: codes of length k + 1
  std::uint8_t symbols[SymbolCount] = {};           // symbols in code order
  std::uint8_t codeLengths[SymbolCount + 1] = {};   // 0: symbol has no code
  std::uint16_t codes[SymbolCount + 1] = {};        // right-aligned in codeLengths bits
  bool built = false;
};

}  // namespace Quorvante

#endif
