// Buffering and flush behaviour of the byte stream, seen through a memory sink.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "Graphics/memoryoutputstream.h"

namespace Quorvante {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(OutputByteStream, FullBufferFlushesOnlyOnTheNextByte) {
  MemoryOutputStream stream(16);
  for (int i = 0; i < 16; ++i) stream.WriteByte(static_cast<std::uint8_t>(i));
  EXPECT_EQ(stream.FlushCount(), 0);
  EXPECT_TRUE(stream.Flushed().empty());
  stream.WriteByte(99);
  EXPECT_EQ(stream.FlushCount(), 1);
  ASSERT_EQ(stream.Flushed().size(), 16u);
  EXPECT_EQ(stream.Bytes().back(), 99);
}

TEST(OutputByteStream, BlockWriteSpillsAcrossAFlushInOrder) {
  MemoryOutputStream stream(16);
  for (int i = 0; i < 12; ++i) stream.WriteByte(0xAA);  // 4 bytes of space remain
  Bytes ten(10);
  std::iota(ten.begin(), ten.end(), 1);
  stream.Write(ten.data(), 10);
  EXPECT_EQ(stream.FlushCount(), 1);
  const Bytes& flushed = stream.Flushed();
  ASSERT_EQ(flushed.size(), 16u);
  EXPECT_EQ(Bytes(flushed.end() - 4, flushed.end()), (Bytes{1, 2, 3, 4}));
  const Bytes all = stream.Bytes();
  EXPECT_EQ(Bytes(all.begin() + 12, all.end()), ten);
}

TEST(OutputByteStream, BlockWriteLargerThanSeveralBuffers) {
  MemoryOutputStream stream(8);
  Bytes data(37);
  std::iota(data.begin(), data.end(), 0);
  stream.Write(data.data(), 37);
  EXPECT_EQ(stream.FlushCount(), 4);
  EXPECT_EQ(stream.Bytes(), data);
}

TEST(OutputByteStream, BlockWriteOfNothing) {
  MemoryOutputStream stream(8);
  const std::uint8_t byte = 1;
  stream.Write(&byte, 0);
  stream.Write(&byte, -5);
  EXPECT_TRUE(stream.Bytes().empty());
}

TEST(OutputByteStream, BigEndianWordHighByteFirst) {
  MemoryOutputStream stream;
  stream.WriteBigEndianWord(0xFFD8);
  stream.WriteBigEndianWord(0x0102);
  EXPECT_EQ(stream.Bytes(), (Bytes{0xFF, 0xD8, 0x01, 0x02}));
}

TEST(OutputByteStream, BigEndianWordFlushesWhenTwoBytesOrFewerRemain) {
  // Space left before the word -> flushes before, flushes after.
  struct Case {
    int prefill, flushesAfter;
  } cases[] = {{0, 0}, {5, 0}, {6, 1}, {7, 1}};
  for (const Case& c : cases) {
    MemoryOutputStream stream(8);
    for (int i = 0; i < c.prefill; ++i) stream.WriteByte(0);
    stream.WriteBigEndianWord(0xABCD);
    EXPECT_EQ(stream.FlushCount(), c.flushesAfter) << c.prefill;
    const Bytes all = stream.Bytes();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(c.prefill + 2));
    EXPECT_EQ(all[all.size() - 2], 0xAB);
    EXPECT_EQ(all.back(), 0xCD);
  }
}

TEST(OutputByteStream, WordWritesIntoTheSmallestBuffer) {
  MemoryOutputStream stream(1);  // raised to the two bytes a word needs
  for (std::uint16_t word : {0x0102, 0x0304, 0x0506}) stream.WriteBigEndianWord(word);
  stream.WriteByte(7);
  EXPECT_EQ(stream.Bytes(), (Bytes{1, 2, 3, 4, 5, 6, 7}));
}

TEST(OutputByteStream, EnterBitModeOnFullBufferFlushesFirst) {
  MemoryOutputStream stream(4);
  for (int i = 0; i < 4; ++i) stream.WriteByte(7);
  stream.EnterBitMode(8);
  EXPECT_EQ(stream.FlushCount(), 1);
  EXPECT_EQ(stream.BitPosition(), 8);
  EXPECT_EQ(stream.PendingByte(), 0);
}

}  // namespace
}  // namespace Quorvante
