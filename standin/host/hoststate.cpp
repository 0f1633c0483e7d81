#include "hoststate.h"

#include <cstdio>
#include <cstdlib>

#include "hostdialog.h"

namespace rasqethost {
namespace {

HostState* theHost = nullptr;

}  // namespace

HostState::HostState(bool terminal) : console(terminal) {}
HostState::~HostState() = default;

HostState& Host() {
  return *theHost;
}
void SetHost(HostState* host) {
  theHost = host;
}

const Entity* HostState::EntityOf(const EntityRec* record, const char* operation) {
  if (record != nullptr && !records.empty() && record >= records.data() &&
      record < records.data() + records.size()) {
    return &drawing.entities[static_cast<size_t>(record - records.data())];
  }
  console.Warning(std::string(operation) + " was given no entity of the drawing");
  return nullptr;
}

void HostState::SetDrawing(Drawing newDrawing) {
  drawing = std::move(newDrawing);
  records.assign(drawing.entities.size(), EntityRec{});
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].type = static_cast<uint8_t>(drawing.entities[i].type);
    records[i].layer = static_cast<int16_t>(drawing.entities[i].layer);
  }
  header.record.backgroundColour = static_cast<int16_t>(drawing.background);
}

void ScriptError(const std::string& what) {
  HostState& host = Host();
  if (host.input.interactive()) {
    host.console.Line("error: " + what);
    return;
  }
  host.console.Line("error: " + host.input.Where() + ": " + what);
  std::fprintf(stderr, "rasqet-host: %s: %s\n", host.input.Where().c_str(), what.c_str());
  std::exit(2);
}

}  // namespace rasqethost
