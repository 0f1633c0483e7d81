// rasqet-encode as people run it: exit codes, messages and the files it writes.
#include <gtest/gtest.h>

#include <fstream>

#include "Graphics/bmpencoder.h"
#include "commandrunner.h"
#include "testfiles.h"
#include "tools/pnmreader.h"
#include "tools/sampleraster.h"

namespace rasqet {
namespace {

using test::ReadFileBytes;
using test::RunCommand;
using test::ScratchFile;
using test::ShellQuote;

// Runs the tool with stderr folded into the captured output.
test::CommandResult Encode(const std::string& args) {
  return RunCommand(ShellQuote(RASQET_ENCODE) + " " + args + " 2>&1");
}

std::string WritePpm(const std::string& name, const std::string& body) {
  const std::string path = ScratchFile(name);
  std::ofstream(path, std::ios::binary) << body;
  return path;
}

TEST(RasqetEncode, PpmToBmpMatchesTheEncoder) {
  const std::string input = WritePpm("in.ppm", std::string("P6\n3 2\n255\n") +
                                                   "\x01\x02\x03\x04\x05\x06\x07\x08\x09"
                                                   "\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12");
  for (int bits : {16, 24, 32}) {
    const std::string output = ScratchFile("out" + std::to_string(bits) + ".BMP");
    const auto result = Encode("--bmp-bits " + std::to_string(bits) + " " + ShellQuote(input) +
                               " " + ShellQuote(output));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const std::string reference = ScratchFile("ref" + std::to_string(bits) + ".bmp");
    Quorvante::BmpEncoder encoder;
    encoder.SetBitsPerPixel(bits);
    encoder.WriteImageFile(reference, ReadPnm(input));
    EXPECT_EQ(ReadFileBytes(output), ReadFileBytes(reference)) << bits;
  }
}

TEST(RasqetEncode, NoAlphaClearsTheMask) {
  const std::string output = ScratchFile("noalpha.bmp");
  ASSERT_EQ(Encode("--bmp-bits 32 --no-alpha --sample " + ShellQuote(output)).exitCode, 0);
  const auto bytes = ReadFileBytes(output);
  ASSERT_GT(bytes.size(), 70u);
  EXPECT_EQ(bytes[66] | bytes[67] | bytes[68] | bytes[69], 0);
}

TEST(RasqetEncode, ProgressReports) {
  const std::string output = ScratchFile("progress.bmp");
  const auto result = Encode("--progress --bmp-bits 32 --sample " + ShellQuote(output));
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "1/1 0\n1/1 100\n");
}

TEST(RasqetEncode, ErrorsAndTheirExitCodes) {
  const std::string good = WritePpm("good.ppm", std::string("P6 1 1 255\n") + "abc");
  const std::string truncated = WritePpm("short.ppm", std::string("P6 2 2 255\n") + "abc");
  const std::string missingDir = ScratchFile("no-such-dir/x.bmp");
  struct Case {
    std::string args;
    int exitCode;
    std::string message;  // expected on stderr
  } cases[] = {
      {"--bmp-bits 8 " + ShellQuote(good) + " " + ScratchFile("x.bmp"), 1, "Invalid Bit Depth\n"},
      {ShellQuote(good) + " " + ShellQuote(missingDir), 1,
       "Cannot Open Input File " + missingDir + "\n"},
      {ShellQuote(truncated) + " " + ScratchFile("y.bmp"), 2, "file is truncated"},
      {ShellQuote(ScratchFile("absent.ppm")) + " " + ScratchFile("z.bmp"), 2, "cannot open"},
      {ShellQuote(good) + " " + ScratchFile("x.gif"), 2, "cannot tell the format"},
      {"--frobnicate " + ShellQuote(good) + " " + ScratchFile("x.bmp"), 2, "unknown option"},
  };
  for (const Case& c : cases) {
    const auto result = Encode(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.args << "\n" << result.output;
    if (c.exitCode == 1) {
      EXPECT_EQ(result.output, c.message) << c.args;
    } else {
      EXPECT_NE(result.output.find(c.message), std::string::npos) << c.args << "\n"
                                                                  << result.output;
    }
  }
}

TEST(RasqetEncode, SampleIsTheBuiltInPicture) {
  const std::string output = ScratchFile("sample.bmp");
  ASSERT_EQ(Encode("--sample " + ShellQuote(output)).exitCode, 0);
  const std::string reference = ScratchFile("sample-ref.bmp");
  Quorvante::BmpEncoder().WriteImageFile(reference, MakeSampleRaster());
  EXPECT_EQ(ReadFileBytes(output), ReadFileBytes(reference));
}

}  // namespace
}  // namespace rasqet
