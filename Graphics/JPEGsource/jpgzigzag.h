// The order in which coefficients of a data unit follow one another in the file: entry k is
// the natural index (8 * row + column) of the k-th coefficient of the zigzag sequence of
// ITU-T T.81, Figure A.6. Quantization tables and entropy-coded data both use it.
#ifndef QUORVANTE_JPGZIGZAG_H
#define QUORVANTE_JPGZIGZAG_H

#include <cstdint>

namespace Quorvante {

inline constexpr std::uint8_t ZigzagOrder[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,   //
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,  //
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,  //
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

}  // namespace Quorvante

#endif
