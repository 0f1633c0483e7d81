#include "Graphics/JPEGsource/jpgquantizationtable.h"

#include <array>

#include "Graphics/JPEGsource/jpgzigzag.h"
#include "Graphics/graphicsexceptions.h"
#include "Graphics/outputbytestream.h"

namespace Quorvante {

namespace {

// A stored set: 64 values in natural order, each 1 to 255.
using QuantizationSet = std::array<std::uint8_t, 64>;

constexpr QuantizationSet Uniform(std::uint8_t value) {
  QuantizationSet set{};
  for (auto& entry : set) entry = value;
  return set;
}

constexpr QuantizationSet Halved(const QuantizationSet& source) {
  QuantizationSet set{};
  for (std::size_t i = 0; i < set.size(); ++i) set[i] = static_cast<std::uint8_t>(source[i] / 2);
  return set;
}

// clang-format off

// ITU-T T.81, Annex K, Table K.1: the example luminance table.
constexpr QuantizationSet kStandardLuminance = {{
    16,  11,  10,  16,  24,  40,  51,  61,
    12,  12,  14,  19,  26,  58,  60,  55,
    14,  13,  16,  24,  40,  57,  69,  56,
    14,  17,  22,  29,  51,  87,  80,  62,
    18,  22,  37,  56,  68, 109, 103,  77,
    24,  35,  55,  64,  81, 104, 113,  92,
    49,  64,  78,  87, 103, 121, 120, 101,
    72,  92,  95,  98, 112, 100, 103,  99}};

// ITU-T T.81, Annex K, Table K.2: the example chrominance table.
constexpr QuantizationSet kStandardChrominance = {{
    17,  18,  24,  47,  99,  99,  99,  99,
    18,  21,  26,  66,  99,  99,  99,  99,
    24,  26,  56,  99,  99,  99,  99,  99,
    47,  66,  99,  99,  99,  99,  99,  99,
    99,  99,  99,  99,  99,  99,  99,  99,
    99,  99,  99,  99,  99,  99,  99,  99,
    99,  99,  99,  99,  99,  99,  99,  99,
    99,  99,  99,  99,  99,  99,  99,  99}};

// The encoder's own luminance sets between the coarsest and the standard table and beyond it.
constexpr QuantizationSet kLuminance1 = {{
      8,  72,  72,  72,  78,  89, 106, 129,
     72,  72,  72,  74,  81,  93, 111, 135,
     72,  72,  76,  84,  94, 108, 128, 155,
     72,  74,  84,  99, 116, 136, 160, 193,
     78,  81,  94, 116, 145, 177, 213, 255,
     89,  93, 108, 136, 177, 228, 255, 255,
    106, 111, 128, 160, 213, 255, 255, 255,
    129, 135, 155, 193, 255, 255, 255, 255}};

constexpr QuantizationSet kLuminance2 = {{
      8,  36,  36,  36,  39,  45,  53,  65,
     36,  36,  36,  37,  41,  47,  56,  68,
     36,  36,  38,  42,  47,  54,  64,  78,
     36,  37,  42,  50,  59,  69,  81,  98,
     39,  41,  47,  59,  73,  89, 108, 130,
     45,  47,  54,  69,  89, 115, 144, 178,
     53,  56,  64,  81, 108, 144, 190, 243,
     65,  68,  78,  98, 130, 178, 243, 255}};

constexpr QuantizationSet kLuminance3 = {{
     13,  13,  15,  25,  40,  68, 114, 201,
     13,  16,  22,  32,  49,  79, 131, 230,
     16,  22,  38,  54,  78, 117, 188, 255,
     26,  33,  56,  93, 142, 213, 255, 255,
     45,  54,  84, 149, 255, 255, 255, 255,
     79,  92, 134, 237, 255, 255, 255, 255,
    144, 165, 232, 255, 255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 255}};

constexpr QuantizationSet kLuminance5 = {{
      8,   8,   8,  12,  19,  32,  50,  83,
      8,   8,  11,  15,  23,  35,  57,  93,
      9,  11,  18,  25,  35,  50,  77, 124,
     13,  16,  26,  41,  59,  84, 126, 196,
     21,  25,  38,  62,  99, 151, 230, 255,
     36,  41,  58,  94, 161, 255, 255, 255,
     63,  71,  95, 150, 255, 255, 255, 255,
    115, 127, 166, 255, 255, 255, 255, 255}};

constexpr QuantizationSet kLuminance6 = {{
      8,   5,   5,   8,  12,  20,  25,  30,
      6,   6,   7,   9,  13,  28,  30,  27,
      7,   6,   8,  12,  20,  26,  34,  28,
      7,   8,  11,  14,  25,  43,  40,  31,
      9,  11,  18,  28,  34,  54,  51,  38,
     12,  17,  27,  32,  40,  52,  56,  46,
     24,  32,  39,  43,  51,  60,  60,  50,
     36,  46,  47,  49,  56,  50,  51,  49}};

constexpr QuantizationSet kLuminance7 = {{
     10,  10,  10,  10,  10,  11,  15,  20,
     10,  10,  10,  10,  10,  12,  16,  21,
     10,  10,  10,  10,  11,  14,  18,  25,
     10,  10,  10,  12,  14,  18,  23,  32,
     11,  11,  12,  15,  19,  25,  32,  44,
     13,  14,  16,  20,  26,  35,  47,  63,
     18,  20,  22,  28,  37,  50,  68,  94,
     28,  29,  33,  41,  54,  74, 102, 143}};

constexpr QuantizationSet kLuminance8 = {{
      8,  10,  10,  10,  11,  13,  15,  18,
     10,  10,  10,  10,  11,  13,  16,  19,
     10,  10,  11,  12,  13,  15,  18,  22,
     10,  10,  12,  14,  16,  19,  23,  27,
     11,  11,  13,  16,  21,  25,  30,  36,
     13,  13,  15,  19,  25,  32,  40,  50,
     15,  16,  18,  23,  30,  40,  53,  68,
     18,  19,  22,  27,  36,  50,  68,  91}};

constexpr QuantizationSet kLuminance9 = {{
      8,   7,   7,   7,   8,   9,  11,  13,
      7,   7,   7,   7,   8,   9,  11,  14,
      7,   7,   8,   8,   9,  11,  13,  16,
      7,   7,   8,  10,  12,  14,  16,  20,
      8,   8,   9,  12,  15,  18,  22,  26,
      9,   9,  11,  14,  18,  23,  29,  36,
     11,  11,  13,  16,  22,  29,  38,  49,
     13,  14,  16,  20,  26,  36,  49,  65}};

constexpr QuantizationSet kLuminance10 = {{
      4,   4,   4,   4,   4,   5,   6,   7,
      4,   4,   4,   4,   5,   5,   6,   8,
      4,   4,   4,   5,   5,   6,   7,   9,
      4,   4,   5,   6,   6,   8,   9,  11,
      4,   5,   5,   6,   8,  10,  12,  14,
      5,   5,   6,   8,  10,  13,  16,  20,
      6,   6,   7,   9,  12,  16,  21,  27,
      7,   8,   9,  11,  14,  20,  27,  36}};

constexpr QuantizationSet kChrominance1 = {{
     36,  36,  37,  39,  42,  45,  50,  54,
     36,  37,  39,  42,  45,  50,  54,  60,
     37,  39,  42,  45,  50,  54,  60,  66,
     39,  42,  45,  50,  54,  60,  66,  74,
     42,  45,  50,  54,  60,  66,  74,  81,
     45,  50,  54,  60,  66,  74,  81,  90,
     50,  54,  60,  66,  74,  81,  90,  99,
     54,  60,  66,  74,  81,  90,  88, 110}};

// clang-format on

constexpr QuantizationSet kLuminanceSets[JpegQuantizationTable::LuminanceSetCount] = {
    Uniform(255), kLuminance1, kLuminance2, kLuminance3, kStandardLuminance, kLuminance5,
    kLuminance6,  kLuminance7, kLuminance8, kLuminance9, kLuminance10,       Uniform(1),
};

constexpr QuantizationSet kChrominanceSets[JpegQuantizationTable::ChrominanceSetCount] = {
    Uniform(255), kChrominance1, kStandardChrominance, Halved(kStandardChrominance), Uniform(1),
};

void Load(const QuantizationSet& set, std::uint16_t* values) {
  for (std::size_t i = 0; i < set.size(); ++i) values[i] = set[i];
}

}  // namespace

// 1 / (8 * a(u) * a(v)) with a(0) = 1 and a(k) = sqrt(2) * cos(k * pi / 16), each the double
// nearest to the exact value. Stored rather than computed so that no C library's cos can move
// a coefficient, and exact where the value is: 1/8 wherever u and v are 0 or 4, so that a
// quotient of exactly k + 1/2 there rounds away from zero as it should. Evaluating the formula
// in doubles instead lands up to 6 units in the last place away.
// clang-format off
const double JpegQuantizationTable::TransformScale[64] = {
    0x1.0000000000000p-3, 0x1.7121a5527fe8bp-4, 0x1.87de2a6aea963p-4, 0x1.b36b92c91e7cfp-4,
    0x1.0000000000000p-3, 0x1.45d3819f43820p-3, 0x1.d906bcf328d46p-3, 0x1.cfefefc82ff2ap-2,
    0x1.7121a5527fe8bp-4, 0x1.0a210181ef62ap-4, 0x1.1a855dec071b5p-4, 0x1.39eba4513c3efp-4,
    0x1.7121a5527fe8bp-4, 0x1.d5d0b08498ed7p-4, 0x1.550870d950be0p-3, 0x1.4e7ae9144f0fcp-2,
    0x1.87de2a6aea963p-4, 0x1.1a855dec071b5p-4, 0x1.2bec333018867p-4, 0x1.4d41964ffbcc7p-4,
    0x1.87de2a6aea963p-4, 0x1.f2c0ce616fa26p-4, 0x1.6a09e667f3bcdp-3, 0x1.63150b15e8536p-2,
    0x1.b36b92c91e7cfp-4, 0x1.39eba4513c3efp-4, 0x1.4d41964ffbcc7p-4, 0x1.724b6105c2f32p-4,
    0x1.b36b92c91e7cfp-4, 0x1.1517a7bdb3895p-3, 0x1.92469c0dcf32dp-3, 0x1.8a8bd3ded9c4ap-2,
    0x1.0000000000000p-3, 0x1.7121a5527fe8bp-4, 0x1.87de2a6aea963p-4, 0x1.b36b92c91e7cfp-4,
    0x1.0000000000000p-3, 0x1.45d3819f43820p-3, 0x1.d906bcf328d46p-3, 0x1.cfefefc82ff2ap-2,
    0x1.45d3819f43820p-3, 0x1.d5d0b08498ed7p-4, 0x1.f2c0ce616fa26p-4, 0x1.1517a7bdb3895p-3,
    0x1.45d3819f43820p-3, 0x1.9eb2b5dd4f935p-3, 0x1.2d062ef88e319p-2, 0x1.273d748a2787ep-1,
    0x1.d906bcf328d46p-3, 0x1.550870d950be0p-3, 0x1.6a09e667f3bcdp-3, 0x1.92469c0dcf32dp-3,
    0x1.d906bcf328d46p-3, 0x1.2d062ef88e319p-2, 0x1.b504f333f9de6p-2, 0x1.ac9f440aaf0f3p-1,
    0x1.cfefefc82ff2ap-2, 0x1.4e7ae9144f0fcp-2, 0x1.63150b15e8536p-2, 0x1.8a8bd3ded9c4ap-2,
    0x1.cfefefc82ff2ap-2, 0x1.273d748a2787ep-1, 0x1.ac9f440aaf0f3p-1, 0x1.a462e31bdae84p+0,
};
// clang-format on

JpegQuantizationTable::JpegQuantizationTable() {
  for (auto& value : values) value = 0;
  for (auto& reciprocal : scaledReciprocals) reciprocal = 0.0;
}

std::uint32_t JpegQuantizationTable::SelectSet(std::uint32_t quality, std::uint32_t setCount) {
  QUORVANTE_ASSERT(quality >= 1 && quality <= 100, "jpeg\\jpgquantizationtable");
  if (quality == 1) return 0;
  if (quality == 100) return setCount - 1;
  return (quality * (setCount - 2) + setCount - 3) / 100 + 1;
}

void JpegQuantizationTable::LoadLuminanceValues(std::uint32_t quality) {
  Load(kLuminanceSets[SelectSet(quality, LuminanceSetCount)], values);
}

void JpegQuantizationTable::LoadChrominanceValues(std::uint32_t quality) {
  Load(kChrominanceSets[SelectSet(quality, ChrominanceSetCount)], values);
}

void JpegQuantizationTable::BuildScaledReciprocals() {
  // A zero value would make the transform convert an infinity to an integer.
  for (int i = 0; i < 64; ++i) QUORVANTE_ASSERT(values[i] != 0, "jpeg\\jpgquantizationtable");
  for (int i = 0; i < 64; ++i) scaledReciprocals[i] = TransformScale[i] / values[i];
}

void JpegQuantizationTable::WriteValues(OutputByteStream& stream) const {
  for (int k = 0; k < 64; ++k) stream.WriteByte(static_cast<std::uint8_t>(values[ZigzagOrder[k]]));
}

}  // namespace Quorvante
