#include "console.h"

#include <cstdio>

namespace rasqethost {

void Console::EndStatus() {
  if (statusShown_) {
    std::fputc('\n', stdout);
    statusShown_ = false;
  }
}

void Console::Line(const std::string& text) {
  EndStatus();
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void Console::Block(const std::string& prefix, const std::string& text) {
  std::string out = prefix;
  std::string indent(prefix.size(), ' ');
  for (char c : text) {
    out += c;
    if (c == '\n') out += indent;
  }
  Line(out);
}

void Console::Warning(const std::string& text) {
  ++warnings_;
  Line("warning: " + text);
}

void Console::Status(const std::string& text) {
  if (text == status_) return;
  status_ = text;
  if (terminal_) {
    std::fputs("\r\033[K", stdout);
    if (!text.empty()) std::fputs(text.c_str(), stdout);
    statusShown_ = !text.empty();
    std::fflush(stdout);
    return;
  }
  Line(text.empty() ? "status: (cleared)" : "status: " + text);
}

void Console::Ask(const std::string& question) {
  EndStatus();
  std::fputs(question.c_str(), stdout);
  std::fputc(' ', stdout);
  std::fflush(stdout);
}

void Console::Answer(const std::string& answer) {
  if (terminal_) return;  // the person's own typing is already on the screen
  std::fputs(answer.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace rasqethost
