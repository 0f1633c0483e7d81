// The fuzzers' encoder checks on fixed inputs: every file of the seed corpus, inputs that once
// found faults, and pseudo-random inputs from fixed seeds.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmpfuzzcheck.h"
#include "fuzzcheck.h"
#include "jpegfuzzcheck.h"

namespace rasqet::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Check = CaseOutcome (*)(const std::uint8_t*, std::size_t);

// How many cases wrote a file and how many were refused; failures are reported as they come.
struct Tally {
  int files = 0;
  int refused = 0;
};

Tally RunCase(Check check, const Bytes& input, const std::string& name) {
  Tally tally;
  try {
    (check(input.data(), input.size()) == CaseOutcome::kFile ? tally.files : tally.refused) = 1;
  } catch (const CheckFailure& failure) {
    ADD_FAILURE() << name << ": " << failure.what();
  }
  return tally;
}

void RunCorpus(Check check, const char* directory) {
  const std::filesystem::path path = std::filesystem::path(RASQET_FUZZ_CORPUS) / directory;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const Bytes input((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    RunCase(check, input, entry.path().filename().string());
    ++files;
  }
  EXPECT_GT(files, 0) << "no seed files in " << path;
}

// Inputs of 8 to 135 bytes from a fixed generator: the same cases on every run.
Tally RunRandom(Check check, std::uint32_t seed, int count) {
  Tally total;
  std::uint32_t state = seed;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return static_cast<std::uint8_t>(state >> 24);
  };
  for (int i = 0; i < count; ++i) {
    Bytes input(8 + next() % 128);
    for (std::uint8_t& b : input) b = next();
    const Tally one = RunCase(
        check, input, "random input " + std::to_string(i) + " of seed " + std::to_string(seed));
    total.files += one.files;
    total.refused += one.refused;
  }
  return total;
}

TEST(JpegEncoderFuzzCases, SeedCorpus) {
  RunCorpus(CheckJpegEncoderCase, "jpeg");
}

TEST(JpegEncoderFuzzCases, PseudoRandomInputs) {
  const Tally tally = RunRandom(CheckJpegEncoderCase, 20261211, 300);
  // The inputs must reach the encoder's output paths, not only its refusals.
  EXPECT_GT(tally.files, 100);
  EXPECT_GT(tally.refused, 20);
}

TEST(BmpEncoderFuzzCases, SeedCorpus) {
  RunCorpus(CheckBmpEncoderCase, "bmp");
}

TEST(BmpEncoderFuzzCases, PseudoRandomInputs) {
  const Tally tally = RunRandom(CheckBmpEncoderCase, 4242, 200);
  EXPECT_GT(tally.files, 150);
}

TEST(EncoderFuzzCases, EmptyInputIsACompleteCase) {
  RunCase(CheckJpegEncoderCase, {}, "empty JPEG input");
  RunCase(CheckBmpEncoderCase, {}, "empty BMP input");
}

}  // namespace
}  // namespace rasqet::fuzz
