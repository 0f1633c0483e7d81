// Scratch files for tests: a fresh directory per test binary run, removed when it ends.
#ifndef RASQET_TESTS_GRAPHICS_TESTFILES_H
#define RASQET_TESTS_GRAPHICS_TESTFILES_H

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace rasqet::test {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rasqet-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot make a scratch directory");
    path = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

inline std::filesystem::path ScratchDir() {
  static const ScratchDirectory dir;
  return dir.path;
}

inline std::string ScratchFile(const std::string& name) {
  return (ScratchDir() / name).string();
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rasqet::test

#endif
