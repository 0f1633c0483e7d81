// rasqet-host on a terminal: the status line is rewritten in place, prompts wait on their
// line, and a malformed line is reported and asked again instead of ending the session.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

// Runs the host on a pseudo-terminal, typing the lines one by one, and returns everything
// it wrote.
std::string RunOnTerminal(const std::vector<std::string>& lines, int& exitCode) {
  std::string registry = ::testing::TempDir() + "standin_terminal.reg";
  int master = -1;
  pid_t child = forkpty(&master, nullptr, nullptr, nullptr);
  if (child == 0) {
    execl(RASQET_HOST, RASQET_HOST, "--module", PROBE_MODULE, "--registry", registry.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Everything is typed at once; the terminal keeps the lines until the host reads them.
  std::string typed;
  for (const std::string& line : lines) typed += line + "\n";
  EXPECT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  // Read until the host has gone and its side of the terminal is closed.
  std::string output;
  char chunk[4096];
  ssize_t got;
  while ((got = read(master, chunk, sizeof chunk)) > 0)
    output.append(chunk, static_cast<size_t>(got));
  int status = 0;
  waitpid(child, &status, 0);
  close(master);
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

TEST(TerminalSession, RewritesTheStatusLineAndAsksAgain) {
  int exitCode = -1;
  std::string output =
      RunOnTerminal({"STATUS", "PICK", "nonsense", "1,2", "3,4", "FROB", "quit"}, exitCode);
  EXPECT_EQ(exitCode, 0) << output;
  // The percentages overwrite each other on one line.
  EXPECT_NE(output.find("\r\033[KSaving probe... 0%\r\033[KSaving probe... 50%\r\033[K"
                        "Saving probe... 100%\r\033[K"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("error: a point x,y (or @dx,dy) or cancel"), std::string::npos) << output;
  EXPECT_NE(output.find("info box: corners 1,2 3,4"), std::string::npos) << output;
  EXPECT_NE(output.find("error: unknown command or wrong arguments: FROB"), std::string::npos)
      << output;
  EXPECT_NE(output.find("unloaded module"), std::string::npos) << output;
}

}  // namespace
