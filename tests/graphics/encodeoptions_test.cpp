// The rasqet-encode command line: formats by extension, every option, and usage errors.
#include "tools/encodeoptions.h"

#include <gtest/gtest.h>

namespace rasqet {
namespace {

EncodeOptions Parse(std::vector<std::string> args) {
  return ParseEncodeOptions(args);
}

TEST(EncodeOptions, FormatFollowsTheExtensionInAnyCase) {
  struct Case {
    const char* name;
    OutputFormat format;
  } cases[] = {{"a.bmp", OutputFormat::kBmp},  {"a.BMP", OutputFormat::kBmp},
               {"a.jpg", OutputFormat::kJpeg}, {"dir.x/a.JpEg", OutputFormat::kJpeg},
               {"a.png", OutputFormat::kPng},  {"a.b.PNG", OutputFormat::kPng}};
  for (const Case& c : cases) EXPECT_EQ(Parse({"in.ppm", c.name}).format, c.format) << c.name;
  for (const char* bad : {"a.gif", "a", "bmp", "a.bmp.txt"}) {
    EXPECT_THROW(Parse({"in.ppm", bad}), UsageError) << bad;
  }
}

TEST(EncodeOptions, EveryOption) {
  const EncodeOptions o = Parse({"--bmp-bits",
                                 "16",
                                 "--no-alpha",
                                 "-q",
                                 "90",
                                 "--grayscale",
                                 "--progressive",
                                 "--restart-rows",
                                 "3",
                                 "--sampling",
                                 "2x2,1x1,1x1",
                                 "--comment",
                                 "hello world",
                                 "--scan",
                                 "2:0:1",
                                 "--scan",
                                 "14:63:0",
                                 "--png-level",
                                 "-1",
                                 "--progress",
                                 "in.pgm",
                                 "out.jpg"});
  EXPECT_EQ(o.input, "in.pgm");
  EXPECT_EQ(o.output, "out.jpg");
  EXPECT_EQ(o.bmpBits, 16);
  EXPECT_FALSE(o.alpha);
  EXPECT_TRUE(o.qualitySet);
  EXPECT_EQ(o.quality, 90u);
  EXPECT_TRUE(o.grayscale);
  EXPECT_TRUE(o.progressive);
  EXPECT_EQ(o.restartRows, 3u);
  ASSERT_TRUE(o.samplingSet);
  EXPECT_EQ(o.sampling[0].horizontal, 2u);
  EXPECT_EQ(o.sampling[0].vertical, 2u);
  EXPECT_EQ(o.sampling[2].horizontal, 1u);
  EXPECT_EQ(o.comment, "hello world");
  ASSERT_EQ(o.scans.size(), 2u);
  EXPECT_EQ(o.scans[0].componentMask, 2u);
  EXPECT_EQ(o.scans[0].successiveApproximation, 1u);
  EXPECT_EQ(o.scans[1].spectralEnd, 63u);
  EXPECT_EQ(o.pngLevel, -1);
  EXPECT_TRUE(o.progress);
}

TEST(EncodeOptions, DefaultsAndSample) {
  const EncodeOptions o = Parse({"--sample", "out.bmp"});
  EXPECT_TRUE(o.sample);
  EXPECT_TRUE(o.input.empty());
  EXPECT_EQ(o.bmpBits, 24);
  EXPECT_TRUE(o.alpha);
  EXPECT_EQ(o.quality, 75u);
  EXPECT_EQ(o.pngLevel, 9);
  EXPECT_TRUE(o.scans.empty());
}

TEST(EncodeOptions, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"in.ppm"},
      {"in.ppm", "a.bmp", "b.bmp"},
      {"--sample", "in.ppm", "a.bmp"},
      {"--bogus", "in.ppm", "a.bmp"},
      {"in.ppm", "a.bmp", "-q"},
      {"-q", "x", "in.ppm", "a.jpg"},
      {"-q", "-5", "in.ppm", "a.jpg"},
      {"-q", "99999999999", "in.ppm", "a.jpg"},
      {"--sampling", "2x2,1x1", "in.ppm", "a.jpg"},
      {"--sampling", "22,1x1,1x1", "in.ppm", "a.jpg"},
      {"--scan", "2:0", "in.ppm", "a.jpg"},
      {"--scan", "2:a:0", "in.ppm", "a.jpg"},
      {"--png-level", "nine", "in.ppm", "a.png"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_THROW(Parse(args), UsageError) << joined;
  }
}

}  // namespace
}  // namespace rasqet
