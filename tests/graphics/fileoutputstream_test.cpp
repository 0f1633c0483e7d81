// The file-backed stream: large block writes, quiet destruction, and write errors that surface.
#include "Graphics/fileoutputstream.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "Graphics/graphicsexceptions.h"
#include "testfiles.h"

namespace Quorvante {
namespace {

using rasqet::test::ReadFileBytes;
using rasqet::test::ScratchFile;

TEST(FileOutputStream, WritesOnlyWhenTheBufferIsFull) {
  const std::string name = ScratchFile("full-buffer.bin");
  {
    FileOutputStream stream;
    stream.Open(name);
    ASSERT_TRUE(stream.IsOpen());
    for (int i = 0; i < FileOutputStream::kBufferSize; ++i)
      stream.WriteByte(static_cast<std::uint8_t>(i));
    EXPECT_EQ(std::filesystem::file_size(name), 0u);
    stream.WriteByte(0x5A);
    EXPECT_EQ(std::filesystem::file_size(name),
              static_cast<std::uintmax_t>(FileOutputStream::kBufferSize));
  }
  const auto bytes = ReadFileBytes(name);
  ASSERT_EQ(bytes.size(), static_cast<std::size_t>(FileOutputStream::kBufferSize) + 1);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes.back(), 0x5A);
}

TEST(FileOutputStream, CloseWritesTheRest) {
  const std::string name = ScratchFile("close.bin");
  FileOutputStream stream;
  stream.Open(name);
  stream.WriteBigEndianWord(0xFFD8);
  stream.Close();
  EXPECT_EQ(ReadFileBytes(name), (std::vector<std::uint8_t>{0xFF, 0xD8}));
}

TEST(FileOutputStream, OpenTwiceIsAnError) {
  FileOutputStream stream;
  stream.Open(ScratchFile("twice.bin"));
  try {
    stream.Open(ScratchFile("twice-again.bin"));
    FAIL();
  } catch (const OutputByteStream::StreamError& e) {
    EXPECT_STREQ(e.what(), "Already Open");
  }
}

TEST(FileOutputStream, FailedOpenIsQuiet) {
  const std::string name = ScratchFile("no-such-dir/x.bin");
  {
    FileOutputStream stream;
    EXPECT_NO_THROW(stream.Open(name));
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_NO_THROW(stream.Close());
  }
  EXPECT_FALSE(std::filesystem::exists(name));
}

// A full disk must not be reported as success.
TEST(FileOutputStream, FullDiskRaisesOnCloseAndOnFlush) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  {
    FileOutputStream stream;
    stream.Open("/dev/full");
    ASSERT_TRUE(stream.IsOpen());
    stream.WriteByte(1);
    try {
      stream.Close();
      FAIL();
    } catch (const OutputByteStream::StreamError& e) {
      EXPECT_STREQ(e.what(), "Cannot Write Output File");
    }
  }
  {
    FileOutputStream stream;
    stream.Open("/dev/full");
    for (int i = 0; i < FileOutputStream::kBufferSize; ++i) stream.WriteByte(0);
    EXPECT_THROW(stream.WriteByte(0), OutputByteStream::StreamError);
    EXPECT_FALSE(stream.IsOpen());
  }  // the destructor after a failure stays quiet
}

TEST(FileOutputStream, DestructorAfterExceptionKeepsWhatWasWritten) {
  const std::string name = ScratchFile("partial.bin");
  try {
    FileOutputStream stream;
    stream.Open(name);
    stream.WriteByte(0xFF);
    stream.WriteByte(0xD8);
    throw GraphicsAbort();
  } catch (const GraphicsAbort&) {
  }
  EXPECT_EQ(ReadFileBytes(name), (std::vector<std::uint8_t>{0xFF, 0xD8}));
}

TEST(FileOutputStream, BitOutputReachesTheFile) {
  const std::string name = ScratchFile("bits.bin");
  FileOutputStream stream;
  stream.Open(name);
  JpegOutputStream& bits = stream;
  bits.EnterBitMode(8);
  bits.OutputBits(0xFFFF, 16);
  bits.OutputBits(1, 1);
  bits.ExitBitMode();
  stream.Close();
  EXPECT_EQ(ReadFileBytes(name), (std::vector<std::uint8_t>{0xFF, 0x00, 0xFF, 0x00, 0x80}));
}

}  // namespace
}  // namespace Quorvante
