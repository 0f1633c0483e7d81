#include "session.h"

#include <dlfcn.h>
#include <standin/win32standin.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "hostdialog.h"
#include "hoststate.h"

namespace rasqethost {
namespace {

constexpr size_t kNameBuffer = 256;
constexpr int kMenuEvent = 14;

typedef BOOL(WINAPI* DllEntry)(HINSTANCE, DWORD, LPVOID);

// Runs module code; an exception that leaves the module would end a Windows host, so it is
// reported as a fault here.
template <typename Call>
void CallModule(const std::string& what, Call call) {
  try {
    call();
  } catch (const std::exception& e) {
    Host().console.Warning("an exception left the module in " + what + ": " + e.what());
  } catch (...) {
    Host().console.Warning("an exception left the module in " + what);
  }
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

std::string CurrentDirectory() {
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) != nullptr ? cwd : "";
}

bool ParseCoordinate(const std::string& text, double& value) {
  std::string t = Trim(text);
  char* end = nullptr;
  value = std::strtod(t.c_str(), &end);
  return !t.empty() && *end == '\0' && std::isfinite(value);
}

// "x,y", or "@dx,dy" from the anchor NewCsrOrg set.
bool ParsePoint(const std::string& text, float& x, float& y) {
  HostState& host = Host();
  std::string t = Trim(text);
  bool relative = !t.empty() && t[0] == '@';
  if (relative) t.erase(0, 1);
  size_t comma = t.find(',');
  double px, py;
  if (comma == std::string::npos || !ParseCoordinate(t.substr(0, comma), px) ||
      !ParseCoordinate(t.substr(comma + 1), py)) {
    return false;
  }
  if (relative && host.hasAnchor) {
    px += host.anchorX;
    py += host.anchorY;
  }
  x = static_cast<float>(px);
  y = static_cast<float>(py);
  return std::isfinite(x) && std::isfinite(y);
}

void AnswerPrompt() {
  HostState& host = Host();
  ReqDataBlock* block = host.pendingPrompt;
  host.pendingPrompt = nullptr;
  std::string prompt = block->prompts[0];
  std::string question = prompt;
  while (!question.empty() && question.back() == ' ') question.pop_back();
  bool cancelled = false;
  while (true) {
    std::string line;
    if (!AskLine("prompt: " + question, line)) {
      cancelled = true;
      break;
    }
    line = Trim(line);
    if (line == "cancel") {
      cancelled = true;
      break;
    }
    if (block->answerKind == kAnswerFileName) {
      std::vector<std::string> words;
      if (!SplitWords(line, words) || words.size() != 1) {
        ScriptError("a file name (in quotes if it has blanks) or cancel");
        continue;
      }
      if (words[0].size() >= kNameBuffer) {
        ScriptError("the name is longer than " + std::to_string(kNameBuffer - 1) + " characters");
        continue;
      }
      std::memcpy(block->answer, words[0].c_str(), words[0].size() + 1);
      break;
    }
    if (block->answerKind == kAnswerFirstCorner || block->answerKind == kAnswerOppositeCorner) {
      float xy[2];
      if (!ParsePoint(line, xy[0], xy[1])) {
        ScriptError("a point x,y (or @dx,dy) or cancel");
        continue;
      }
      std::memcpy(block->answer, xy, sizeof xy);
      break;
    }
    host.console.Warning("prompt of unknown answer kind " + std::to_string(block->answerKind) +
                         ": cancelled");
    cancelled = true;
    break;
  }
  CallModule("the step handler of \"" + prompt + "\"",
             [&] { block->step(cancelled ? 1 : 0, 0, 0); });
}

// Runs a command, export routine, event or start-up routine with its prompts, then checks
// what it left behind.
template <typename Call>
void RunActivity(const std::string& name, bool command, Call call) {
  HostState& host = Host();
  host.activity = name;
  host.inCommand = command;
  host.commandEnds = 0;
  int gdiBefore = StandinLiveGdiObjects();
  int windowsBefore = StandinLiveWindows();
  Palette paletteBefore = host.palette;
  int16_t backgroundBefore = host.header.record.backgroundColour;
  std::string directoryBefore = CurrentDirectory();
  if (host.escapeArmed) StandinSetKeyDown(VK_ESCAPE, TRUE);

  CallModule(name, call);
  while (host.pendingPrompt != nullptr) AnswerPrompt();

  StandinSetKeyDown(VK_ESCAPE, FALSE);
  host.escapeArmed = false;
  if (command && host.commandEnds != 1) {
    host.console.Warning(name + " ended with " + std::to_string(host.commandEnds) +
                         " CmdEnd calls instead of one");
  }
  if (!command && host.commandEnds != 0) {
    host.console.Warning(name + " called CmdEnd, but it is no command");
  }
  int gdiLeft = StandinLiveGdiObjects() - gdiBefore;
  if (gdiLeft != 0)
    host.console.Warning(name + " left " + std::to_string(gdiLeft) + " GDI objects alive");
  if (!host.devices.empty()) {
    host.console.Warning(name + " left the output on a bitmap (" +
                         std::to_string(host.devices.size()) +
                         " DevUseBitmap without DevUsePrior)");
    host.devices.clear();
  }
  if (host.extentsOpen) {
    host.console.Warning(name + " left the extents open (no EndPExtents)");
    host.extentsOpen = false;
  }
  if (!host.dialogs.empty()) {
    host.console.Warning(name + " left " + std::to_string(host.dialogs.size()) +
                         " dialogs unreleased");
    host.dialogs.clear();
  }
  if (StandinLiveWindows() != windowsBefore) host.console.Warning(name + " left windows behind");
  if (host.palette != paletteBefore || host.header.record.backgroundColour != backgroundBefore) {
    host.console.Warning(name + " left the palette or background changed");
  }
  if (CurrentDirectory() != directoryBefore) {
    host.console.Warning(name + " left the current directory at " + CurrentDirectory() + " (was " +
                         directoryBefore + ")");
  }
  host.inCommand = false;
  host.activity.clear();
  if (command) host.console.Line("end of " + name);
}

void SendEvent(int code) {
  HostState& host = Host();
  if (host.registration == nullptr || host.registration->eventHook == nullptr) {
    host.console.Warning("no event hook to send event " + std::to_string(code) + " to");
    return;
  }
  XPEventHook hook = host.registration->eventHook;
  RunActivity("event " + std::to_string(code), false, [&] { hook(code); });
}

void RunCommand(size_t index) {
  HostState& host = Host();
  const std::string name = host.commandNames[index];
  if (host.registration == nullptr || host.registration->handlers == nullptr ||
      host.registration->handlers[index + 1] == nullptr) {
    host.console.Warning("no handler for " + name);
    return;
  }
  XPCommandProc handler = host.registration->handlers[index + 1];
  RunActivity(name, true, [&] { handler(); });
}

void RunExport(const std::string& description, const std::string& path) {
  HostState& host = Host();
  for (const ExportFormat& format : host.exports) {
    if (strcasecmp(format.description.c_str(), description.c_str()) != 0) continue;
    host.exportFileName = path;
    XPCommandProc routine = format.routine;
    RunActivity("export \"" + format.description + "\"", false, [&] { routine(); });
    host.console.Line("end of export \"" + format.description + "\"");
    return;
  }
  ScriptError("no export format \"" + description + "\"");
}

void ShowHelp() {
  HostState& host = Host();
  std::string commands;
  for (const std::string& name : host.commandNames) commands += " " + name;
  std::string exports;
  for (const ExportFormat& format : host.exports) exports += " \"" + format.description + "\"";
  host.console.Block("help: ",
                     "commands:" + commands + "\nexport FORMAT PATH   formats:" + exports +
                         "\nesc                  Esc reads as held during the next command"
                         "\nevent N              sends event N to the module's event hook"
                         "\nquit                 unloads the module and ends the session"
                         "\nat a point prompt: x,y or @dx,dy (from the anchor) or cancel"
                         "\nin a dialog: set ID VALUE, click ID, ok, cancel");
}

}  // namespace

bool AskLine(const std::string& question, std::string& answer) {
  HostState& host = Host();
  host.console.Ask(question);
  if (!host.input.Next(answer)) {
    host.console.Answer("(end of input)");
    return false;
  }
  host.console.Answer(answer);
  return true;
}

bool StartModule(std::string& error) {
  HostState& host = Host();
  void* module = dlopen(host.options.modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* why = dlerror();
    error = "cannot load module " + host.options.modulePath + ": " + (why != nullptr ? why : "?");
    return false;
  }
  void* entry = dlsym(module, "DllMain");
  if (entry == nullptr) {
    dlclose(module);
    error = "module " + host.options.modulePath + " has no entry point DllMain";
    return false;
  }
  host.module = module;
  host.console.Line("loaded module " + host.options.modulePath);
  DllEntry dllMain;
  std::memcpy(&dllMain, &entry, sizeof dllMain);
  BOOL attached = FALSE;
  RunActivity("DLL_PROCESS_ATTACH", false, [&] {
    attached = dllMain(reinterpret_cast<HINSTANCE>(module), DLL_PROCESS_ATTACH, nullptr);
  });
  if (attached != TRUE) host.console.Warning("DllMain reported failure on DLL_PROCESS_ATTACH");
  if (host.registration == nullptr) {
    host.console.Warning("the module registered no commands");
    return true;
  }
  if (host.registration->handlers != nullptr && host.registration->handlers[0] != nullptr) {
    XPCommandProc startup = host.registration->handlers[0];
    RunActivity("start-up routine", false, [&] { startup(); });
  }
  SendEvent(kMenuEvent);
  return true;
}

void StopModule() {
  HostState& host = Host();
  if (host.module == nullptr) return;
  void* entry = dlsym(host.module, "DllMain");
  DllEntry dllMain;
  std::memcpy(&dllMain, &entry, sizeof dllMain);
  RunActivity("DLL_PROCESS_DETACH", false, [&] {
    dllMain(reinterpret_cast<HINSTANCE>(host.module), DLL_PROCESS_DETACH, nullptr);
  });
  if (host.registration != nullptr)
    host.console.Warning("the module did not unregister its commands");
  host.registration = nullptr;
  host.exports.clear();
  dlclose(host.module);
  host.module = nullptr;
  host.console.Line("unloaded module");
}

void RunSession() {
  HostState& host = Host();
  std::string line;
  std::vector<std::string> words;
  while (true) {
    if (host.input.interactive()) host.console.Ask("command:");
    if (!host.input.Next(line)) break;
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    if (!host.input.interactive()) host.console.Line("> " + trimmed);
    if (!SplitWords(trimmed, words)) {
      ScriptError("unclosed quote");
      continue;
    }
    std::string verb = words[0];
    if (verb == "quit" && words.size() == 1) break;
    if (verb == "esc" && words.size() == 1) {
      host.escapeArmed = true;
      continue;
    }
    if (verb == "help" && words.size() == 1) {
      ShowHelp();
      continue;
    }
    if (verb == "event" && words.size() == 2) {
      char* end = nullptr;
      long code = std::strtol(words[1].c_str(), &end, 10);
      if (*end != '\0' || words[1].empty()) {
        ScriptError("event takes a number");
        continue;
      }
      SendEvent(static_cast<int>(code));
      continue;
    }
    if (verb == "export") {
      if (words.size() != 3) {
        ScriptError("export \"FORMAT\" PATH");
        continue;
      }
      RunExport(words[1], words[2]);
      continue;
    }
    bool ran = false;
    for (size_t i = 0; i < host.commandNames.size() && words.size() == 1; ++i) {
      if (strcasecmp(host.commandNames[i].c_str(), verb.c_str()) == 0) {
        RunCommand(i);
        ran = true;
        break;
      }
    }
    if (!ran) ScriptError("unknown command or wrong arguments: " + trimmed);
  }
}

}  // namespace rasqethost
