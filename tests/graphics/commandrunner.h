// Runs a shell command for a test and captures its standard output and exit status.
#ifndef RASQET_TESTS_GRAPHICS_COMMANDRUNNER_H
#define RASQET_TESTS_GRAPHICS_COMMANDRUNNER_H

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace rasqet::test {

struct CommandResult {
  int exitCode = -1;
  std::string output;
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, got);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Single-quotes a word for the shell.
inline std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace rasqet::test

#endif
