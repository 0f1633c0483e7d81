#include "registry.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rasqethost {
namespace {

std::string Hex2(unsigned value) {
  static const char* digits = "0123456789abcdef";
  return {digits[(value >> 4) & 15], digits[value & 15]};
}

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& data) {
  data.clear();
  std::string digits;
  for (char c : text) {
    if (c == ',' || c == ' ' || c == '\t') {
      if (!digits.empty()) {
        if (digits.size() > 2) return false;
        data.push_back(static_cast<uint8_t>(std::strtoul(digits.c_str(), nullptr, 16)));
        digits.clear();
      }
      continue;
    }
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    digits += c;
  }
  if (!digits.empty()) {
    if (digits.size() > 2) return false;
    data.push_back(static_cast<uint8_t>(std::strtoul(digits.c_str(), nullptr, 16)));
  }
  return true;
}

// "name"=... : the unescaped name and the text after '='.
bool SplitValueLine(const std::string& line, std::string& name, std::string& rest) {
  if (line.empty() || line[0] != '"') return false;
  name.clear();
  size_t i = 1;
  for (; i < line.size() && line[i] != '"'; ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) ++i;
    name += line[i];
  }
  if (i + 1 >= line.size() || line[i + 1] != '=') return false;
  rest = line.substr(i + 2);
  return true;
}

std::string Quote(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string Registry::Fold(const std::string& key) {
  std::string folded = key;
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::string Registry::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config != '\0') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::string(home) + "/.config";
  } else {
    base = ".";
  }
  return base + "/rasqet-host/registry.reg";
}

bool Registry::Load(const std::string& path, std::string& error) {
  path_ = path;
  keys_.clear();
  std::ifstream in(path);
  if (!in) {
    if (errno == ENOENT) return true;  // nothing stored yet
    error = "cannot read registry " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string line;
  Key* current = nullptr;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    auto fail = [&](const std::string& what) {
      error = path + ":" + std::to_string(number) + ": " + what;
      return false;
    };
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return fail("key line without closing ']'");
      std::string name = line.substr(1, line.size() - 2);
      Key& key = keys_[Fold(name)];
      if (key.name.empty()) key.name = name;
      current = &key;
      continue;
    }
    std::string name, rest;
    if (!SplitValueLine(line, name, rest)) return fail("expected [key] or \"name\"=value");
    if (current == nullptr) return fail("value before any [key]");
    RegistryValue value;
    if (rest.compare(0, 6, "dword:") == 0) {
      char* end = nullptr;
      std::string digits = rest.substr(6);
      unsigned long number32 = std::strtoul(digits.c_str(), &end, 16);
      if (digits.empty() || digits.size() > 8 || *end != '\0') return fail("bad dword value");
      value.type = 4;
      for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<uint8_t>(number32 >> (8 * i)));
    } else if (rest.compare(0, 4, "hex:") == 0 || rest.compare(0, 4, "hex(") == 0) {
      size_t colon = rest.find(':');
      if (rest[3] == '(') {
        char* end = nullptr;
        value.type = static_cast<uint32_t>(std::strtoul(rest.c_str() + 4, &end, 16));
        if (end == nullptr || *end != ')' || end + 1 != rest.c_str() + colon)
          return fail("bad hex(type)");
      }
      if (!ParseHexBytes(rest.substr(colon + 1), value.data)) return fail("bad hex bytes");
    } else {
      return fail("only hex: and dword: values are kept here");
    }
    current->values[name] = value;
  }
  return true;
}

const RegistryValue* Registry::Find(const std::string& key, const std::string& name) const {
  auto k = keys_.find(Fold(key));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.values.find(name);
  return v == k->second.values.end() ? nullptr : &v->second;
}

bool Registry::Set(const std::string& key, const std::string& name, const RegistryValue& value,
                   std::string& error) {
  Key& entry = keys_[Fold(key)];
  if (entry.name.empty()) {
    entry.name = key;
    while (!entry.name.empty() && entry.name.back() == '\\') entry.name.pop_back();
  }
  entry.values[name] = value;
  return Save(error);
}

bool Registry::Save(std::string& error) const {
  std::error_code ignored;
  std::filesystem::path file(path_);
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
  std::ostringstream out;
  out << "; Registry of rasqet-host\n";
  for (const auto& [folded, key] : keys_) {
    out << "\n[" << key.name << "]\n";
    for (const auto& [name, value] : key.values) {
      out << Quote(name) << "=";
      if (value.type == 4 && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | value.data[i];
        out << "dword:" << Hex2(number >> 24) << Hex2(number >> 16) << Hex2(number >> 8)
            << Hex2(number);
      } else {
        if (value.type == 3) {
          out << "hex:";
        } else {
          std::ostringstream type;
          type << std::hex << value.type;
          out << "hex(" << type.str() << "):";
        }
        for (size_t i = 0; i < value.data.size(); ++i) out << (i ? "," : "") << Hex2(value.data[i]);
      }
      out << "\n";
    }
  }
  std::string temporary = path_ + ".tmp";
  {
    std::ofstream file_out(temporary, std::ios::trunc);
    file_out << out.str();
    if (!file_out.flush()) {
      error = "cannot write registry " + temporary + ": " + std::strerror(errno);
      return false;
    }
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, path_, renameError);
  if (renameError) {
    error = "cannot replace registry " + path_ + ": " + renameError.message();
    return false;
  }
  return true;
}

}  // namespace rasqethost
