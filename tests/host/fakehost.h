// A test double of the CAD host: the host operations the module imports, defined in the test
// executable. It records what the module asks for, keeps a registry in memory and plays the
// user of a dialog.
#ifndef RASQET_TESTS_HOST_FAKEHOST_H
#define RASQET_TESTS_HOST_FAKEHOST_H

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/hostinterface.h"

// A registry request as the module made it, with its texts copied out.
struct RegistryCall {
  HKEY root;
  std::string keyPath;  // "#3512" for a host string number
  std::string valueName;
  std::int32_t size;
  std::int32_t type;
  std::int32_t sizeAgain;
};

// One control binding made between DefDlg and XPDlog.
struct Binding {
  char kind;  // 'E' edit, 'C' check box, 'R' radio button
  int id;
  int typeCode;          // edits
  int length;            // edits
  std::int32_t* field;   // all
  int maskOrValue;       // check boxes: mask; radio buttons: value
  DialogRoutine change;  // check boxes
};

struct FakeHost {
  // The module handle the host writes into the registration block.
  HMODULE module = reinterpret_cast<HMODULE>(std::uintptr_t{0x4000});
  std::string keyPathStart = "Software\\CadHost";  // host string 3053

  std::vector<XPRegBlock*> registered;
  std::vector<XPRegBlock*> unregistered;
  struct Export {
    XPCommandProc routine;
    std::string description;
    std::string extension;
  };
  std::vector<Export> exports;

  int cmdEnds = 0;
  std::vector<std::string> infoBoxes;
  std::vector<const char*> menusAdded;

  // Registry values by "key path|value name"; numbers of host strings as "#N".
  std::map<std::string, std::vector<std::uint8_t>> registry;
  std::vector<RegistryCall> reads;
  std::vector<RegistryCall> writes;

  // The dialog of the current DefDlg.
  std::string dialogTemplate;
  DialogRoutine setUp = nullptr;
  std::vector<Binding> bindings;
  std::map<int, bool> enabled;  // by EnAbCtl and DsAbCtl
  HWND dialogWindow = nullptr;
  HINSTANCE dialogInstance = nullptr;
  int dialogsReleased = 0;
  // Plays the user while XPDlog runs (after the set-up routine); returns XPDlog's result.
  std::function<int(FakeHost&)> user = [](FakeHost&) { return 2; };

  // User actions inside a dialog: they change the bound field as the host does.
  void SetEdit(int id, std::int32_t value);
  void ClickCheckBox(int id);
  void ClickRadioButton(int id);
  const Binding* FindBinding(int id) const;
  bool Visible(int id) const;

  // Registry helpers.
  static std::string Key(const std::string& keyPath, const std::string& valueName);
  template <typename T>
  void Store(const std::string& keyPath, const std::string& valueName, const T& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    registry[Key(keyPath, valueName)].assign(bytes, bytes + sizeof value);
  }
  template <typename T>
  bool Fetch(const std::string& keyPath, const std::string& valueName, T* value) const {
    auto found = registry.find(Key(keyPath, valueName));
    if (found == registry.end() || found->second.size() != sizeof *value) return false;
    std::copy(found->second.begin(), found->second.end(), reinterpret_cast<std::uint8_t*>(value));
    return true;
  }
};

// The host the module talks to; a fresh one per test.
FakeHost& Host();
void ResetHost();

// The key path the module should use with the default host string.
extern const char kExpectedKeyPath[];

#endif
