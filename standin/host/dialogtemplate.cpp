#include "dialogtemplate.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rasqethost {
namespace {

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Removes // and /* */ comments outside quoted strings.
std::string StripComments(const std::string& text, bool& inBlock) {
  std::string out;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (inBlock) {
      if (text.compare(i, 2, "*/") == 0) {
        inBlock = false;
        ++i;
      }
      continue;
    }
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && text.compare(i, 2, "//") == 0) break;
    if (!quoted && text.compare(i, 2, "/*") == 0) {
      inBlock = true;
      ++i;
      continue;
    }
    out += text[i];
  }
  return out;
}

// Splits at top-level commas, keeping quoted strings whole.
std::vector<std::string> SplitArguments(const std::string& text) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      parts.emplace_back();
      continue;
    }
    parts.back() += c;
  }
  for (std::string& part : parts) part = Trim(part);
  return parts;
}

class ScriptReader {
 public:
  explicit ScriptReader(TemplateSet& result) : result_(result) {
    defines_["IDOK"] = 1;
    defines_["IDCANCEL"] = 2;
    defines_["IDC_STATIC"] = -1;
  }

  bool ReadFile(const std::string& path, int depth) {
    if (depth > 8) return Fail(path, 0, "#include nested too deeply");
    std::ifstream in(path);
    if (!in) return Fail(path, 0, std::string("cannot read: ") + std::strerror(errno));
    std::vector<std::pair<int, std::string>> lines;
    std::string line;
    bool inBlock = false;
    for (int number = 1; std::getline(in, line); ++number) {
      std::string text = Trim(StripComments(line, inBlock));
      if (text.empty()) continue;
      if (text[0] == '#') {
        if (!Directive(path, number, text, depth)) return false;
        continue;
      }
      // A statement goes on over lines that end in a comma or a bar.
      if (!lines.empty() &&
          (lines.back().second.back() == ',' || lines.back().second.back() == '|')) {
        lines.back().second += " " + text;
      } else {
        lines.emplace_back(number, text);
      }
    }
    return Statements(path, lines);
  }

 private:
  bool Fail(const std::string& path, int line, const std::string& what) {
    result_.error = path + (line > 0 ? ":" + std::to_string(line) : "") + ": " + what;
    return false;
  }

  bool Directive(const std::string& path, int number, const std::string& text, int depth) {
    std::istringstream words(text);
    std::string directive;
    words >> directive;
    if (directive == "#include") {
      std::string target = Trim(text.substr(8));
      if (target.size() < 2 || target.front() != '"') return true;  // system headers: <...>
      std::string name = target.substr(1, target.find('"', 1) - 1);
      std::filesystem::path included = std::filesystem::path(path).parent_path() / name;
      return ReadFile(included.string(), depth + 1);
    }
    if (directive == "#define") {
      std::string name, value;
      words >> name;
      std::getline(words, value);
      value = Trim(value);
      while (value.size() >= 2 && value.front() == '(' && value.back() == ')') {
        value = Trim(value.substr(1, value.size() - 2));
      }
      int number32;
      if (Number(value, number32)) defines_[name] = number32;
      return true;
    }
    (void)number;
    return true;  // #ifndef, #endif, #pragma and the like change nothing here
  }

  static bool Number(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0') return false;
    value = static_cast<int>(number);
    return true;
  }

  bool Value(const std::string& text, int& value) {
    if (Number(text, value)) return true;
    auto found = defines_.find(text);
    if (found == defines_.end()) return false;
    value = found->second;
    return true;
  }

  // A style expression: names joined by '|', each possibly preceded by NOT.
  struct Style {
    std::vector<std::string> set;
    std::vector<std::string> cleared;
    bool Has(const char* name) const {
      for (const std::string& s : set) {
        if (s == name) return true;
      }
      return false;
    }
    bool Clears(const char* name) const {
      for (const std::string& s : cleared) {
        if (s == name) return true;
      }
      return false;
    }
  };

  static Style ParseStyle(const std::string& text) {
    Style style;
    std::string spaced;
    for (char c : text) spaced += c == '|' ? std::string(" | ") : std::string(1, c);
    std::istringstream words(spaced);
    std::string word;
    bool negate = false;
    while (words >> word) {
      if (word == "|") continue;
      if (Upper(word) == "NOT") {
        negate = true;
        continue;
      }
      (negate ? style.cleared : style.set).push_back(word);
      negate = false;
    }
    return style;
  }

  static bool Unquote(const std::string& text, std::string& out) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
    out.clear();
    for (size_t i = 1; i + 1 < text.size(); ++i) {
      out += text[i];
      if (text[i] == '"' && text[i + 1] == '"') ++i;  // "" stands for one quote
    }
    return true;
  }

  bool Statements(const std::string& path, const std::vector<std::pair<int, std::string>>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
      std::istringstream words(lines[i].second);
      std::string name, kind;
      words >> name >> kind;
      std::string upperKind = Upper(kind);
      if (upperKind == "DIALOGEX" || upperKind == "DIALOG") {
        if (!Dialog(path, lines, i)) return false;
        continue;
      }
      std::string upper = Upper(lines[i].second);
      if (upper == "BEGIN" || upper == "{") {
        // Another resource's block: skip it whole.
        int depth = 0;
        for (; i < lines.size(); ++i) {
          std::string u = Upper(lines[i].second);
          if (u == "BEGIN" || u == "{") ++depth;
          if (u == "END" || u == "}") --depth;
          if (depth == 0) break;
        }
      }
    }
    return true;
  }

  bool Dialog(const std::string& path, const std::vector<std::pair<int, std::string>>& lines,
              size_t& i) {
    DialogTemplate dialog;
    const std::string& head = lines[i].second;
    std::istringstream words(head);
    std::string kind;
    words >> dialog.name >> kind;
    std::string rest;
    std::getline(words, rest);
    std::vector<std::string> box = SplitArguments(rest);
    if (box.size() < 4 || !Value(box[2], dialog.width) || !Value(box[3], dialog.height)) {
      return Fail(path, lines[i].first, "dialog " + dialog.name + " needs x, y, width, height");
    }
    for (++i; i < lines.size(); ++i) {
      std::string upper = Upper(lines[i].second);
      if (upper == "BEGIN" || upper == "{") break;
      if (upper.compare(0, 8, "CAPTION ") == 0) {
        Unquote(Trim(lines[i].second.substr(8)), dialog.caption);
      }
    }
    if (i == lines.size())
      return Fail(path, lines.back().first, "dialog " + dialog.name + " has no BEGIN");
    for (++i; i < lines.size(); ++i) {
      std::string upper = Upper(lines[i].second);
      if (upper == "END" || upper == "}") {
        result_.dialogs[dialog.name] = dialog;
        return true;
      }
      ControlTemplate control;
      if (!Control(path, lines[i].first, lines[i].second, control)) return false;
      dialog.controls.push_back(control);
    }
    return Fail(path, lines.back().first, "dialog " + dialog.name + " has no END");
  }

  bool Control(const std::string& path, int line, const std::string& text, ControlTemplate& c) {
    size_t space = text.find_first_of(" \t");
    std::string keyword = Upper(text.substr(0, space));
    std::vector<std::string> args =
        SplitArguments(space == std::string::npos ? "" : text.substr(space + 1));
    auto fail = [&](const std::string& what) { return Fail(path, line, keyword + ": " + what); };
    size_t at = 0;
    bool hasText = keyword != "EDITTEXT";
    if (hasText && (args.empty() || !Unquote(args[at++], c.caption)))
      return fail("caption expected");
    if (args.size() <= at || !Value(args[at++], c.id)) return fail("unknown control id");
    Style style;
    if (keyword == "CONTROL") {
      if (args.size() < at + 6) return fail("class, style and position expected");
      std::string cls;
      if (!Unquote(args[at], cls)) cls = args[at];
      ++at;
      style = ParseStyle(args[at++]);
      std::string upperClass = Upper(cls);
      if (upperClass == "BUTTON") {
        if (style.Has("BS_GROUPBOX")) {
          c.kind = ControlKind::kGroupBox;
        } else if (style.Has("BS_AUTOCHECKBOX") || style.Has("BS_CHECKBOX") ||
                   style.Has("BS_3STATE") || style.Has("BS_AUTO3STATE")) {
          c.kind = ControlKind::kCheckBox;
        } else if (style.Has("BS_AUTORADIOBUTTON") || style.Has("BS_RADIOBUTTON")) {
          c.kind = ControlKind::kRadioButton;
        } else {
          c.kind = ControlKind::kPushButton;
          c.defaultButton = style.Has("BS_DEFPUSHBUTTON");
        }
      } else if (upperClass == "EDIT") {
        c.kind = ControlKind::kEdit;
      } else {
        c.kind = ControlKind::kLabel;
      }
    } else {
      static const std::map<std::string, ControlKind> kKinds = {
          {"LTEXT", ControlKind::kLabel},
          {"RTEXT", ControlKind::kLabel},
          {"CTEXT", ControlKind::kLabel},
          {"GROUPBOX", ControlKind::kGroupBox},
          {"EDITTEXT", ControlKind::kEdit},
          {"PUSHBUTTON", ControlKind::kPushButton},
          {"DEFPUSHBUTTON", ControlKind::kPushButton},
          {"CHECKBOX", ControlKind::kCheckBox},
          {"AUTOCHECKBOX", ControlKind::kCheckBox},
          {"RADIOBUTTON", ControlKind::kRadioButton},
          {"AUTORADIOBUTTON", ControlKind::kRadioButton}};
      auto found = kKinds.find(keyword);
      if (found == kKinds.end()) return fail("unknown control statement");
      c.kind = found->second;
      c.defaultButton = keyword == "DEFPUSHBUTTON";
      if (args.size() < at + 4) return fail("position expected");
      if (args.size() > at + 4) style = ParseStyle(args[at + 4]);
    }
    if (!Value(args[at], c.x) || !Value(args[at + 1], c.y) || !Value(args[at + 2], c.width) ||
        !Value(args[at + 3], c.height)) {
      return fail("bad position");
    }
    c.visible = !style.Clears("WS_VISIBLE");
    c.enabled = !style.Has("WS_DISABLED");
    c.group = style.Has("WS_GROUP");
    return true;
  }

  TemplateSet& result_;
  std::map<std::string, int> defines_;
};

}  // namespace

TemplateSet ReadResourceScript(const std::string& path) {
  TemplateSet result;
  ScriptReader reader(result);
  result.ok = reader.ReadFile(path, 0);
  return result;
}

}  // namespace rasqethost
