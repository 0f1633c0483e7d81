// Everything the stand-in host knows while it runs: its options, the drawing, the palette,
// the registry, the loaded module's registrations, and the state of the command, the
// output device and the dialogs. The host operations the module calls work on this one
// state.
#ifndef RASQET_STANDIN_HOST_HOSTSTATE_H
#define RASQET_STANDIN_HOST_HOSTSTATE_H

#include <host/hostinterface.h>

#include <memory>
#include <string>
#include <vector>

#include "console.h"
#include "dialogtemplate.h"
#include "drawing.h"
#include "palette.h"
#include "registry.h"
#include "scriptinput.h"
#include "viewmapping.h"

namespace rasqethost {

class HostDialog;

struct HostOptions {
  std::string modulePath;
  std::string drawingPath;  // empty: the built-in sample
  std::string scriptPath;   // empty: standard input
  std::string registryPath;
  std::string resourcesPath;  // empty: found next to the module or in the source tree
  int clipboardWidth = 1024;
  int clipboardHeight = 768;
  bool clipboardStored = true;  // the host's registry holds its clipboard settings
  bool sysvarEntry = true;      // "_GetSysVAdr@4" is offered
  bool paletteEntry = true;     // "_GetPalAdr@0" is offered
  bool strict = false;          // warnings make the exit status 3
  long long bitmapPixelLimit = 0;
  int background = -1;  // -1: the drawing's own
};

struct ExportFormat {
  XPCommandProc routine = nullptr;
  std::string description;
  std::string extension;
};

// The host's record of the current drawing, longer than what extensions read of it.
struct HostHeader {
  HeaderRec record;
  uint8_t more[100];
};

struct HostState {
  explicit HostState(bool terminal);
  ~HostState();
  HostState(const HostState&) = delete;
  HostState& operator=(const HostState&) = delete;

  HostOptions options;
  Console console;
  ScriptInput input;

  Drawing drawing;
  std::vector<EntityRec> records;  // what extensions see of drawing.entities, same order
  Palette palette{};
  HostHeader header{};
  SysVarRec clipboard{};
  Registry registry;
  TemplateSet templates;
  bool templatesRead = false;

  HMODULE hostModule = nullptr;  // this executable, as GetProcAddress takes it
  void* module = nullptr;        // the extension's dlopen handle, also its instance
  XPRegBlock* registration = nullptr;
  std::vector<std::string> commandNames;
  std::vector<ExportFormat> exports;
  std::string exportFileName;  // host string 3307
  std::string menuText;        // as last added

  // The command or export routine running now.
  std::string activity;
  bool inCommand = false;
  int commandEnds = 0;
  ReqDataBlock* pendingPrompt = nullptr;
  bool escapeArmed = false;
  bool hasAnchor = false;
  float anchorX = 0, anchorY = 0;

  // Output: the screen when the stack is empty.
  std::vector<HDC> devices;
  int colour = 0;
  ViewMapping view;

  bool extentsOpen = false;
  Bounds extents;

  std::vector<std::unique_ptr<HostDialog>> dialogs;  // defined and not yet released
  HostDialog* runningDialog = nullptr;

  // The entity behind a record an extension handed back, or null (with a warning).
  const Entity* EntityOf(const EntityRec* record, const char* operation);
  // The host's drawing and palette, and the records extensions see.
  void SetDrawing(Drawing drawing);
};

HostState& Host();
void SetHost(HostState* host);

// Exits with status 2 after a malformed script line, or on a terminal reports it and
// returns so the person can type again.
void ScriptError(const std::string& what);

}  // namespace rasqethost

#endif
