// rasqet-encode writes JPEG files with the encoder's settings and reports its errors.
#include <gtest/gtest.h>

#include <string>

#include "../graphics/commandrunner.h"
#include "../graphics/testfiles.h"
#include "jpegtestsupport.h"

namespace rasqet::test {
namespace {

CommandResult Encode(const std::string& options, const std::string& output) {
  return RunCommand(std::string(RASQET_ENCODE) + " " + options + " --sample " + ShellQuote(output) +
                    " 2>&1");
}

TEST(RasqetEncodeJpeg, WritesTheSampleWithDefaults) {
  const std::string out = ScratchFile("sample.jpg");
  const CommandResult result = Encode("", out);
  EXPECT_EQ(result.exitCode, 0) << result.output;
  const auto decoded = JpegSupport::DecodeJpegStrict(ReadFileBytes(out));
  EXPECT_EQ(decoded.width, 320);
  EXPECT_EQ(decoded.height, 240);
  EXPECT_EQ(decoded.components, 3);
}

TEST(RasqetEncodeJpeg, ScanEntriesReplaceThePlan) {
  const std::string out = ScratchFile("scans.jpeg");
  const CommandResult result =
      Encode("--progressive -q 90 --scan 14:0:1 --scan 2:63:0 --scan 4:63:0 --scan 8:63:0", out);
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const auto file = JpegSupport::ReadJpegCoefficients(ReadFileBytes(out));
  EXPECT_TRUE(file.progressive);
  EXPECT_EQ(file.scanCount, 5);
}

TEST(RasqetEncodeJpeg, PassesTheOtherSettings) {
  const std::string out = ScratchFile("settings.jpg");
  const CommandResult result =
      Encode("--grayscale --restart-rows 2 --sampling 2x2,1x1,1x1 --comment 'a note'", out);
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const auto file = JpegSupport::ReadJpegCoefficients(ReadFileBytes(out));
  ASSERT_EQ(file.components.size(), 1u);
  EXPECT_EQ(file.components[0].horizontalSampling, 2);
  EXPECT_EQ(file.restartInterval, 2u * 40u);
  ASSERT_EQ(file.comments.size(), 2u);
  EXPECT_EQ(file.comments[0], std::string("a note", 7));  // with its terminating zero
}

TEST(RasqetEncodeJpeg, LibraryErrorsExitWithTheirMessage) {
  struct Failure {
    const char* options;
    const char* message;
  };
  for (const Failure f :
       {Failure{"--scan 2:0:0", "Not all components specified in scans\n"},
        Failure{"-q 0", "Value Out of Range\n"},
        Failure{"--sampling 5x1,1x1,1x1", "Invalid Horizontal Sampling Frequency\n"},
        Failure{"--progressive --scan 14:0:14", "Successive Approximation too large\n"}}) {
    const CommandResult result = Encode(f.options, ScratchFile("failed.jpg"));
    EXPECT_EQ(result.exitCode, 1) << f.options;
    EXPECT_EQ(result.output, f.message);
  }
}

}  // namespace
}  // namespace rasqet::test
