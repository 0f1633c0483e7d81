// Host operations for registration, commands and prompts, messages and the status line,
// host strings, file names and the registry.
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "hoststate.h"
#include "session.h"

using rasqethost::Host;
using rasqethost::HostState;

namespace {

constexpr size_t kNameBuffer = 256;  // the module's file-name buffers, NUL included
constexpr int kKeyPathString = 3053;
constexpr int kExportFileString = 3307;
constexpr uintptr_t kClipboardKey = 3512;
constexpr uintptr_t kClipboardValue = 3420;

bool IsHostStringNumber(const void* p) {
  return reinterpret_cast<uintptr_t>(p) < 0x10000;
}

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string FullPath(const std::string& name) {
  if (name.empty() || name[0] == '/') return name;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return name;
  return std::string(cwd) + "/" + name;
}

// "!01" to "!09" take the numbers at values[0] to values[8].
std::string FormatStatus(const StatusLineDescriptor& d) {
  std::string out;
  const char* text = d.text;
  for (size_t i = 0; text[i] != '\0'; ++i) {
    if (text[i] == '!' && text[i + 1] == '0' && text[i + 2] >= '1' && text[i + 2] <= '9') {
      out += d.values != nullptr ? std::to_string(d.values[text[i + 2] - '1']) : "?";
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool ValidRequest(const RMValueSpec* request, const char* operation) {
  HostState& host = Host();
  if (request == nullptr) {
    host.console.Warning(std::string(operation) + " without a request");
    return false;
  }
  if (request->root != HKEY_CURRENT_USER) {
    host.console.Warning(std::string(operation) + " for a root other than HKEY_CURRENT_USER");
    return false;
  }
  if (request->keyPath == nullptr || request->valueName == nullptr || request->data == nullptr ||
      request->size < 0) {
    host.console.Warning(std::string(operation) + " with a null key, name or data address");
    return false;
  }
  if (request->size != request->sizeAgain) {
    host.console.Warning(std::string(operation) + " with two different sizes (" +
                         std::to_string(request->size) + ", " + std::to_string(request->sizeAgain) +
                         ")");
  }
  return true;
}

std::string KeyName(const char* path) {
  return std::string("HKEY_CURRENT_USER\\") + path;
}

}  // namespace

extern "C" {

void WINAPI _XPRegCmd(XPRegBlock* block) {
  HostState& host = Host();
  if (block == nullptr) {
    host.console.Warning("XPRegCmd without a block");
    return;
  }
  if (host.registration != nullptr) host.console.Warning("XPRegCmd called again before XPUnregCmd");
  host.registration = block;
  host.commandNames.clear();
  std::string list;
  for (const char* name = block->commandNames; name != nullptr && *name != '\0';
       name += std::strlen(name) + 1) {
    host.commandNames.emplace_back(name);
    list += " " + std::string(name);
    if (host.commandNames.size() > 256) {
      host.console.Warning("the command name list does not end");
      break;
    }
  }
  if (block->handlers == nullptr) host.console.Warning("XPRegCmd without a handler table");
  block->hostModule = host.hostModule;
  host.console.Line("registered commands:" + list);
}

void WINAPI _XPUnregCmd(XPRegBlock* block) {
  HostState& host = Host();
  if (block == nullptr || block != host.registration) {
    host.console.Warning("XPUnregCmd with a block that is not the registered one");
    return;
  }
  host.registration = nullptr;
  host.console.Line("unregistered commands");
}

void WINAPI _XPRegExport(XPCommandProc routine, const char* description, const char* extension) {
  HostState& host = Host();
  if (routine == nullptr || description == nullptr || extension == nullptr) {
    host.console.Warning("XPRegExport with a null routine, description or extension");
    return;
  }
  host.exports.push_back({routine, description, extension});
  host.console.Line(std::string("registered export \"") + description + "\" (" + extension + ")");
}

void WINAPI _ReqData(ReqDataBlock* request) {
  HostState& host = Host();
  if (request == nullptr || request->answer == nullptr || request->prompts == nullptr ||
      request->prompts[0] == nullptr || request->step == nullptr) {
    host.console.Warning("ReqData with a null answer, prompt or step handler");
    return;
  }
  if (request->size != 49) {
    host.console.Warning("ReqData block of size " + std::to_string(request->size));
  }
  if (host.pendingPrompt != nullptr) {
    host.console.Warning("ReqData while the prompt \"" +
                         std::string(host.pendingPrompt->prompts[0]) + "\" still waits");
  }
  host.pendingPrompt = request;
}

void WINAPI _CmdEnd(void) {
  HostState& host = Host();
  if (!host.inCommand) host.console.Warning("CmdEnd outside a command (in " + host.activity + ")");
  ++host.commandEnds;
}

void WINAPI _StatusMsg(const char* text) {
  Host().console.Status(text != nullptr ? text : "");
}

void WINAPI _FormSt(const StatusLineDescriptor* descriptor, int mode) {
  HostState& host = Host();
  if (descriptor == nullptr || descriptor->text == nullptr) {
    host.console.Warning("FormSt without a text");
    return;
  }
  if (mode != 11) host.console.Warning("FormSt with mode " + std::to_string(mode));
  host.console.Status(FormatStatus(*descriptor));
}

void WINAPI _ErrorBox(const char* text) {
  Host().console.Block("error box: ", text != nullptr ? text : "(null)");
}

void WINAPI _InfoBox(const char* text) {
  Host().console.Block("info box: ", text != nullptr ? text : "(null)");
}

const char* WINAPI _RscAdr(int number) {
  HostState& host = Host();
  if (number == kKeyPathString) return "Software\\CadHost";
  if (number == kExportFileString) return host.exportFileName.c_str();
  host.console.Warning("RscAdr of unknown host string " + std::to_string(number));
  return "";
}

int WINAPI _GetSaveFN(const char* title, SaveFNSpec* request) {
  HostState& host = Host();
  if (request == nullptr || request->fileName == nullptr) {
    host.console.Warning("GetSaveFN without a file name buffer");
    return 0;
  }
  std::string types, first;
  for (const char* p = request->typeList; p != nullptr && *p != '\0';) {
    std::string description = p;
    p += description.size() + 1;
    std::string pattern = *p != '\0' ? p : "";
    p += pattern.size() + (*p != '\0' ? 1 : 0);
    types += (types.empty() ? "" : ", ") + description + " (" + pattern + ")";
  }
  char cwd[4096];
  std::string folder = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "?";
  std::string extension = request->defaultExtension != nullptr ? request->defaultExtension : "";
  host.console.Line("save dialog \"" + std::string(title != nullptr ? title : "") + "\" in " +
                    folder + ": " + types + "; default extension " + extension + "; proposed \"" +
                    request->fileName + "\"");
  std::string answer;
  while (true) {
    if (!rasqethost::AskLine("file name:", answer)) return 0;
    std::vector<std::string> words;
    if (answer == "cancel") return 0;
    if (!rasqethost::SplitWords(answer, words) || words.size() != 1) {
      rasqethost::ScriptError("a file name (in quotes if it has blanks) or cancel");
      continue;
    }
    std::string name = words[0];
    // Like the system's save dialog: the default extension is added to a bare name, and
    // the chosen name comes back complete.
    std::string base = std::filesystem::path(name).filename().string();
    if (base.find('.') == std::string::npos && !extension.empty()) name += "." + extension;
    name = FullPath(name);
    if (name.size() >= kNameBuffer) {
      rasqethost::ScriptError("the name is longer than " + std::to_string(kNameBuffer - 1) +
                              " characters");
      continue;
    }
    std::memcpy(request->fileName, name.c_str(), name.size() + 1);
    // The type value: the position of the type whose pattern matches the extension.
    if (request->typeValue != nullptr) {
      int index = 0;
      for (const char* p = request->typeList; p != nullptr && *p != '\0'; ++index) {
        p += std::strlen(p) + 1;
        std::string pattern = p;
        p += pattern.size() + (*p != '\0' ? 1 : 0);
        std::string ext = std::filesystem::path(name).extension().string();
        if (pattern.size() > 1 && strcasecmp(pattern.c_str() + 1, ext.c_str()) == 0) {
          *request->typeValue = index + 1;
        }
      }
    }
    return 1;
  }
}

void WINAPI _NewCsrOrg(float x, float y) {
  HostState& host = Host();
  host.hasAnchor = true;
  host.anchorX = x;
  host.anchorY = y;
  host.console.Line("anchor: " + Number(x) + "," + Number(y));
}

void WINAPI FullFileName(const char* source, char* destination) {
  HostState& host = Host();
  if (source == nullptr || destination == nullptr) {
    host.console.Warning("FullFileName with a null buffer");
    return;
  }
  std::string full = FullPath(source);
  if (full.size() >= kNameBuffer) {
    // The module's buffers hold 255 characters: keep the name as given rather than cut it.
    host.console.Warning("FullFileName: the full name is too long; the name stays as given");
    full = source;
    if (full.size() >= kNameBuffer) return;
  }
  std::memmove(destination, full.c_str(), full.size() + 1);
}

void WINAPI AddMenu(const char* menuText) {
  HostState& host = Host();
  if (menuText == nullptr) {
    host.console.Warning("AddMenu without a menu text");
    return;
  }
  std::string text = menuText, shown;
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) {
    host.console.Warning("the menu text does not end with CR LF");
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      host.console.Warning("a menu line ends without CR");
    }
    shown += text[i];
  }
  if (!shown.empty() && shown.back() == '\n') shown.pop_back();
  host.menuText = text;
  host.console.Block("menu added: ", shown);
}

int WINAPI _RMGetValue(const RMValueSpec* request) {
  HostState& host = Host();
  if (!ValidRequest(request, "RMGetValue")) return 0;
  bool numericKey = IsHostStringNumber(request->keyPath);
  bool numericName = IsHostStringNumber(request->valueName);
  if (numericKey || numericName) {
    if (reinterpret_cast<uintptr_t>(request->keyPath) != kClipboardKey ||
        reinterpret_cast<uintptr_t>(request->valueName) != kClipboardValue) {
      host.console.Warning("RMGetValue of an unknown host value");
      return 0;
    }
    if (!host.options.clipboardStored) return 0;
    if (request->size != static_cast<int32_t>(sizeof(SysVarRec))) {
      host.console.Warning("RMGetValue of the clipboard settings with size " +
                           std::to_string(request->size));
      return 0;
    }
    std::memcpy(request->data, &host.clipboard, sizeof(SysVarRec));
    return 1;
  }
  const rasqethost::RegistryValue* value =
      host.registry.Find(KeyName(request->keyPath), request->valueName);
  if (value == nullptr) return 0;
  if (value->type != static_cast<uint32_t>(request->type) ||
      value->data.size() != static_cast<size_t>(request->size)) {
    host.console.Warning(std::string("RMGetValue \"") + request->valueName + "\": stored as type " +
                         std::to_string(value->type) + " with " +
                         std::to_string(value->data.size()) + " bytes, asked for type " +
                         std::to_string(request->type) + " with " + std::to_string(request->size) +
                         "; left unread");
    return 0;
  }
  std::memcpy(request->data, value->data.data(), value->data.size());
  return 1;
}

int WINAPI _RMSetValue(const RMValueSpec* request) {
  HostState& host = Host();
  if (!ValidRequest(request, "RMSetValue")) return 0;
  if (IsHostStringNumber(request->keyPath) || IsHostStringNumber(request->valueName)) {
    host.console.Warning("RMSetValue into one of the host's own values");
    return 0;
  }
  rasqethost::RegistryValue value;
  value.type = static_cast<uint32_t>(request->type);
  const auto* bytes = static_cast<const uint8_t*>(request->data);
  value.data.assign(bytes, bytes + request->size);
  std::string error;
  if (!host.registry.Set(KeyName(request->keyPath), request->valueName, value, error)) {
    host.console.Warning(error);
    return 0;
  }
  return 1;
}

}  // extern "C"
