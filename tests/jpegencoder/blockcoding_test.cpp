// The symbols that single data units turn into: sequential blocks, progressive DC passes,
// end-of-band runs and the correction bits of AC refinement.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Graphics/JPEGsource/jpegprogressiveblocks.h"
#include "Graphics/JPEGsource/jpgencodercomponent.h"
#include "Graphics/memoryoutputstream.h"

namespace rasqet::test {
namespace {

using Quorvante::JpegEncoderComponent;

// A symbol as a handler receives it: symbol (-1 for raw bits; DC sizes as symbols), the
// appended bits cut to their count, and the count.
struct Symbol {
  int symbol;
  int bits;
  int count;
  bool operator==(const Symbol& o) const {
    return std::tie(symbol, bits, count) == std::tie(o.symbol, o.bits, o.count);
  }
};
std::ostream& operator<<(std::ostream& out, const Symbol& s) {
  return out << "{" << s.symbol << ", " << s.bits << ", " << s.count << "}";
}

struct Recorder {
  std::vector<Symbol> symbols;
  static int Cut(std::int32_t bits, std::uint32_t count) {
    return count == 0 ? 0
                      : static_cast<int>(static_cast<std::uint32_t>(bits) & ((1u << count) - 1));
  }
  void Dc(JpegEncoderComponent&, std::uint32_t size, std::int32_t bits) {
    symbols.push_back({static_cast<int>(size), Cut(bits, size), static_cast<int>(size)});
  }
  void Ac(JpegEncoderComponent&, std::int32_t symbol, std::int32_t bits, std::uint32_t count) {
    symbols.push_back({symbol, Cut(bits, count), static_cast<int>(count)});
  }
};

// A component with one row of data units; coefficients are given by zigzag index.
struct Units {
  JpegEncoderComponent component;
  explicit Units(std::uint32_t count) {
    component.AllocateDataUnits(1, count);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::fill(component.DataUnit(0, i), component.DataUnit(0, i) + 64, std::int16_t{0});
    }
    component.SetScanSize(1, count);
    component.ResetDcPrediction();
    component.ResetEobRun();
  }
  void Set(std::uint32_t unit, std::uint32_t k, std::int16_t value) {
    component.DataUnit(0, unit)[k] = value;
  }
};

const Symbol kEob{0x00, 0, 0};
const Symbol kZrl{0xF0, 0, 0};

struct SequentialCase {
  const char* name;
  std::vector<std::pair<std::uint32_t, std::int16_t>> coefficients;  // zigzag index, value
  std::vector<Symbol> acSymbols;
};

void PrintTo(const SequentialCase& c, std::ostream* out) {
  *out << c.name;
}

class SequentialBlockTest : public ::testing::TestWithParam<SequentialCase> {};

TEST_P(SequentialBlockTest, RunsAndSizes) {
  const SequentialCase& c = GetParam();
  Units units(1);
  for (const auto& [k, value] : c.coefficients) units.Set(0, k, value);
  Recorder recorder;
  units.component.EncodeSequentialBlock(0, 0, recorder);
  ASSERT_FALSE(recorder.symbols.empty());
  const std::vector<Symbol> ac(recorder.symbols.begin() + 1, recorder.symbols.end());
  EXPECT_EQ(ac, c.acSymbols);
}

std::string SequentialName(const ::testing::TestParamInfo<SequentialCase>& param) {
  return param.param.name;
}
INSTANTIATE_TEST_SUITE_P(
    Blocks, SequentialBlockTest,
    ::testing::Values(
        SequentialCase{"AllZero", {}, {kEob}},
        SequentialCase{"FifteenZerosThenFive", {{16, 5}}, {{0xF3, 0b101, 3}, kEob}},
        SequentialCase{"SixteenZerosThenFive", {{17, 5}}, {kZrl, {0x03, 0b101, 3}, kEob}},
        SequentialCase{"ThirtyTwoZerosThenMinusOne", {{33, -1}}, {kZrl, kZrl, {0x01, 0, 1}, kEob}},
        SequentialCase{"LastCoefficientOnly", {{63, 2}}, {kZrl, kZrl, kZrl, {0xE2, 0b10, 2}}},
        SequentialCase{"LastNonZeroAtForty",
                       {{1, -7}, {40, 1}},
                       {{0x03, 0b000, 3}, kZrl, kZrl, {0x61, 1, 1}, kEob}},
        SequentialCase{
            "LargestMagnitude", {{1, 1023}, {2, -1023}}, {{0x0A, 1023, 10}, {0x0A, 0, 10}, kEob}}),
    SequentialName);

TEST(SequentialBlock, DcDifferencesFromThePredecessor) {
  Units units(6);
  const std::int16_t dc[] = {1, 0, 3, 0, -4, -4};
  for (std::uint32_t i = 0; i < 6; ++i) units.Set(i, 0, dc[i]);
  Recorder recorder;
  for (std::uint32_t i = 0; i < 6; ++i) units.component.EncodeSequentialBlock(0, i, recorder);
  std::vector<Symbol> dcSymbols;
  for (std::size_t i = 0; i < recorder.symbols.size(); i += 2) {
    dcSymbols.push_back(recorder.symbols[i]);
    EXPECT_EQ(recorder.symbols[i + 1], kEob);
  }
  EXPECT_EQ(dcSymbols,
            (std::vector<Symbol>{
                {1, 1, 1}, {1, 0, 1}, {2, 0b11, 2}, {2, 0b00, 2}, {3, 0b011, 3}, {0, 0, 0}}));
}

TEST(DcPasses, FirstPassShiftsArithmeticallyAndRefinementSendsTheNextBit) {
  Units units(2);
  units.Set(0, 0, -3);
  units.Set(1, 0, 3);
  Recorder recorder;
  units.component.EncodeDcFirstBlock(0, 0, recorder, 1);  // -3 >> 1 = -2
  units.component.EncodeDcFirstBlock(0, 1, recorder, 1);  // 3 >> 1 = 1, difference 3
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{2, 0b01, 2}, {2, 0b11, 2}}));

  Quorvante::MemoryOutputStream stream;
  units.component.SetOutputStream(&stream);
  stream.EnterBitMode(8);
  units.component.EncodeDcRefineBlock(0, 0, 0);
  units.component.EncodeDcRefineBlock(0, 1, 0);
  units.component.EncodeDcRefineBlock(0, 0, 1);  // -3 >> 1 = -2
  stream.ExitBitMode();
  EXPECT_EQ(stream.Bytes(), (std::vector<std::uint8_t>{0xC0}));  // bits 1, 1, 0
}

TEST(AcFirstPass, PointTransformTruncatesTowardZero) {
  Units units(1);
  units.Set(0, 1, 3);
  units.Set(0, 2, -3);
  units.Set(0, 3, 1);
  Recorder recorder;
  units.component.EncodeAcFirstBlock(0, 0, recorder, 1, 3, 1);
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0x01, 1, 1}, {0x01, 0, 1}}));
  EXPECT_EQ(units.component.EobRun(), 1u);  // the band ended in a zero
}

TEST(AcFirstPass, BandEndingOnACoefficientAddsNoRun) {
  Units units(1);
  units.Set(0, 5, 2);
  Recorder recorder;
  units.component.EncodeAcFirstBlock(0, 0, recorder, 1, 5, 0);
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0x42, 0b10, 2}}));
  EXPECT_EQ(units.component.EobRun(), 0u);
}

TEST(AcFirstPass, RunClosesBeforeTheNextCoefficient) {
  Units units(6);
  units.Set(5, 20, -2);
  Recorder recorder;
  for (std::uint32_t i = 0; i < 6; ++i) {
    units.component.EncodeAcFirstBlock(0, i, recorder, 1, 63, 0);
  }
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0x20, 0b01, 2}, kZrl, {0x32, 0b01, 2}}));
  Recorder closing;
  units.component.FlushEobRun(closing);
  EXPECT_EQ(closing.symbols, (std::vector<Symbol>{kEob}));  // a run of one: 0x00, no bits
}

TEST(AcFirstPass, LongestRunClosesAtOnce) {
  Units units(32768);
  Recorder recorder;
  for (std::uint32_t i = 0; i < 32768; ++i) {
    units.component.EncodeAcFirstBlock(0, i, recorder, 1, 63, 0);
    if (i == 32765) {
      EXPECT_TRUE(recorder.symbols.empty());
    }
  }
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0xE0, 0x3FFF, 14}}));
  EXPECT_EQ(units.component.EobRun(), 1u);
}

TEST(AcRefinePass, NewCoefficientThenOwedCorrectionBits) {
  Units units(1);
  units.Set(0, 2, 3);  // already significant
  units.Set(0, 4, 1);  // newly significant
  Recorder recorder;
  units.component.EncodeAcRefineBlock(0, 0, recorder, 1, 5, 0);
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0x21, 1, 1}, {-1, 1, 1}}));
  EXPECT_EQ(units.component.EobRun(), 1u);  // the zero at index 5 opens a run
  Recorder closing;
  units.component.FlushRefineEobRun(closing, 1, 5, 0);
  EXPECT_EQ(closing.symbols, (std::vector<Symbol>{kEob}));  // nothing owed after index 5
}

TEST(AcRefinePass, CorrectionBitsWaitForTheRunToClose) {
  Units units(3);
  units.Set(0, 1, 2);
  units.Set(0, 3, -3);
  units.Set(1, 2, 5);
  units.Set(2, 7, -1);  // newly significant: closes the run of units 0 and 1
  Recorder recorder;
  units.component.EncodeAcRefineBlock(0, 0, recorder, 1, 63, 0);
  units.component.EncodeAcRefineBlock(0, 1, recorder, 1, 63, 0);
  EXPECT_TRUE(recorder.symbols.empty());
  units.component.EncodeAcRefineBlock(0, 2, recorder, 1, 63, 0);
  EXPECT_EQ(
      recorder.symbols,
      (std::vector<Symbol>{{0x10, 0b0, 1}, {-1, 0, 1}, {-1, 1, 1}, {-1, 1, 1}, {0x61, 0, 1}}));
}

TEST(AcRefinePass, ZeroRunSymbolCarriesTheBitsItPasses) {
  Units units(1);
  units.Set(0, 11, 2);  // significant among the first sixteen zeros
  units.Set(0, 18, 3);  // significant after them
  units.Set(0, 20, 1);  // newly significant
  Recorder recorder;
  units.component.EncodeAcRefineBlock(0, 0, recorder, 1, 63, 0);
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{kZrl, {-1, 0, 1}, {0x11, 1, 1}, {-1, 1, 1}}));
  EXPECT_EQ(units.component.EobRun(), 1u);
}

TEST(AcRefinePass, OwedBitsOfARunStartWhereTheFirstUnitLeftOff) {
  Units units(2);
  units.Set(0, 2, 1);   // newly significant, then index 3 is owed
  units.Set(0, 3, -2);  // its bit belongs to the run
  units.Set(1, 1, 7);
  Recorder recorder;
  units.component.EncodeAcRefineBlock(0, 0, recorder, 1, 3, 0);
  units.component.EncodeAcRefineBlock(0, 1, recorder, 1, 3, 0);
  units.component.FlushRefineEobRun(recorder, 1, 3, 0);
  EXPECT_EQ(recorder.symbols,
            (std::vector<Symbol>{{0x11, 1, 1}, {0x10, 0, 1}, {-1, 0, 1}, {-1, 1, 1}}));
}

TEST(AcRefinePass, PointTransformOfRefinedValues) {
  Units units(1);
  units.Set(0, 1, -6);  // -3 at Al 1: already significant, correction bit 1
  units.Set(0, 2, 3);   // 1 at Al 1: newly significant
  Recorder recorder;
  units.component.EncodeAcRefineBlock(0, 0, recorder, 1, 2, 1);
  EXPECT_EQ(recorder.symbols, (std::vector<Symbol>{{0x01, 1, 1}, {-1, 1, 1}}));
  EXPECT_EQ(units.component.EobRun(), 0u);
}

}  // namespace
}  // namespace rasqet::test

namespace rasqet::test {
namespace {

// Gathered bits reach the stream exactly as one call per code would have written them,
// stuffing after 0xFF included.
TEST(BitGatherer, WritesTheSameBitsAsSingleCalls) {
  Quorvante::MemoryOutputStream direct(64), gathered(64);
  direct.EnterBitMode(8);
  gathered.EnterBitMode(8);
  Quorvante::BitGatherer gatherer;
  std::uint32_t state = 12345;
  for (int i = 0; i < 5000; ++i) {
    state = state * 1103515245u + 12345u;
    const std::uint32_t count = 1 + (state >> 8) % 16;
    // Mostly ones, so that many completed bytes are 0xFF.
    const std::uint32_t value =
        ((state >> 12) | ((state & 3) ? 0xFFFFu : 0u)) & ((1u << count) - 1);
    direct.OutputBits(static_cast<std::int32_t>(value), count);
    gatherer.Put(gathered, value, count);
    if (state % 7 == 0) gatherer.Drain(gathered);
  }
  gatherer.Drain(gathered);
  direct.ExitBitMode();
  gathered.ExitBitMode();
  EXPECT_EQ(gathered.Bytes(), direct.Bytes());
  EXPECT_GT(direct.Bytes().size(), 5000u);
}

}  // namespace
}  // namespace rasqet::test
