// The libjpeg checking support, proven on files that libjpeg itself writes, so that it does
// not depend on our encoder.
#include "jpegtestsupport.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using JpegSupport::DecodeJpegStrict;
using JpegSupport::JpegCheckError;
using JpegSupport::ListJpegSegments;
using JpegSupport::PeakSignalToNoise;
using JpegSupport::ReadJpegCoefficients;

struct LibjpegSettings {
  int width = 37;
  int height = 21;
  bool colour = true;
  bool progressive = false;
  int lumaH = 2, lumaV = 1;
  unsigned restartInterval = 0;
  int quality = 80;
  const char* comment = nullptr;
};

int TestPixel(int x, int y, int channel) {
  return (x * 7 + y * 3 + channel * 60) % 256;
}

// A small gradient image written by libjpeg's own compressor into memory.
std::vector<std::uint8_t> LibjpegFile(const LibjpegSettings& settings) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(settings.width);
  info.image_height = static_cast<JDIMENSION>(settings.height);
  info.input_components = settings.colour ? 3 : 1;
  info.in_color_space = settings.colour ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, settings.quality, TRUE);
  if (settings.colour) {
    info.comp_info[0].h_samp_factor = settings.lumaH;
    info.comp_info[0].v_samp_factor = settings.lumaV;
  }
  if (settings.progressive) jpeg_simple_progression(&info);
  info.restart_interval = settings.restartInterval;
  jpeg_start_compress(&info, TRUE);
  if (settings.comment != nullptr)
    jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(settings.comment),
                      static_cast<unsigned>(std::char_traits<char>::length(settings.comment)));
  std::vector<std::uint8_t> row(static_cast<std::size_t>(settings.width * info.input_components));
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < settings.width; ++x)
      for (int c = 0; c < info.input_components; ++c)
        row[static_cast<std::size_t>(x * info.input_components + c)] =
            static_cast<std::uint8_t>(TestPixel(x, y, c));
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

TEST(JpegTestSupport, DecodesColourAndGreyFiles) {
  for (bool colour : {true, false}) {
    SCOPED_TRACE(colour ? "colour" : "grey");
    LibjpegSettings settings;
    settings.colour = colour;
    settings.quality = 98;
    const auto decoded = DecodeJpegStrict(LibjpegFile(settings));
    EXPECT_EQ(decoded.width, 37);
    EXPECT_EQ(decoded.height, 21);
    EXPECT_EQ(decoded.components, colour ? 3 : 1);
    ASSERT_EQ(decoded.pixels.size(), static_cast<std::size_t>(37 * 21 * decoded.components));
    std::vector<std::uint8_t> source;
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 37; ++x)
        for (int c = 0; c < decoded.components; ++c)
          source.push_back(static_cast<std::uint8_t>(TestPixel(x, y, c)));
    EXPECT_GT(PeakSignalToNoise(decoded.pixels, source), 20.0);
    EXPECT_EQ(PeakSignalToNoise(source, source), 99.0);
    EXPECT_THROW(PeakSignalToNoise(source, {1, 2}), JpegCheckError);
    // Near the source pixels, away from the chroma-subsampled steep wrap of the gradient.
    const int x = 5, y = 4;
    for (int c = 0; c < decoded.components; ++c) {
      const int value =
          decoded.pixels[static_cast<std::size_t>((y * 37 + x) * decoded.components + c)];
      EXPECT_NEAR(value, TestPixel(x, y, c), 8) << "channel " << c;
    }
  }
}

TEST(JpegTestSupport, ReadsFrameParametersAndCoefficients) {
  LibjpegSettings settings;
  settings.lumaH = 2;
  settings.lumaV = 2;
  settings.restartInterval = 3;
  settings.comment = "made by libjpeg";
  const auto file = LibjpegFile(settings);
  const auto read = ReadJpegCoefficients(file);
  EXPECT_EQ(read.width, 37);
  EXPECT_EQ(read.height, 21);
  EXPECT_FALSE(read.progressive);
  EXPECT_FALSE(read.arithmetic);
  EXPECT_EQ(read.restartInterval, 3u);
  EXPECT_EQ(read.scanCount, 1);
  EXPECT_TRUE(read.jfif);
  ASSERT_EQ(read.comments.size(), 1u);
  EXPECT_EQ(read.comments[0], "made by libjpeg");
  ASSERT_EQ(read.components.size(), 3u);
  const auto& y = read.components[0];
  const auto& cb = read.components[1];
  EXPECT_EQ(y.id, 1);
  EXPECT_EQ(y.horizontalSampling, 2);
  EXPECT_EQ(y.verticalSampling, 2);
  EXPECT_EQ(cb.horizontalSampling, 1);
  EXPECT_EQ(y.quantizationTableNumber, 0);
  EXPECT_EQ(cb.quantizationTableNumber, 1);
  // libjpeg's quality 80 scales the example tables by 0.4: 16 -> 6, 17 -> 7.
  EXPECT_EQ(y.quantizationValues[0], 6);
  EXPECT_EQ(cb.quantizationValues[0], 7);
  EXPECT_EQ(y.quantizationValues[1], 4);  // row 0, column 1: 11 -> 4
  EXPECT_EQ(y.quantizationValues[8], 5);  // row 1, column 0: 12 -> 5 (natural order)
  EXPECT_EQ(y.blocksWide, 5);
  EXPECT_EQ(y.blocksHigh, 3);
  EXPECT_EQ(cb.blocksWide, 3);
  EXPECT_EQ(cb.blocksHigh, 2);
  ASSERT_EQ(y.blocks.size(), 15u);
  // The top-left luminance block: its DC is the block mean less 128, times 8, over 6.
  double mean = 0;
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c)
      mean += 0.299 * TestPixel(c, r, 0) + 0.587 * TestPixel(c, r, 1) + 0.114 * TestPixel(c, r, 2);
  mean /= 64;
  EXPECT_NEAR(y.Block(0, 0)[0], (mean - 128) * 8 / 6, 1.5);
}

TEST(JpegTestSupport, ListsTheMarkerStructure) {
  LibjpegSettings settings;
  settings.width = 64;
  settings.height = 16;
  settings.lumaH = 1;
  settings.restartInterval = 2;  // 16 MCUs of 8 x 8: restart markers 0 to 6
  settings.comment = "note";
  const auto file = LibjpegFile(settings);
  const auto segments = ListJpegSegments(file);
  std::vector<int> markers;
  for (const auto& segment : segments) markers.push_back(segment.marker);
  const std::vector<int> expected = {0xD8, 0xE0, 0xFE, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4,
                                     0xDD, 0xDA, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD9};
  EXPECT_EQ(markers, expected);
  EXPECT_EQ(segments[2].payload, std::vector<std::uint8_t>({'n', 'o', 't', 'e'}));
  EXPECT_EQ(segments[10].payload, std::vector<std::uint8_t>({0, 2}));  // restart interval
  EXPECT_GT(segments[11].entropyBytes, 0u);
  EXPECT_EQ(segments.back().offset, file.size() - 2);
  std::size_t covered = 0;  // every byte belongs to a marker, a segment or coded data
  for (const auto& segment : segments) {
    const bool standalone = segment.marker == 0xD8 || segment.marker == 0xD9 ||
                            (segment.marker >= 0xD0 && segment.marker <= 0xD7);
    covered += 2 + (standalone ? 0 : 2 + segment.payload.size()) + segment.entropyBytes;
  }
  EXPECT_EQ(covered, file.size());

  auto cut = file;
  cut.resize(cut.size() - 2);
  EXPECT_THROW(ListJpegSegments(cut), JpegCheckError);
  auto extra = file;
  extra.push_back(0);
  EXPECT_THROW(ListJpegSegments(extra), JpegCheckError);
  auto badLength = file;
  badLength[4] = 0xFF;  // APP0 length beyond the file
  EXPECT_THROW(ListJpegSegments(badLength), JpegCheckError);
}

TEST(JpegTestSupport, ReadsProgressiveFiles) {
  LibjpegSettings settings;
  settings.progressive = true;
  const auto file = LibjpegFile(settings);
  const auto read = ReadJpegCoefficients(file);
  EXPECT_TRUE(read.progressive);
  EXPECT_EQ(read.scanCount, 10);  // libjpeg's simple progression for colour
  settings.progressive = false;
  const auto sequential = ReadJpegCoefficients(LibjpegFile(settings));
  // Progressive or not, the same quantized coefficients.
  ASSERT_EQ(read.components.size(), sequential.components.size());
  for (std::size_t c = 0; c < read.components.size(); ++c)
    EXPECT_EQ(read.components[c].blocks, sequential.components[c].blocks) << c;
  EXPECT_NO_THROW(DecodeJpegStrict(file));
}

TEST(JpegTestSupport, DamagedFilesAreRejected) {
  LibjpegSettings settings;
  settings.width = 64;
  settings.height = 64;
  const auto file = LibjpegFile(settings);
  ASSERT_NO_THROW(DecodeJpegStrict(file));

  struct Damage {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Damage> damages;
  damages.push_back({"empty", {}});
  damages.push_back({"not a JPEG", {'P', '6', '\n', '1', ' ', '1', '\n'}});
  damages.push_back(
      {"truncated in the data", std::vector<std::uint8_t>(file.begin(), file.end() - 40)});
  damages.push_back({"no end of image", std::vector<std::uint8_t>(file.begin(), file.end() - 2)});
  auto extra = file;
  extra.push_back(0x00);
  extra.push_back(0x11);
  damages.push_back({"bytes after the end", extra});
  // A marker in the middle of the entropy-coded data: corrupt data, a libjpeg warning.
  auto marker = file;
  marker[marker.size() - 30] = 0xFF;
  marker[marker.size() - 29] = 0xD3;
  damages.push_back({"stray restart marker", marker});

  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    EXPECT_THROW(DecodeJpegStrict(d.bytes), JpegCheckError);
    EXPECT_THROW(ReadJpegCoefficients(d.bytes), JpegCheckError);
  }
}

}  // namespace
