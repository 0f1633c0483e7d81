// The marker segments byte for byte, and the order of segments and scans in whole files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "Graphics/JPEGsource/jpegsegments.h"
#include "Graphics/JPEGsource/jpgquantizationtable.h"
#include "Graphics/graphicsexceptions.h"
#include "Graphics/memoryoutputstream.h"
#include "encodertestsupport.h"
#include "jpegtestsupport.h"

namespace rasqet::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Quorvante::JpegEncoder;
using Quorvante::RasterImage;

template <class Writer>
Bytes Written(Writer writer) {
  Quorvante::MemoryOutputStream stream;
  writer(stream);
  return stream.Bytes();
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kApplicationSegment = {0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00,
                                   0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};

TEST(Segments, FixedSegments) {
  using namespace Quorvante;
  EXPECT_EQ(Written([](auto& s) { WriteStartOfImage(s); }), (Bytes{0xFF, 0xD8}));
  EXPECT_EQ(Written([](auto& s) { WriteEndOfImage(s); }), (Bytes{0xFF, 0xD9}));
  EXPECT_EQ(Written([](auto& s) { WriteApplicationSegment(s); }), kApplicationSegment);
  EXPECT_EQ(Written([](auto& s) { WriteRestartInterval(s, 0x1234); }),
            (Bytes{0xFF, 0xDD, 0x00, 0x04, 0x12, 0x34}));
  EXPECT_EQ(Written([](auto& s) { WriteRestartMarker(s, 0); }), (Bytes{0xFF, 0xD0}));
  EXPECT_EQ(Written([](auto& s) { WriteRestartMarker(s, 7); }), (Bytes{0xFF, 0xD7}));
}

TEST(Segments, CommentCountsItsTerminatingZero) {
  using namespace Quorvante;
  EXPECT_EQ(Written([](auto& s) { WriteCommentSegment(s, "hi"); }),
            (Bytes{0xFF, 0xFE, 0x00, 0x05, 'h', 'i', 0x00}));
  const Bytes library = Written([](auto& s) { WriteCommentSegment(s, kLibraryComment); });
  EXPECT_EQ(library, Concat({{0xFF, 0xFE, 0x00, 0x34},
                             Text("Created using the Quorvante Builders JPEG library"),
                             {0x00}}));
  const Bytes longest = Written([](auto& s) { WriteCommentSegment(s, std::string(65532, 'a')); });
  EXPECT_EQ(longest[2], 0xFF);
  EXPECT_EQ(longest[3], 0xFF);
  EXPECT_EQ(longest.size(), 65537u);
}

TEST(Segments, FrameHeader) {
  using namespace Quorvante;
  const FrameComponent colour[3] = {{1, 2, 2, 0}, {2, 1, 1, 1}, {3, 1, 1, 1}};
  EXPECT_EQ(Written([&](auto& s) { WriteFrameHeader(s, 0xC2, 0x0102, 0x0304, colour, 3); }),
            (Bytes{0xFF, 0xC2, 0x00, 0x11, 0x08, 0x01, 0x02, 0x03, 0x04, 0x03, 0x01, 0x22, 0x00,
                   0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
}

TEST(Segments, QuantizationTablesCarryTheUsedOnes) {
  std::array<Quorvante::JpegQuantizationTable, 4> tables;
  for (auto& table : tables) table.LoadLuminanceValues(50);
  tables[1].used = true;
  tables[3].used = true;
  const Bytes bytes = Written([&](auto& s) { Quorvante::WriteQuantizationTables(s, tables); });
  ASSERT_EQ(bytes.size(), 4u + 130u);
  EXPECT_EQ(bytes[3], 132);
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(bytes[4 + 65], 3);
  const Bytes values = Written([&](auto& s) { tables[1].WriteValues(s); });
  EXPECT_EQ(Bytes(bytes.begin() + 5, bytes.begin() + 69), values);
}

TEST(Segments, ScanHeaders) {
  using namespace Quorvante;
  const std::uint8_t all[3] = {1, 2, 3};
  EXPECT_EQ(
      Written([&](auto& s) { WriteScanHeader(s, all, 3, 0, 63, 0, false); }),
      (Bytes{0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));
  EXPECT_EQ(
      Written([&](auto& s) { WriteScanHeader(s, all, 3, 0, 0, 0x10, true); }),
      (Bytes{0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x10}));
  EXPECT_EQ(Written([&](auto& s) { WriteScanHeader(s, all + 2, 1, 6, 63, 0x21, false); }),
            (Bytes{0xFF, 0xDA, 0x00, 0x08, 0x01, 0x03, 0x11, 0x06, 0x3F, 0x21}));
}

// Markers and payloads of the file written for image with encoder.
std::vector<Segment> FileSegments(JpegEncoder& encoder, const RasterImage& image) {
  return SplitSegments(EncodeToMemory(encoder, image));
}

std::vector<Segment> Only(const std::vector<Segment>& segments, std::uint8_t marker) {
  std::vector<Segment> found;
  for (const Segment& s : segments) {
    if (s.marker == marker) found.push_back(s);
  }
  return found;
}

TEST(FileLayout, GrayscaleBaselineBeginning) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  const Bytes bytes = EncodeToMemory(encoder, MakeTestPicture(16, 16));
  Quorvante::JpegQuantizationTable table;
  table.LoadLuminanceValues(75);
  const Bytes head =
      Concat({{0xFF, 0xD8},
              kApplicationSegment,
              {0xFF, 0xFE, 0x00, 0x34},
              Text("Created using the Quorvante Builders JPEG library"),
              {0x00},
              {0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x10, 0x00, 0x10, 0x01, 0x01, 0x11, 0x00},
              {0xFF, 0xDB, 0x00, 0x43, 0x00},
              Written([&](auto& s) { table.WriteValues(s); }),
              {0xFF, 0xC4}});
  ASSERT_GT(bytes.size(), head.size());
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head.size())), head);
  const std::vector<Segment> segments = SplitSegments(bytes);
  EXPECT_EQ(MarkerSequence(segments),
            (Bytes{0xD8, 0xE0, 0xFE, 0xC0, 0xDB, 0xC4, 0xDA, 0x00, 0xD9}));
  EXPECT_EQ(Only(segments, 0xDA)[0].payload, (Bytes{0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));
  EXPECT_EQ(Only(segments, 0xC4)[0].payload[0], 0x00);  // luminance DC, then AC
  EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
  EXPECT_EQ(bytes.back(), 0xD9);
}

TEST(FileLayout, ColourBaselineWithDefaults) {
  JpegEncoder encoder;
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(30, 20));
  EXPECT_EQ(MarkerSequence(segments),
            (Bytes{0xD8, 0xE0, 0xFE, 0xC0, 0xDB, 0xC4, 0xDA, 0x00, 0xD9}));
  EXPECT_EQ(Only(segments, 0xDA)[0].payload,
            (Bytes{0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));
  EXPECT_EQ(Only(segments, 0xDB)[0].payload.size(), 130u);  // length 132
  EXPECT_EQ(Only(segments, 0xC0)[0].payload, (Bytes{0x08, 0x00, 20, 0x00, 30, 0x03, 0x01, 0x11,
                                                    0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
  // The Huffman segment carries four tables, in the order 0x00, 0x10, 0x01, 0x11.
  const Bytes dht = Only(segments, 0xC4)[0].payload;
  std::vector<std::uint8_t> classes;
  for (std::size_t i = 0; i < dht.size();) {
    classes.push_back(dht[i]);
    std::size_t codes = 0;
    for (int k = 1; k <= 16; ++k) codes += dht[i + static_cast<std::size_t>(k)];
    i += 17 + codes;
  }
  EXPECT_EQ(classes, (Bytes{0x00, 0x10, 0x01, 0x11}));
}

TEST(FileLayout, SubsampledFrameComponents) {
  JpegEncoder encoder;
  encoder.SetComponentSampling(1, 2, 2);
  const Bytes frame = Only(FileSegments(encoder, MakeTestPicture(30, 20)), 0xC0)[0].payload;
  EXPECT_EQ(Bytes(frame.begin() + 6, frame.end()),
            (Bytes{0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
}

TEST(FileLayout, CallerCommentComesFirst) {
  JpegEncoder encoder;
  encoder.SetComment("drawing 7");
  const std::vector<Segment> comments = Only(FileSegments(encoder, RasterImage(8, 8, 0)), 0xFE);
  ASSERT_EQ(comments.size(), 2u);
  EXPECT_EQ(comments[0].payload, Concat({Text("drawing 7"), {0x00}}));
  encoder.SetComment("");
  EXPECT_EQ(Only(FileSegments(encoder, RasterImage(8, 8, 0)), 0xFE).size(), 1u);
}

TEST(FileLayout, RestartIntervalSegmentOnlyWhenTheIntervalChanges) {
  JpegEncoder encoder;
  encoder.SetComponentSampling(1, 2, 1);
  encoder.SetScan(0, 2, 0, 0);
  encoder.SetScan(1, 4, 0, 0);
  encoder.SetScan(2, 8, 0, 0);
  encoder.SetRestartRows(1);
  // 64 pixels: 4 MCUs of 16, so Y has 8 data-unit columns and Cb and Cr 4.
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(64, 20));
  std::vector<std::uint8_t> order;
  for (const Segment& s : segments) {
    if (s.marker == 0xDD) order.push_back(s.payload[1]);
    if (s.marker == 0xDA) order.push_back(0xDA);
  }
  EXPECT_EQ(order, (Bytes{8, 0xDA, 4, 0xDA, 0xDA}));
}

TEST(FileLayout, RestartMarkersBetweenIntervalsOnly) {
  JpegEncoder encoder;
  encoder.SetRestartRows(1);
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(24, 16));
  EXPECT_EQ(MarkerSequence(segments),
            (Bytes{0xD8, 0xE0, 0xFE, 0xC0, 0xDB, 0xDD, 0xC4, 0xDA, 0x00, 0xD0, 0x00, 0xD9}));
  EXPECT_EQ(Only(segments, 0xDD)[0].payload, (Bytes{0x00, 0x03}));
}

TEST(FileLayout, RestartMarkersCountModuloEight) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  encoder.SetRestartRows(1);
  std::vector<std::uint8_t> restarts;
  for (const Segment& s : FileSegments(encoder, MakeTestPicture(8, 8 * 11))) {
    if (s.marker >= 0xD0 && s.marker <= 0xD7) restarts.push_back(s.marker);
  }
  EXPECT_EQ(restarts, (Bytes{0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD0, 0xD1}));
}

TEST(FileLayout, EmptyEntriesWriteNoScan) {
  JpegEncoder encoder;
  encoder.SetScan(3, 6, 0, 0);  // beyond the three entries a sequential plan reads
  EXPECT_EQ(Only(FileSegments(encoder, RasterImage(8, 8, 0)), 0xDA).size(), 1u);
  encoder.SetScan(0, 2, 0, 0);
  encoder.SetScan(2, 12, 0, 0);
  const std::vector<Segment> scans = Only(FileSegments(encoder, RasterImage(8, 8, 0)), 0xDA);
  ASSERT_EQ(scans.size(), 2u);
  EXPECT_EQ(scans[1].payload, (Bytes{0x02, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));
}

TEST(FileLayout, GrayscaleScanIsComponentOneWhateverTheMask) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  encoder.SetScan(0, 8, 0, 0);
  const Bytes bytes = EncodeToMemory(encoder, MakeTestPicture(20, 20));
  EXPECT_EQ(Only(SplitSegments(bytes), 0xDA)[0].payload,
            (Bytes{0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));
  JpegEncoder plain;
  plain.SetGrayscale(true);
  EXPECT_EQ(bytes, EncodeToMemory(plain, MakeTestPicture(20, 20)));
  EXPECT_EQ(JpegSupport::DecodeJpegStrict(bytes).components, 1);
}

TEST(FileLayout, GrayscaleProgressiveDefaultHasTwoScans) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  encoder.SetProgressive(true);
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(20, 20));
  EXPECT_EQ(Only(segments, 0xC2).size(), 1u);
  const std::vector<Segment> scans = Only(segments, 0xDA);
  ASSERT_EQ(scans.size(), 2u);
  EXPECT_EQ(scans[0].payload, (Bytes{0x01, 0x01, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(scans[1].payload, (Bytes{0x01, 0x01, 0x00, 0x01, 0x3F, 0x00}));
}

TEST(FileLayout, ColourProgressiveDefault) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(20, 20));
  EXPECT_EQ(MarkerSequence(segments),
            (Bytes{0xD8, 0xE0, 0xFE, 0xC2, 0xDB, 0xC4, 0xDA, 0x00, 0xC4, 0xDA, 0x00, 0xC4, 0xDA,
                   0x00, 0xC4, 0xDA, 0x00, 0xD9}));
  const std::vector<Segment> tables = Only(segments, 0xC4);
  EXPECT_EQ(tables[0].payload[0], 0x00);  // DC tables only, luminance first
  EXPECT_EQ(tables[1].payload[0], 0x10);  // each AC pass carries its component's AC table
  EXPECT_EQ(tables[2].payload[0], 0x11);
  EXPECT_EQ(tables[3].payload[0], 0x11);
  EXPECT_EQ(Only(segments, 0xDA)[3].payload, (Bytes{0x01, 0x03, 0x11, 0x01, 0x3F, 0x00}));
}

TEST(FileLayout, RefinementPassesComeInLaterSweeps) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  encoder.SetScan(0, 14, 0, 1);
  const std::vector<Segment> segments = FileSegments(encoder, MakeTestPicture(20, 20));
  const std::vector<Segment> scans = Only(segments, 0xDA);
  ASSERT_EQ(scans.size(), 5u);
  EXPECT_EQ(scans[0].payload.back(), 0x01);  // DC first, Al 1
  EXPECT_EQ(scans[4].payload, (Bytes{0x03, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x10}));
  // No Huffman tables before the DC refinement: its scan follows the previous data directly.
  const Bytes markers = MarkerSequence(segments);
  EXPECT_EQ(Bytes(markers.end() - 4, markers.end()), (Bytes{0x00, 0xDA, 0x00, 0xD9}));
}

TEST(FileLayout, CancelledFileEndsAfterTheLastByteWritten) {
  JpegEncoder encoder;
  encoder.SetComment("kept");
  encoder.SetProgressFunction([](Quorvante::ImageCoder&, std::uintptr_t, std::uint32_t,
                                 std::uint32_t, std::uint32_t, bool& cancel) { cancel = true; },
                              0);
  Quorvante::MemoryOutputStream stream;
  EXPECT_THROW(encoder.WriteImage(stream, MakeTestPicture(20, 20)), Quorvante::GraphicsAbort);
  const Bytes bytes = stream.Bytes();
  EXPECT_EQ(MarkerSequence(SplitSegments(bytes)), (Bytes{0xD8, 0xE0, 0xFE, 0xFE}));
  EXPECT_NE(bytes.back(), 0xD9);
}

}  // namespace
}  // namespace rasqet::test
