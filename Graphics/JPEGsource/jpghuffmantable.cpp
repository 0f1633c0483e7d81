#include "Graphics/JPEGsource/jpghuffmantable.h"

#include "Graphics/outputbytestream.h"

namespace Quorvante {

namespace {

constexpr int kNodeCount = JpegHuffmanTable::SymbolCount + 1;  // the symbols and the reserved
// A chain of all nodes is the deepest tree the merging can make.
constexpr int kLongestCode = kNodeCount - 1;

}  // namespace

void JpegHuffmanTable::Reset() {
  for (int i = 0; i < SymbolCount; ++i) frequencies[i] = 0;
  frequencies[ReservedSymbol] = 1;
  built = false;
}

void JpegHuffmanTable::Build() {
  if (built) return;

  // Optimal code sizes by repeated merging of the two least frequent nodes (ITU-T T.81,
  // Annex K.2). The weights are 64-bit so that sums of counts near 2^32 cannot wrap, and the
  // sizes may run to 256 bits for very skewed counts before they are limited below.
  std::uint64_t weight[kNodeCount];
  std::uint32_t codeSize[kNodeCount];
  std::int32_t next[kNodeCount];
  for (int i = 0; i < kNodeCount; ++i) {
    weight[i] = frequencies[i];
    codeSize[i] = 0;
    next[i] = -1;
  }
  for (;;) {
    int c1 = -1;
    int c2 = -1;
    for (int i = 0; i < kNodeCount; ++i) {
      if (weight[i] == 0) continue;
      if (c1 < 0 || weight[i] <= weight[c1]) {  // ties go to the later symbol
        c2 = c1;
        c1 = i;
      } else if (c2 < 0 || weight[i] <= weight[c2]) {
        c2 = i;
      }
    }
    if (c2 < 0) break;
    weight[c1] += weight[c2];
    weight[c2] = 0;
    int k = c1;
    ++codeSize[k];
    while (next[k] >= 0) {
      k = next[k];
      ++codeSize[k];
    }
    next[k] = c2;
    for (k = c2; k >= 0; k = next[k]) ++codeSize[k];
  }

  // Numbers of codes per length, reserved code point included.
  std::uint32_t lengths[kLongestCode + 1] = {};
  std::uint32_t longest = 0;
  for (int i = 0; i < kNodeCount; ++i) {
    if (codeSize[i] == 0) continue;
    ++lengths[codeSize[i]];
    if (codeSize[i] > longest) longest = codeSize[i];
  }

  // Limit the lengths to 16 bits (Annex K.3): two codes of the longest length give way to one
  // a bit shorter, and a shorter code is split in two. The Kraft sum stays exactly 1.
  for (std::uint32_t i = longest; i > MaxCodeLength; --i) {
    while (lengths[i] > 0) {
      std::uint32_t j = i - 2;
      while (j > 0 && lengths[j] == 0) --j;
      lengths[i] -= 2;
      lengths[i - 1] += 1;
      lengths[j + 1] += 2;
      lengths[j] -= 1;
    }
  }

  // Give up the reserved code point: it is one of the longest codes.
  for (int i = MaxCodeLength; i > 0; --i) {
    if (lengths[i] > 0) {
      --lengths[i];
      break;
    }
  }
  // At most 255 codes share a length: 256 real symbols of one length would leave no room in
  // a complete tree for the reserved code point beside them.
  for (auto& count : lengthCounts) count = 0;
  for (int i = 1; i <= MaxCodeLength; ++i)
    lengthCounts[i - 1] = static_cast<std::uint8_t>(lengths[i]);

  // Symbols in code order: by the sizes as first derived, then by value.
  int symbolCount = 0;
  for (std::uint32_t size = 1; size <= longest; ++size) {
    for (int s = 0; s < SymbolCount; ++s) {
      if (codeSize[s] == size) symbols[symbolCount++] = static_cast<std::uint8_t>(s);
    }
  }
  for (int i = symbolCount; i < SymbolCount; ++i) symbols[i] = 0;

  // Canonical codes (Annex C): sizes in list order, consecutive codes within a size.
  std::uint8_t listedSize[SymbolCount + 1];
  int listed = 0;
  for (int size = 1; size <= MaxCodeLength; ++size) {
    for (std::uint32_t n = 0; n < lengths[size]; ++n)
      listedSize[listed++] = static_cast<std::uint8_t>(size);
  }
  listedSize[listed] = 0;

  for (int i = 0; i < kNodeCount; ++i) {
    codes[i] = 0;
    codeLengths[i] = 0;
  }
  std::uint32_t code = 0;
  std::uint8_t size = listedSize[0];
  int k = 0;
  while (listedSize[k] != 0) {
    while (listedSize[k] == size) {
      codes[symbols[k]] = static_cast<std::uint16_t>(code);
      codeLengths[symbols[k]] = size;
      ++code;
      ++k;
    }
    code <<= 1;
    ++size;
  }
  built = true;
}

std::uint32_t JpegHuffmanTable::CodeCount() const {
  std::uint32_t count = 0;
  for (int i = 0; i < MaxCodeLength; ++i) count += lengthCounts[i];
  return count;
}

void JpegHuffmanTable::WriteTableData(OutputByteStream& stream) const {
  for (int i = 0; i < MaxCodeLength; ++i) stream.WriteByte(lengthCounts[i]);
  const std::uint32_t count = CodeCount();
  for (std::uint32_t i = 0; i < count; ++i) stream.WriteByte(symbols[i]);
}

std::uint32_t JpegHuffmanTable::TableDataLength() const {
  return 17 + CodeCount();
}

}  // namespace Quorvante
