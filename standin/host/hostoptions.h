// The command line of rasqet-host.
#ifndef RASQET_STANDIN_HOST_HOSTOPTIONS_H
#define RASQET_STANDIN_HOST_HOSTOPTIONS_H

#include <string>

#include "hoststate.h"

namespace rasqethost {

// False with a message for an unusable command line; help is set for --help.
bool ParseHostOptions(int argc, char** argv, HostOptions& options, bool& help, std::string& error);
const char* HostUsage();
// Fills in the module and resource paths the command line left open.
void ResolveDefaultPaths(HostOptions& options);

}  // namespace rasqethost

#endif
