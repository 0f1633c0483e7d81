#include "scriptinput.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rasqethost {

bool ScriptInput::Open(const std::string& path, std::string& error) {
  if (path.empty() || path == "-") {
    file_ = stdin;
    name_ = "stdin";
    interactive_ = isatty(fileno(stdin)) != 0;
    return true;
  }
  file_ = std::fopen(path.c_str(), "r");
  if (file_ == nullptr) {
    error = "cannot read script " + path + ": " + std::strerror(errno);
    return false;
  }
  owned_ = true;
  name_ = path;
  return true;
}

ScriptInput::~ScriptInput() {
  if (owned_) std::fclose(file_);
}

bool ScriptInput::Next(std::string& line) {
  line.clear();
  if (file_ == nullptr) return false;
  int c;
  bool any = false;
  while ((c = std::fgetc(file_)) != EOF) {
    any = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  ++line_;
  return true;
}

std::string ScriptInput::Where() const {
  return name_ + ":" + std::to_string(line_);
}

bool SplitWords(const std::string& line, std::vector<std::string>& words) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string::npos) return false;
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(word);
  }
  return true;
}

}  // namespace rasqethost
