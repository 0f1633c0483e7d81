// The session's input: lines from a script file or standard input, and the splitting of a
// line into words, where double quotes keep a text with blanks together.
#ifndef RASQET_STANDIN_HOST_SCRIPTINPUT_H
#define RASQET_STANDIN_HOST_SCRIPTINPUT_H

#include <cstdio>
#include <string>
#include <vector>

namespace rasqethost {

class ScriptInput {
 public:
  // Reads from the file, or from standard input when the path is empty; false if the file
  // cannot be opened.
  bool Open(const std::string& path, std::string& error);
  ~ScriptInput();

  // The next line without its line end; false at the end of the input.
  bool Next(std::string& line);
  // "FILE:LINE" (or "stdin:LINE") of the line last read.
  std::string Where() const;
  bool interactive() const { return interactive_; }

 private:
  std::FILE* file_ = nullptr;
  bool owned_ = false;
  bool interactive_ = false;
  std::string name_;
  int line_ = 0;
};

// Splits at blanks; "..." is one word without its quotes. False for an unclosed quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words);

}  // namespace rasqethost

#endif
