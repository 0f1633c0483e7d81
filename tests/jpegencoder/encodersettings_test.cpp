// The encoder's settings: defaults, ranges and their messages, and writing to files.
#include <gtest/gtest.h>

#include <string>

#include "../graphics/testfiles.h"
#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/memoryoutputstream.h"
#include "Graphics/outputbytestream.h"
#include "encodertestsupport.h"
#include "jpegtestsupport.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoder;
using Quorvante::RasterImage;

// Runs action, which must throw JpegError with exactly text.
template <class Action>
void ExpectJpegError(Action action, const std::string& text) {
  try {
    action();
    ADD_FAILURE() << "no JpegError, expected \"" << text << "\"";
  } catch (const JpegEncoder::JpegError& e) {
    EXPECT_EQ(std::string(e.what()), text);
  }
}

struct ScanValues {
  std::uint32_t mask = 99, end = 99, approximation = 99;
};
ScanValues GetScan(const JpegEncoder& encoder, std::uint32_t index) {
  ScanValues v;
  encoder.GetScan(index, v.mask, v.end, v.approximation);
  return v;
}

TEST(EncoderSettings, NewEncoderHasTheDefaults) {
  const JpegEncoder encoder;
  EXPECT_EQ(encoder.Quality(), 75u);
  EXPECT_FALSE(encoder.IsGrayscale());
  EXPECT_FALSE(encoder.IsProgressive());
  EXPECT_EQ(encoder.RestartRows(), 0u);
  EXPECT_EQ(encoder.Comment(), "");
  for (std::uint32_t id = 0; id < 4; ++id) {
    std::uint32_t h = 0, v = 0;
    encoder.GetComponentSampling(id, h, v);
    EXPECT_EQ(h, 1u);
    EXPECT_EQ(v, 1u);
  }
  const ScanValues first = GetScan(encoder, 0);
  EXPECT_EQ(first.mask, 14u);
  EXPECT_EQ(first.end, 0u);
  EXPECT_EQ(first.approximation, 0u);
  for (std::uint32_t i = 1; i < 256; ++i) EXPECT_EQ(GetScan(encoder, i).mask, 0u);
}

TEST(EncoderSettings, QualityFromOneToHundred) {
  JpegEncoder encoder;
  encoder.SetQuality(1);
  EXPECT_EQ(encoder.Quality(), 1u);
  encoder.SetQuality(100);
  EXPECT_EQ(encoder.Quality(), 100u);
}

TEST(EncoderErrors, ValueOutOfRange) {
  JpegEncoder encoder;
  encoder.SetQuality(40);
  ExpectJpegError([&] { encoder.SetQuality(0); }, "Value Out of Range");
  ExpectJpegError([&] { encoder.SetQuality(101); }, "Value Out of Range");
  EXPECT_EQ(encoder.Quality(), 40u);
}

TEST(EncoderErrors, InvalidComponentId) {
  JpegEncoder encoder;
  ExpectJpegError([&] { encoder.SetComponentSampling(4, 1, 1); }, "Invalid Component ID");
  std::uint32_t h = 7, v = 7;
  ExpectJpegError([&] { encoder.GetComponentSampling(4, h, v); }, "Invalid Component ID");
  EXPECT_EQ(h, 7u);
}

TEST(EncoderErrors, InvalidHorizontalSamplingFrequencyIsCheckedFirst) {
  JpegEncoder encoder;
  ExpectJpegError([&] { encoder.SetComponentSampling(1, 0, 9); },
                  "Invalid Horizontal Sampling Frequency");
  ExpectJpegError([&] { encoder.SetComponentSampling(1, 5, 1); },
                  "Invalid Horizontal Sampling Frequency");
}

TEST(EncoderErrors, InvalidVerticalSamplingFrequencyChangesNothing) {
  JpegEncoder encoder;
  ExpectJpegError([&] { encoder.SetComponentSampling(1, 2, 5); },
                  "Invalid Vertical Sampling Frequency");
  ExpectJpegError([&] { encoder.SetComponentSampling(1, 2, 0); },
                  "Invalid Vertical Sampling Frequency");
  std::uint32_t h = 0, v = 0;
  encoder.GetComponentSampling(1, h, v);
  EXPECT_EQ(h, 1u);
  EXPECT_EQ(v, 1u);
}

TEST(EncoderSettings, SamplingOfComponentZeroChangesNothingInTheFile) {
  const RasterImage image = MakeTestPicture(20, 12);
  JpegEncoder plain, zero;
  zero.SetComponentSampling(0, 4, 4);
  EXPECT_EQ(EncodeToMemory(plain, image), EncodeToMemory(zero, image));
}

TEST(EncoderErrors, ScanIndexOutOfRange) {
  JpegEncoder encoder;
  encoder.SetScan(255, 8, 63, 2);
  const ScanValues last = GetScan(encoder, 255);
  EXPECT_EQ(last.mask, 8u);
  EXPECT_EQ(last.end, 63u);
  EXPECT_EQ(last.approximation, 2u);
  ExpectJpegError([&] { encoder.SetScan(256, 2, 0, 0); }, "Scan Index Out of Range");
}

TEST(EncoderErrors, ScanIndexOutOfRangInGetScan) {
  JpegEncoder encoder;
  ExpectJpegError([&] { GetScan(encoder, 256); }, "Scan Index Out of Rang");
}

TEST(EncoderSettings, ProgressiveModeLoadsItsPlanOnlyOnAChange) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  EXPECT_EQ(GetScan(encoder, 1).mask, 2u);
  EXPECT_EQ(GetScan(encoder, 3).end, 63u);
  encoder.SetScan(1, 2, 10, 1);
  encoder.SetProgressive(true);  // no change of mode: the edit stays
  EXPECT_EQ(GetScan(encoder, 1).end, 10u);
  encoder.SetProgressive(false);
  EXPECT_EQ(GetScan(encoder, 0).mask, 14u);
  EXPECT_EQ(GetScan(encoder, 1).mask, 0u);
  encoder.SetProgressive(true);
  EXPECT_EQ(GetScan(encoder, 1).end, 63u);
  EXPECT_EQ(GetScan(encoder, 1).approximation, 0u);
}

TEST(EncoderSettings, CommentUpToTheSegmentLimit) {
  JpegEncoder encoder;
  const std::string longest(65532, 'c');
  encoder.SetComment(longest);
  EXPECT_EQ(encoder.Comment(), longest);
  const auto file =
      JpegSupport::ReadJpegCoefficients(EncodeToMemory(encoder, RasterImage(8, 8, 0)));
  ASSERT_EQ(file.comments.size(), 2u);
  EXPECT_EQ(file.comments[0].substr(0, 65532), longest);
}

TEST(EncoderErrors, CommentTooLongKeepsTheOldComment) {
  JpegEncoder encoder;
  encoder.SetComment("kept");
  ExpectJpegError([&] { encoder.SetComment(std::string(65533, 'x')); }, "Comment Too Long");
  EXPECT_EQ(encoder.Comment(), "kept");
}

// Failures found before the first byte leave the stream untouched.
template <class Setup>
void ExpectRefusedBeforeWriting(const RasterImage& image, Setup setup, const std::string& text) {
  JpegEncoder encoder;
  setup(encoder);
  Quorvante::MemoryOutputStream stream;
  ExpectJpegError([&] { encoder.WriteImage(stream, image); }, text);
  EXPECT_TRUE(stream.Bytes().empty());
}

TEST(EncoderErrors, EmptyImage) {
  auto none = [](JpegEncoder&) {};
  auto gray = [](JpegEncoder& e) { e.SetGrayscale(true); };
  auto progressive = [](JpegEncoder& e) { e.SetProgressive(true); };
  ExpectRefusedBeforeWriting(RasterImage(), none, "Empty Image");
  ExpectRefusedBeforeWriting(RasterImage(0, 5, 0), gray, "Empty Image");
  ExpectRefusedBeforeWriting(RasterImage(5, 0, 0), progressive, "Empty Image");
}

TEST(EncoderErrors, ImageTooLarge) {
  auto none = [](JpegEncoder&) {};
  ExpectRefusedBeforeWriting(RasterImage(65536, 1, 0), none, "Image Too Large");
  ExpectRefusedBeforeWriting(RasterImage(1, 65536, 0), none, "Image Too Large");
}

TEST(EncoderSettings, WidestImageIsWritten) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  const std::vector<Segment> segments =
      SplitSegments(EncodeToMemory(encoder, MakeTestPicture(65535, 1)));
  ASSERT_EQ(segments[3].marker, 0xC0);
  EXPECT_EQ(segments[3].payload[3], 0xFF);  // samples per line 65535
  EXPECT_EQ(segments[3].payload[4], 0xFF);
  EXPECT_EQ(segments.back().marker, 0xD9);
}

TEST(EncoderErrors, RestartIntervalTooLarge) {
  // 4096 columns of 8 pixels: 16 rows of MCUs make 65536, one more than the field holds.
  const RasterImage image(4096 * 8, 1, 0);
  ExpectRefusedBeforeWriting(
      image, [](JpegEncoder& e) { e.SetRestartRows(16); }, "Restart Interval Too Large");
  ExpectRefusedBeforeWriting(
      image, [](JpegEncoder& e) { e.SetRestartRows(0xFFFFFFFF); }, "Restart Interval Too Large");
  ExpectRefusedBeforeWriting(
      image,
      [](JpegEncoder& e) {
        e.SetGrayscale(true);
        e.SetRestartRows(16);
      },
      "Restart Interval Too Large");
  // A scan of Cb alone counts Cb's own data-unit columns: 2 per MCU with Cb sampled 2 x 1.
  const RasterImage half(2048 * 8, 1, 0);
  ExpectRefusedBeforeWriting(
      half,
      [](JpegEncoder& e) {
        e.SetComponentSampling(2, 2, 1);
        e.SetScan(0, 2, 0, 0);
        e.SetScan(1, 4, 0, 0);
        e.SetScan(2, 8, 0, 0);
        e.SetRestartRows(32);  // Y: 1024 x 32, Cb: 2048 x 32
      },
      "Restart Interval Too Large");
}

TEST(EncoderSettings, LargestRestartIntervalIsWritten) {
  JpegEncoder encoder;
  encoder.SetRestartRows(15);
  const auto file =
      JpegSupport::ReadJpegCoefficients(EncodeToMemory(encoder, RasterImage(4369 * 8, 1, 0)));
  EXPECT_EQ(file.restartInterval, 65535u);
}

TEST(EncoderSettings, ProgressiveFilesIgnoreRestartRows) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  encoder.SetRestartRows(0xFFFFFFFF);
  const auto file =
      JpegSupport::ReadJpegCoefficients(EncodeToMemory(encoder, RasterImage(40, 30, 0)));
  EXPECT_EQ(file.restartInterval, 0u);
}

TEST(EncoderSettings, WriteImageFileWritesADecodableFile) {
  JpegEncoder encoder;
  encoder.SetComment("file test");
  const std::string name = ScratchFile("written.jpg");
  const RasterImage image = MakeTestPicture(50, 40);
  encoder.WriteImageFile(name, image);
  const std::vector<std::uint8_t> bytes = ReadFileBytes(name);
  EXPECT_EQ(bytes, EncodeToMemory(encoder, image));
  EXPECT_EQ(JpegSupport::DecodeJpegStrict(bytes).width, 50);
}

TEST(EncoderErrors, CannotOpenInputFile) {
  JpegEncoder encoder;
  const std::string name = ScratchFile("no-such-directory/x.jpg");
  ExpectJpegError([&] { encoder.WriteImageFile(name, RasterImage(8, 8, 0)); },
                  "Cannot Open Input File No such file or directory");
}

// A file system that takes nothing: the error must not pass for success, whether the data
// fills the stream's buffer or only reaches the file when it is closed.
TEST(EncoderErrors, CannotWriteOutputFile) {
  for (const int width : {16, 2000}) {
    JpegEncoder encoder;
    encoder.SetQuality(100);
    try {
      encoder.WriteImageFile("/dev/full", MakeNoisePicture(width, 200, 3));
      ADD_FAILURE() << "no StreamError for width " << width;
    } catch (const Quorvante::OutputByteStream::StreamError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot Write Output File");
    }
  }
}

TEST(EncoderSettings, SecondWriteOfTheSameImageGivesTheSameFile) {
  JpegEncoder encoder;
  encoder.SetRestartRows(1);
  const RasterImage image = MakeTestPicture(40, 24);
  const auto first = EncodeToMemory(encoder, image);
  EXPECT_EQ(EncodeToMemory(encoder, image), first);
  encoder.SetProgressive(true);
  const auto progressive = EncodeToMemory(encoder, image);
  EXPECT_EQ(EncodeToMemory(encoder, image), progressive);
}

// A write cancelled in the middle of a progressive AC pass leaves nothing behind that the
// next write could pick up.
TEST(EncoderSettings, WriteAfterACancelledWriteIsComplete) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  int calls = 0;
  encoder.SetProgressFunction(
      [](Quorvante::ImageCoder&, std::uintptr_t data, std::uint32_t pass, std::uint32_t,
         std::uint32_t percent, bool& cancel) {
        int& count = *reinterpret_cast<int*>(data);
        // In the output half of the first AC pass, with a run of empty bands open.
        if (pass == 6 && percent > 50 && ++count == 1) cancel = true;
      },
      reinterpret_cast<std::uintptr_t>(&calls));
  const RasterImage flat(64, 64, Quorvante::MakePixel(90, 90, 90));
  Quorvante::MemoryOutputStream partial;
  EXPECT_THROW(encoder.WriteImage(partial, flat), Quorvante::GraphicsAbort);
  EXPECT_EQ(calls, 1);

  encoder.SetProgressFunction(nullptr, 0);
  encoder.SetProgressive(false);
  encoder.SetScan(0, 2, 0, 0);
  encoder.SetScan(1, 4, 0, 0);
  encoder.SetScan(2, 8, 0, 0);
  encoder.SetRestartRows(1);
  const std::vector<std::uint8_t> bytes = EncodeToMemory(encoder, flat);
  JpegEncoder fresh;
  fresh.SetScan(0, 2, 0, 0);
  fresh.SetScan(1, 4, 0, 0);
  fresh.SetScan(2, 8, 0, 0);
  fresh.SetRestartRows(1);
  EXPECT_EQ(bytes, EncodeToMemory(fresh, flat));
  EXPECT_NO_THROW(JpegSupport::DecodeJpegStrict(bytes));
}

TEST(EncoderSettings, QualityChangeReachesOnlyLaterFiles) {
  JpegEncoder encoder;
  const RasterImage image = MakeTestPicture(16, 16);
  const auto before = JpegSupport::ReadJpegCoefficients(EncodeToMemory(encoder, image));
  encoder.SetQuality(100);
  const auto after = JpegSupport::ReadJpegCoefficients(EncodeToMemory(encoder, image));
  EXPECT_EQ(before.components[0].quantizationValues[63], 91);  // set 8
  EXPECT_EQ(after.components[0].quantizationValues[63], 1);
}

TEST(EncoderErrors, SamplingAssertionOfTheComponent) {
  Quorvante::JpegEncoderComponent component;
  for (const std::uint32_t bad : {0u, 5u}) {
    try {
      component.SetVerticalFrequency(bad);
      ADD_FAILURE() << bad;
    } catch (const AssertionFailure& e) {
      EXPECT_EQ(std::string(e.what()),
                "Assertion Failure (Bad Parameter): value <= JPEGMAXSAMPLINGFREQUENCY && value "
                ">= JPEGMINSAMPLINGFREQUENCY jpgencodercomponent");
    }
  }
  EXPECT_THROW(component.SetHorizontalFrequency(5), AssertionFailure);
  component.SetVerticalFrequency(4);
  component.SetVerticalFrequency(1);
  EXPECT_EQ(component.VerticalFrequency(), 1u);
  EXPECT_EQ(component.HorizontalFrequency(), 1u);
}

}  // namespace
}  // namespace rasqet::test
