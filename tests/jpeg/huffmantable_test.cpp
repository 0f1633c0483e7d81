#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "Graphics/JPEGsource/jpghuffmantable.h"
#include "Graphics/memoryoutputstream.h"

namespace Quorvante {
namespace {

using Counts = std::vector<std::uint32_t>;  // count of symbol s at index s

void Count(JpegHuffmanTable& table, const Counts& counts) {
  table.Reset();
  for (std::size_t s = 0; s < counts.size(); ++s) table.frequencies[s] = counts[s];
}

std::string CodeText(const JpegHuffmanTable& table, int symbol) {
  std::uint16_t code;
  std::uint8_t length;
  table.Lookup(static_cast<std::uint8_t>(symbol), code, length);
  std::string text;
  for (int bit = length - 1; bit >= 0; --bit) text += (code >> bit) & 1 ? '1' : '0';
  return text;
}

std::vector<int> LengthCounts(const JpegHuffmanTable& table) {
  return std::vector<int>(table.lengthCounts, table.lengthCounts + 16);
}

// Cost of an optimal (unlimited) prefix code for counts plus the reserved code point of
// count 1: the sum of the weights of all merged nodes.
std::uint64_t OptimalCost(const Counts& counts) {
  std::priority_queue<std::uint64_t, std::vector<std::uint64_t>, std::greater<>> nodes;
  for (std::uint32_t c : counts)
    if (c != 0) nodes.push(c);
  nodes.push(1);
  std::uint64_t cost = 0;
  while (nodes.size() > 1) {
    const std::uint64_t a = nodes.top();
    nodes.pop();
    const std::uint64_t b = nodes.top();
    nodes.pop();
    cost += a + b;
    nodes.push(a + b);
  }
  return cost;
}

// Longest code of an optimal code by the same merging, to tell whether limiting was needed.
int OptimalDepth(const Counts& counts) {
  struct Node {
    std::uint64_t weight;
    int depth;
    bool operator>(const Node& other) const {
      return weight != other.weight ? weight > other.weight : depth > other.depth;
    }
  };
  std::priority_queue<Node, std::vector<Node>, std::greater<>> nodes;
  for (std::uint32_t c : counts)
    if (c != 0) nodes.push({c, 0});
  nodes.push({1, 0});
  while (nodes.size() > 1) {
    const Node a = nodes.top();
    nodes.pop();
    const Node b = nodes.top();
    nodes.pop();
    nodes.push({a.weight + b.weight, std::max(a.depth, b.depth) + 1});
  }
  return nodes.top().depth;
}

// Code lengths of the optimal code for counts plus the reserved code point (last entry),
// by merging nodes in a priority queue; empty when two candidates for a merge ever tie, since
// the lengths are then not unique.
std::vector<int> UniqueOptimalLengths(const Counts& counts) {
  struct Node {
    std::uint64_t weight;
    std::vector<int> leaves;
  };
  auto heavier = [](const Node& a, const Node& b) { return a.weight > b.weight; };
  std::priority_queue<Node, std::vector<Node>, decltype(heavier)> nodes(heavier);
  for (std::size_t s = 0; s < counts.size(); ++s)
    if (counts[s] != 0) nodes.push({counts[s], {static_cast<int>(s)}});
  nodes.push({1, {256}});
  std::vector<int> lengths(257, 0);
  while (nodes.size() > 1) {
    Node a = nodes.top();
    nodes.pop();
    Node b = nodes.top();
    nodes.pop();
    if (!nodes.empty() && nodes.top().weight == b.weight) return {};
    for (int leaf : a.leaves) ++lengths[static_cast<std::size_t>(leaf)];
    for (int leaf : b.leaves) ++lengths[static_cast<std::size_t>(leaf)];
    a.leaves.insert(a.leaves.end(), b.leaves.begin(), b.leaves.end());
    nodes.push({a.weight + b.weight, std::move(a.leaves)});
  }
  return lengths;
}

int uniqueTablesCompared = 0;  // tables whose lengths were compared one by one

// Everything a decoder relies on, checked from the outside for a table built from counts.
void ExpectSoundTable(const JpegHuffmanTable& table, const Counts& counts) {
  int used = 0;
  for (std::uint32_t c : counts) used += c != 0;
  int codes = 0, longest = 0;
  for (int length = 1; length <= 16; ++length) {
    codes += table.lengthCounts[length - 1];
    if (table.lengthCounts[length - 1] != 0) longest = length;
  }
  for (int k = 16; k < 32; ++k) EXPECT_EQ(table.lengthCounts[k], 0) << "length " << k + 1;
  ASSERT_EQ(codes, used);
  EXPECT_EQ(table.TableDataLength(), 17u + static_cast<std::uint32_t>(used));

  // Each counted symbol has a code, listed once, with lengths following lengthCounts.
  std::vector<bool> listed(256, false);
  int position = 0;
  std::uint64_t kraft = 0;  // in units of 2^-16
  for (int length = 1; length <= 16; ++length) {
    for (int n = 0; n < table.lengthCounts[length - 1]; ++n, ++position) {
      const int symbol = table.symbols[position];
      ASSERT_NE(counts.at(static_cast<std::size_t>(symbol)), 0u) << symbol;
      ASSERT_FALSE(listed[static_cast<std::size_t>(symbol)]) << symbol;
      listed[static_cast<std::size_t>(symbol)] = true;
      std::uint16_t code;
      std::uint8_t codeLength;
      table.Lookup(static_cast<std::uint8_t>(symbol), code, codeLength);
      EXPECT_EQ(codeLength, length) << symbol;
      EXPECT_LT(code, 1u << length);
      EXPECT_NE(code, (1u << length) - 1) << "all-ones code for symbol " << symbol;
      kraft += 1u << (16 - length);
    }
  }
  // The reserved code point's room at the longest length is the only gap in the tree.
  if (used > 0) {
    EXPECT_EQ(kraft + (1u << (16 - longest)), 1u << 16);
  }

  // Prefix free, and unless the limit had to act (it splits a group of one size by symbol
  // value), the more frequent of two symbols never has the longer code.
  const bool unlimited = OptimalDepth(counts) <= 16;
  for (int a = 0; a < 256; ++a) {
    if (counts[static_cast<std::size_t>(a)] == 0) {
      EXPECT_EQ(CodeText(table, a), "") << a;
      continue;
    }
    const std::string codeA = CodeText(table, a);
    for (int b = a + 1; b < 256; ++b) {
      if (counts[static_cast<std::size_t>(b)] == 0) continue;
      const std::string codeB = CodeText(table, b);
      ASSERT_NE(codeA.compare(0, codeB.size(), codeB), 0) << a << " " << b;
      ASSERT_NE(codeB.compare(0, codeA.size(), codeA), 0) << a << " " << b;
      const std::uint32_t countA = counts[static_cast<std::size_t>(a)];
      const std::uint32_t countB = counts[static_cast<std::size_t>(b)];
      if (!unlimited) continue;
      if (countA > countB) {
        EXPECT_LE(codeA.size(), codeB.size()) << a << " " << b;
      } else if (countA < countB) {
        EXPECT_GE(codeA.size(), codeB.size()) << a << " " << b;
      }
    }
  }

  // Unless the limit had to act, the code is also optimal: with the reserved point at the longest
  // length, no prefix code for the counts costs less.
  if (used > 0) {
    std::uint64_t cost = static_cast<std::uint64_t>(longest);
    for (int s = 0; s < 256; ++s)
      cost += std::uint64_t{counts[static_cast<std::size_t>(s)]} * CodeText(table, s).size();
    if (unlimited) {
      EXPECT_EQ(cost, OptimalCost(counts));
      // Where the optimal lengths are unique, they are the lengths of the table.
      const std::vector<int> reference = UniqueOptimalLengths(counts);
      if (!reference.empty()) {
        for (int s = 0; s < 256; ++s)
          EXPECT_EQ(static_cast<int>(CodeText(table, s).size()),
                    reference[static_cast<std::size_t>(s)])
              << "symbol " << s;
        EXPECT_EQ(reference[256], longest);
        ++uniqueTablesCompared;
      }
    } else {
      EXPECT_GE(cost, OptimalCost(counts));
    }
  }
}

Counts Sparse(std::initializer_list<std::pair<int, std::uint32_t>> entries) {
  Counts counts(256, 0);
  for (const auto& entry : entries) counts[static_cast<std::size_t>(entry.first)] = entry.second;
  return counts;
}

Counts PowersOfTwo(int symbolCount) {
  Counts counts(256, 0);
  for (int s = 0; s < symbolCount; ++s) counts[static_cast<std::size_t>(s)] = 1u << s;
  return counts;
}

struct ExactCase {
  const char* name;
  Counts counts;
  std::vector<int> lengthCounts;   // lengths 1 to 16
  std::vector<int> symbols;        // in code order
  std::vector<std::string> codes;  // of symbols 0, 1, ... (as many as given)
};

TEST(HuffmanTable, BuildsTheExpectedCodes) {
  const std::vector<ExactCase> cases = {
      {"nothing counted", Counts(256, 0), std::vector<int>(16, 0), {}, {}},
      {"one symbol", Sparse({{5, 7}}), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {5}, {}},
      {"two equal",
       Sparse({{0, 5}, {1, 5}}),
       {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {0, 1},
       {"0", "10"}},
      {"three once",
       Sparse({{0, 1}, {1, 1}, {2, 1}}),
       {0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {0, 1, 2},
       {"00", "01", "10"}},
      {"10 5 5 1",
       Sparse({{0, 10}, {1, 5}, {2, 5}, {3, 1}}),
       {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {0, 1, 2, 3},
       {"0", "10", "110", "1110"}},
      {"17 powers of two",
       PowersOfTwo(17),
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 3},
       {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
       {"1111111111111110", "1111111111111101", "1111111111111100"}},
      {"20 powers of two",
       PowersOfTwo(20),
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 7},
       {19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
       {}},
  };
  for (const ExactCase& c : cases) {
    SCOPED_TRACE(c.name);
    JpegHuffmanTable table;
    Count(table, c.counts);
    table.Build();
    EXPECT_EQ(LengthCounts(table), c.lengthCounts);
    EXPECT_EQ(std::vector<int>(table.symbols, table.symbols + c.symbols.size()), c.symbols);
    for (std::size_t s = 0; s < c.codes.size(); ++s)
      EXPECT_EQ(CodeText(table, static_cast<int>(s)), c.codes[s]) << "symbol " << s;
    ExpectSoundTable(table, c.counts);
  }
}

TEST(HuffmanTable, SerialisesCountsThenSymbols) {
  JpegHuffmanTable table;
  Count(table, Sparse({{0x41, 10}, {0x07, 5}, {0xF0, 5}, {0x00, 1}}));
  table.Build();
  MemoryOutputStream stream(8);
  table.WriteTableData(stream);
  const std::vector<std::uint8_t> expected = {1, 1, 1, 1, 0, 0, 0,    0,    0,    0,
                                              0, 0, 0, 0, 0, 0, 0x41, 0x07, 0xF0, 0x00};
  EXPECT_EQ(stream.Bytes(), expected);
  EXPECT_EQ(table.TableDataLength(), 21u);

  JpegHuffmanTable empty;
  empty.Build();
  MemoryOutputStream emptyStream;
  empty.WriteTableData(emptyStream);
  EXPECT_EQ(emptyStream.Bytes(), std::vector<std::uint8_t>(16, 0));
  EXPECT_EQ(empty.TableDataLength(), 17u);
}

TEST(HuffmanTable, CountSymbolCountsAndResetStartsOver) {
  JpegHuffmanTable table;
  for (int i = 0; i < 3; ++i) table.CountSymbol(9);
  table.CountSymbol(255);
  EXPECT_EQ(table.frequencies[9], 3u);
  EXPECT_EQ(table.frequencies[255], 1u);
  EXPECT_EQ(table.frequencies[256], 1u);
  table.Build();
  EXPECT_TRUE(table.built);
  EXPECT_EQ(CodeText(table, 9), "0");
  EXPECT_EQ(CodeText(table, 255), "10");

  table.Reset();
  EXPECT_FALSE(table.built);
  for (int s = 0; s < 256; ++s) EXPECT_EQ(table.frequencies[s], 0u);
  EXPECT_EQ(table.frequencies[256], 1u);
  table.CountSymbol(200);
  table.Build();
  EXPECT_EQ(CodeText(table, 200), "0");
  EXPECT_EQ(CodeText(table, 9), "");
}

TEST(HuffmanTable, BuildTwiceWithoutResetChangesNothing) {
  JpegHuffmanTable table;
  Count(table, PowersOfTwo(20));
  table.Build();
  const std::vector<int> before = LengthCounts(table);
  const std::string code0 = CodeText(table, 0);
  table.frequencies[3] = 1000000;  // counts of a built table are not looked at again
  table.Build();
  EXPECT_EQ(LengthCounts(table), before);
  EXPECT_EQ(CodeText(table, 0), code0);
}

TEST(HuffmanTable, CountsAtTheTopOfTheRangeSaturateInsteadOfWrapping) {
  JpegHuffmanTable table;
  table.frequencies[4] = UINT32_MAX - 1;
  table.CountSymbol(4);
  table.CountSymbol(4);
  EXPECT_EQ(table.frequencies[4], UINT32_MAX);
  table.CountSymbol(5);
  table.Build();
  EXPECT_EQ(CodeText(table, 4), "0");
  EXPECT_EQ(CodeText(table, 5), "10");
}

// Counts 1, 2, 3, 5, 8, ...: each exceeds the sum of all smaller ones and the reserved point,
// so the merging can only build a chain, one level deeper per symbol.
Counts Fibonacci(int symbolCount) {
  Counts counts(256, 0);
  std::uint64_t a = 1, b = 2;
  for (int s = 0; s < symbolCount; ++s) {
    counts[static_cast<std::size_t>(s)] = static_cast<std::uint32_t>(a);
    const std::uint64_t next = a + b;
    a = b;
    b = next;
  }
  return counts;
}

// Counts chosen to break the derivation: code sizes past 32 bits before limiting, sums of
// counts past 2^32, every symbol in use, and ties everywhere.
TEST(HuffmanTable, AdversarialCountsStillGiveASoundTable) {
  struct Case {
    const char* name;
    Counts counts;
  };
  std::vector<Case> cases = {
      {"Fibonacci, 33 symbols", Fibonacci(33)},
      {"Fibonacci, 46 symbols", Fibonacci(46)},
      {"powers of two, 32 symbols", PowersOfTwo(32)},
      {"all 256 once", Counts(256, 1)},
      {"all 256 at the maximum", Counts(256, UINT32_MAX)},
      {"one symbol at the maximum", Sparse({{200, UINT32_MAX}})},
      {"two symbols at the maximum", Sparse({{0, UINT32_MAX}, {255, UINT32_MAX}})},
  };
  Counts nearTop(256);
  for (int s = 0; s < 256; ++s)
    nearTop[static_cast<std::size_t>(s)] = UINT32_MAX - static_cast<std::uint32_t>(s) * 7919u;
  cases.push_back({"all 256 near 2^32", nearTop});
  Counts skewed = Fibonacci(46);
  for (int s = 46; s < 256; ++s) skewed[static_cast<std::size_t>(s)] = 1;
  cases.push_back({"Fibonacci with 209 rare symbols", skewed});
  Counts mixed(256, 1);
  for (int s = 0; s < 40; ++s) mixed[static_cast<std::size_t>(s)] = UINT32_MAX / (1u << (s % 32));
  cases.push_back({"every symbol, huge and tiny", mixed});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JpegHuffmanTable table;
    Count(table, c.counts);
    table.Build();
    ExpectSoundTable(table, c.counts);
  }
}

TEST(HuffmanTable, FibonacciCountsBeyondThirtyTwoBitsAreLimitedToSixteen) {
  // 46 Fibonacci counts, the most that fit in 32 bits, merge into a chain 46 levels deep.
  const Counts counts = Fibonacci(46);
  ASSERT_EQ(counts[45], 2971215073u);
  ASSERT_EQ(OptimalDepth(counts), 46);
  JpegHuffmanTable table;
  Count(table, counts);
  table.Build();
  EXPECT_EQ(CodeText(table, 45), "0");
  EXPECT_EQ(CodeText(table, 44), "10");
  EXPECT_EQ(CodeText(table, 0).size(), 16u);
  ExpectSoundTable(table, counts);
}

TEST(HuffmanTable, RandomCountsGiveSoundOptimalTables) {
  uniqueTablesCompared = 0;
  std::mt19937 random(4711);
  for (int n = 0; n < 200; ++n) {
    Counts counts(256, 0);
    const int used = 1 + static_cast<int>(random() % 256);
    const std::uint32_t range = n % 2 ? 1000u : 2000000000u;
    for (int i = 0; i < used; ++i) counts[random() % 256] = 1 + random() % range;
    if (n % 5 == 0) counts[random() % 256] = UINT32_MAX;  // one dominant symbol
    SCOPED_TRACE(n);
    JpegHuffmanTable table;
    for (int s = 0; s < 256; ++s) {
      // Small counts through CountSymbol, the rest set directly.
      if (counts[static_cast<std::size_t>(s)] <= 1000) {
        for (std::uint32_t k = 0; k < counts[static_cast<std::size_t>(s)]; ++k)
          table.CountSymbol(static_cast<std::uint8_t>(s));
      } else {
        table.frequencies[s] = counts[static_cast<std::size_t>(s)];
      }
    }
    table.Build();
    ExpectSoundTable(table, counts);
  }
  EXPECT_GT(uniqueTablesCompared, 50);  // most wide-range cases have unique lengths
}

}  // namespace
}  // namespace Quorvante
