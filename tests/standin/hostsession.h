// Runs rasqet-host on a session script for the end-to-end tests and captures its transcript
// and exit status.
#ifndef RASQET_TESTS_STANDIN_HOSTSESSION_H
#define RASQET_TESTS_STANDIN_HOSTSESSION_H

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace standintest {

struct Transcript {
  int exitCode = -1;
  std::string output;
  bool Has(const std::string& text) const { return output.find(text) != std::string::npos; }
};

inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A scratch directory of its own for each test.
inline std::string ScratchDir() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string dir =
      ::testing::TempDir() + "standin_" + info->test_suite_name() + "_" + info->name();
  std::string command = "rm -rf " + Quote(dir) + " && mkdir -p " + Quote(dir);
  EXPECT_EQ(std::system(command.c_str()), 0);
  return dir;
}

// Runs the host on the module with the script in the directory; the registry lives there too
// unless the options name another.
inline Transcript RunHost(const std::string& dir, const std::string& module,
                          const std::string& script, const std::vector<std::string>& options = {}) {
  std::string scriptPath = dir + "/session.txt";
  std::ofstream(scriptPath) << script;
  std::string command = "cd " + Quote(dir) + " && " + Quote(RASQET_HOST) + " --module " +
                        Quote(module) + " --registry " + Quote(dir + "/registry.reg") +
                        " --script " + Quote(scriptPath);
  for (const std::string& option : options) command += " " + Quote(option);
  command += " 2>&1 </dev/null";
  Transcript transcript;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return transcript;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) transcript.output.append(chunk, got);
  int status = pclose(pipe);
  transcript.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return transcript;
}

// A binary PPM as rows of 0xRRGGBB.
struct Picture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  int Count(uint32_t colour) const {
    int n = 0;
    for (uint32_t p : pixels) n += p == colour;
    return n;
  }
};

inline Picture ReadPpm(const std::string& path) {
  Picture picture;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> picture.width >> picture.height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255) return Picture();
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (uint32_t& p : picture.pixels) {
    unsigned char rgb[3];
    in.read(reinterpret_cast<char*>(rgb), 3);
    p = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
  }
  if (!in) return Picture();
  return picture;
}

}  // namespace standintest

#endif
