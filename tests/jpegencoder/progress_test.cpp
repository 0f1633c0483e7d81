// Progress reports: pass numbering per mode and the percentages within each pass.
#include <gtest/gtest.h>

#include <vector>

#include "Graphics/JPEGsource/jpegencoder.h"
#include "encodertestsupport.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoder;

struct Report {
  std::uint32_t pass, count, percent;
};

struct Log {
  std::vector<Report> reports;
  const Quorvante::ImageCoder* coder = nullptr;
  // All reports of one pass, in order.
  std::vector<std::uint32_t> Pass(std::uint32_t pass) const {
    std::vector<std::uint32_t> percents;
    for (const Report& r : reports) {
      if (r.pass == pass) percents.push_back(r.percent);
    }
    return percents;
  }
  std::vector<std::uint32_t> PassNumbers() const {
    std::vector<std::uint32_t> passes;
    for (const Report& r : reports) {
      if (passes.empty() || passes.back() != r.pass) passes.push_back(r.pass);
    }
    return passes;
  }
};

void Collect(Quorvante::ImageCoder& coder, std::uintptr_t data, std::uint32_t pass,
             std::uint32_t count, std::uint32_t percent, bool& cancel) {
  Log& log = *reinterpret_cast<Log*>(data);
  log.coder = &coder;
  log.reports.push_back({pass, count, percent});
  EXPECT_FALSE(cancel);
}

Log Record(JpegEncoder& encoder, int width, int height) {
  Log log;
  encoder.SetProgressFunction(Collect, reinterpret_cast<std::uintptr_t>(&log));
  EncodeToMemory(encoder, MakeTestPicture(width, height));
  EXPECT_EQ(log.coder, &encoder);
  for (const Report& r : log.reports) EXPECT_EQ(r.count, log.reports.front().count);
  return log;
}

using Percents = std::vector<std::uint32_t>;

TEST(Progress, ColourSequentialWithThreeScans) {
  JpegEncoder encoder;
  encoder.SetScan(0, 2, 0, 0);
  encoder.SetScan(1, 4, 0, 0);
  encoder.SetScan(2, 8, 0, 0);
  const Log log = Record(encoder, 8, 16);
  EXPECT_EQ(log.reports.front().count, 7u);
  EXPECT_EQ(log.PassNumbers(), (Percents{1, 2, 3, 4, 5, 6, 7}));
  // Conversion: one report per image row, in steps of 25600 / 16 in fixed point.
  EXPECT_EQ(log.Pass(1),
            (Percents{6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100, 100}));
  for (std::uint32_t pass = 2; pass <= 4; ++pass) {
    EXPECT_EQ(log.Pass(pass), (Percents{50, 100, 100}));  // two block rows
  }
  for (std::uint32_t pass = 5; pass <= 7; ++pass) {
    // Statistics half, then output half, of a scan of two rows.
    EXPECT_EQ(log.Pass(pass), (Percents{25, 50, 50, 75, 100, 100}));
  }
}

TEST(Progress, EmptyScanEntryStillCountsAPass) {
  JpegEncoder encoder;
  encoder.SetScan(0, 6, 0, 0);
  encoder.SetScan(2, 8, 0, 0);
  const Log log = Record(encoder, 8, 8);
  EXPECT_EQ(log.reports.front().count, 7u);
  EXPECT_EQ(log.PassNumbers(), (Percents{1, 2, 3, 4, 5, 7}));
}

TEST(Progress, GrayscaleSequential) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  const Log log = Record(encoder, 20, 8);
  EXPECT_EQ(log.reports.front().count, 2u);
  EXPECT_EQ(log.Pass(1), (Percents{100, 100}));
  EXPECT_EQ(log.Pass(2), (Percents{50, 50, 100, 100}));
}

TEST(Progress, ProgressiveWithDcRefinement) {
  JpegEncoder encoder;
  encoder.SetProgressive(true);
  encoder.SetScan(0, 14, 0, 1);
  const Log log = Record(encoder, 16, 16);
  EXPECT_EQ(log.reports.front().count, 9u);
  EXPECT_EQ(log.PassNumbers(), (Percents{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(log.Pass(5), (Percents{25, 50, 50, 75, 100, 100}));
  EXPECT_EQ(log.Pass(9), (Percents{75, 100, 100}));  // output half only: it starts at 50
}

TEST(Progress, GrayscaleProgressiveCountsOnlyLuminanceEntries) {
  JpegEncoder encoder;
  encoder.SetGrayscale(true);
  encoder.SetProgressive(true);
  encoder.SetScan(1, 2, 63, 2);
  const Log log = Record(encoder, 16, 16);
  EXPECT_EQ(log.reports.front().count, 5u);
  EXPECT_EQ(log.PassNumbers(), (Percents{1, 2, 3, 4, 5}));
}

TEST(Progress, NoFunctionNoReports) {
  JpegEncoder encoder;
  Log log;
  encoder.SetProgressFunction(Collect, reinterpret_cast<std::uintptr_t>(&log));
  encoder.SetProgressFunction(nullptr, 0);
  EncodeToMemory(encoder, MakeTestPicture(16, 16));
  EXPECT_TRUE(log.reports.empty());
}

}  // namespace
}  // namespace rasqet::test
