// One BMP encoder case per input: bit depth (also refused ones), alpha mask, picture and an
// optional cancel. The file is read back field by field and pixel by pixel.
#ifndef RASQET_TESTS_FUZZ_BMPFUZZCHECK_H
#define RASQET_TESTS_FUZZ_BMPFUZZCHECK_H

#include <cstddef>
#include <cstdint>

#include "fuzzcheck.h"

namespace rasqet::fuzz {

// Throws CheckFailure, with a description of the case, when an expectation fails.
CaseOutcome CheckBmpEncoderCase(const std::uint8_t* data, std::size_t size);

}  // namespace rasqet::fuzz

#endif
