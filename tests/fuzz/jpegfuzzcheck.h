// One JPEG encoder case per input: settings, scan plan and picture all come from the bytes.
// The write must either stop with one of the encoder's own messages before writing a byte,
// or produce a file libjpeg-turbo reads without a warning, at the right size, with the
// pixels of a plain sequential write of the same picture.
#ifndef RASQET_TESTS_FUZZ_JPEGFUZZCHECK_H
#define RASQET_TESTS_FUZZ_JPEGFUZZCHECK_H

#include <cstddef>
#include <cstdint>

#include "fuzzcheck.h"

namespace rasqet::fuzz {

// Throws CheckFailure, with a description of the case, when an expectation fails.
CaseOutcome CheckJpegEncoderCase(const std::uint8_t* data, std::size_t size);

}  // namespace rasqet::fuzz

#endif
