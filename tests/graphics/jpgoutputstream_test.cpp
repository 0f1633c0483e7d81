// Bit output with byte stuffing: codes go most significant bit first, a 0x00 follows every
// completed 0xFF, and free bits of the last byte are 0.
#include <gtest/gtest.h>

#include <vector>

#include "Graphics/graphicsexceptions.h"
#include "Graphics/memoryoutputstream.h"

namespace Quorvante {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BitsCall {
  std::int32_t bits;
  std::uint32_t count;
};

struct BitCase {
  const char* name;
  std::vector<BitsCall> calls;
  Bytes completed;           // bytes in the output before ExitBitMode
  std::int32_t bitPosition;  // free bits in the pending byte
  std::uint8_t pending;
};

TEST(JpegOutputStream, OutputBitsTable) {
  const BitCase cases[] = {
      {"three bits", {{5, 3}}, {}, 5, 0xA0},
      {"ff is stuffed", {{0xFF, 8}}, {0xFF, 0x00}, 8, 0},
      {"7f is not stuffed", {{0x7F, 8}}, {0x7F}, 8, 0},
      {"sixteen ones", {{0xFFFF, 16}}, {0xFF, 0x00, 0xFF, 0x00}, 8, 0},
      {"high bits ignored", {{0xFFFF, 4}}, {}, 4, 0xF0},
      {"across a byte", {{0x3, 2}, {0x1FF, 9}}, {0xFF, 0x00}, 5, 0xE0},
      {"ff made of two codes", {{0xF, 4}, {0xF, 4}}, {0xFF, 0x00}, 8, 0},
      {"single bits", {{1, 1}, {0, 1}, {1, 1}}, {}, 5, 0xA0},
      {"negative value low bits", {{-1, 3}}, {}, 5, 0xE0},
  };
  for (const BitCase& c : cases) {
    MemoryOutputStream stream;
    stream.EnterBitMode(8);
    for (const BitsCall& call : c.calls) stream.OutputBits(call.bits, call.count);
    EXPECT_EQ(stream.Bytes(), c.completed) << c.name;
    EXPECT_EQ(stream.BitPosition(), c.bitPosition) << c.name;
    EXPECT_EQ(stream.PendingByte(), c.pending) << c.name;
  }
}

TEST(JpegOutputStream, CountOutsideOneToSixteenIsAnAssertion) {
  for (std::uint32_t count : {0u, 17u, 32u}) {
    MemoryOutputStream stream;
    stream.EnterBitMode(8);
    try {
      stream.OutputBits(1, count);
      FAIL() << count;
    } catch (const AssertionFailure& e) {
      EXPECT_STREQ(e.what(),
                   "Assertion Failure (Bad Parameter): count != 0 && count <= 16 "
                   "jpeg\\jpgoutputstream");
    }
    EXPECT_EQ(stream.PendingByte(), 0);
    EXPECT_EQ(stream.BitPosition(), 8);
  }
}

TEST(JpegOutputStream, ExitBitModeKeepsPartialByte) {
  MemoryOutputStream stream;
  stream.EnterBitMode(8);
  stream.OutputBits(7, 3);
  stream.ExitBitMode();
  EXPECT_EQ(stream.Bytes(), Bytes{0xE0});
  EXPECT_EQ(stream.BitPosition(), -1);
}

TEST(JpegOutputStream, ExitBitModeOnByteBoundaryAddsNothing) {
  for (std::uint32_t count : {0u, 8u, 16u}) {
    MemoryOutputStream stream;
    stream.EnterBitMode(8);
    if (count != 0) stream.OutputBits(0x1234, count);
    const std::size_t before = stream.Bytes().size();
    stream.ExitBitMode();
    EXPECT_EQ(stream.Bytes().size(), before) << count;
    // The next byte-level write overwrites the unused open byte.
    stream.WriteByte(0xD9);
    EXPECT_EQ(stream.Bytes().back(), 0xD9);
    EXPECT_EQ(stream.Bytes().size(), before + 1);
  }
}

TEST(JpegOutputStream, RestartMarkerBetweenBitSections) {
  MemoryOutputStream stream;
  stream.EnterBitMode(8);
  stream.OutputBits(0x5, 3);
  stream.ExitBitMode();
  stream.WriteBigEndianWord(0xFFD0);  // markers are never stuffed
  stream.EnterBitMode(8);
  stream.OutputBits(0xFF, 8);
  stream.ExitBitMode();
  EXPECT_EQ(stream.Bytes(), (Bytes{0xA0, 0xFF, 0xD0, 0xFF, 0x00}));
}

TEST(JpegOutputStream, StuffingAcrossBufferFlushes) {
  // A tiny buffer makes NextByte flush all the time; the result must be the same.
  MemoryOutputStream small(MemoryOutputStream::kMinBufferSize);
  MemoryOutputStream large(4096);
  for (MemoryOutputStream* stream : {&small, &large}) {
    stream->EnterBitMode(8);
    for (int i = 0; i < 50; ++i) stream->OutputBits(0xFFFF >> (i % 7), 16 - (i % 7));
    stream->ExitBitMode();
  }
  EXPECT_EQ(small.Bytes(), large.Bytes());
  EXPECT_GT(small.FlushCount(), 25);
}

// Reference: the same bits written one at a time into a plain vector.
Bytes ReferenceBits(const std::vector<BitsCall>& calls) {
  Bytes out;
  std::uint8_t byte = 0;
  int free = 8;
  for (const BitsCall& call : calls) {
    for (std::uint32_t k = call.count; k > 0; --k) {
      if ((call.bits >> (k - 1)) & 1) byte |= static_cast<std::uint8_t>(1u << (free - 1));
      if (--free == 0) {
        out.push_back(byte);
        if (byte == 0xFF) out.push_back(0);
        byte = 0;
        free = 8;
      }
    }
  }
  if (free != 8) out.push_back(byte);
  return out;
}

TEST(JpegOutputStream, MatchesBitByBitReferenceOnRandomCodes) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  std::vector<BitsCall> calls;
  for (int i = 0; i < 5000; ++i) {
    const std::uint32_t count = 1 + (next() >> 8) % 16;
    // Many ones, so stuffing happens often.
    const std::int32_t bits =
        static_cast<std::int32_t>((next() >> 4) | ((next() & 1) ? 0xFFFF : 0));
    calls.push_back({bits, count});
  }
  MemoryOutputStream stream(64);
  stream.EnterBitMode(8);
  for (const BitsCall& call : calls) stream.OutputBits(call.bits, call.count);
  stream.ExitBitMode();
  EXPECT_EQ(stream.Bytes(), ReferenceBits(calls));
}

}  // namespace
}  // namespace Quorvante
