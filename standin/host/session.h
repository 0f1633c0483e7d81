// The session: start-up of the module, the line-based loop of commands, prompts, exports and
// dialogs, the checks after each command, and the unloading of the module.
#ifndef RASQET_STANDIN_HOST_SESSION_H
#define RASQET_STANDIN_HOST_SESSION_H

#include <string>

namespace rasqethost {

// Loads the module and runs its start: DLL_PROCESS_ATTACH, the start-up routine, event 14.
bool StartModule(std::string& error);
// Reads and runs session lines until "quit" or the end of the input.
void RunSession();
// DLL_PROCESS_DETACH and unloading.
void StopModule();

// Shows the question and reads the answer line; false at the end of the input.
bool AskLine(const std::string& question, std::string& answer);

}  // namespace rasqethost

#endif
