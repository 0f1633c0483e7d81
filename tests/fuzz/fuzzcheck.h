// What the encoder checks share: how a case ended, and the broken expectation a check throws,
// which the fuzzers turn into a crash report and the tests into a failure with the same text.
#ifndef RASQET_TESTS_FUZZ_FUZZCHECK_H
#define RASQET_TESTS_FUZZ_FUZZCHECK_H

#include <stdexcept>
#include <string>

namespace rasqet::fuzz {

// A case that passed its checks either wrote a file or was refused with an encoder message.
enum class CaseOutcome { kFile, kRefused };

class CheckFailure : public std::runtime_error {
 public:
  explicit CheckFailure(const std::string& text) : std::runtime_error(text) {}
};

inline void Require(bool condition, const std::string& text) {
  if (!condition) throw CheckFailure(text);
}

}  // namespace rasqet::fuzz

#endif
