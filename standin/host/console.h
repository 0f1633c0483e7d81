// What the host shows its user: messages, prompts, message boxes, warnings, and the status
// line. On a terminal the status line is rewritten in place; elsewhere each change of it is
// one line, so that a transcript reads in order.
#ifndef RASQET_STANDIN_HOST_CONSOLE_H
#define RASQET_STANDIN_HOST_CONSOLE_H

#include <string>

namespace rasqethost {

class Console {
 public:
  explicit Console(bool terminal) : terminal_(terminal) {}

  // A line of output (without its newline).
  void Line(const std::string& text);
  // A text that may hold line feeds: the first line after the prefix, the others indented
  // to match.
  void Block(const std::string& prefix, const std::string& text);
  void Warning(const std::string& text);
  // The status line; an empty text clears it.
  void Status(const std::string& text);
  // A question whose answer follows: on a terminal it stays open for typing.
  void Ask(const std::string& question);
  // The answer as read from a script (shown after the question there).
  void Answer(const std::string& answer);

  int warnings() const { return warnings_; }
  bool terminal() const { return terminal_; }

 private:
  void EndStatus();

  bool terminal_;
  bool statusShown_ = false;  // a status line waits on the terminal without a newline
  std::string status_;
  int warnings_ = 0;
};

}  // namespace rasqethost

#endif
