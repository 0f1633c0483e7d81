// The host's registry, kept in a text file in the layout of a .reg export:
//
//   [HKEY_CURRENT_USER\Software\CadHost\XP\Morvel\RASQET (CadHost)]
//   "Options"=hex:20,03,00,00,...
//   "Count"=dword:00000001
//   "Other"=hex(7):...
//
// Key names compare without regard to case, as in the Windows registry, and a trailing
// backslash does not make a different key. Every change is written back at once.
#ifndef RASQET_STANDIN_HOST_REGISTRY_H
#define RASQET_STANDIN_HOST_REGISTRY_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace rasqethost {

struct RegistryValue {
  uint32_t type = 3;
  std::vector<uint8_t> data;
};

class Registry {
 public:
  // The file need not exist yet; false with a message for a file that cannot be read or
  // is malformed.
  bool Load(const std::string& path, std::string& error);
  const RegistryValue* Find(const std::string& key, const std::string& name) const;
  // Stores the value and writes the file; false with a message when the file cannot be
  // written (the value is kept in memory).
  bool Set(const std::string& key, const std::string& name, const RegistryValue& value,
           std::string& error);
  const std::string& path() const { return path_; }

  // The default file: $XDG_CONFIG_HOME/rasqet-host/registry.reg, else under ~/.config.
  static std::string DefaultPath();

 private:
  static std::string Fold(const std::string& key);
  bool Save(std::string& error) const;

  struct Key {
    std::string name;  // as first written
    std::map<std::string, RegistryValue> values;
  };
  std::string path_;
  std::map<std::string, Key> keys_;  // by folded name
};

}  // namespace rasqethost

#endif
