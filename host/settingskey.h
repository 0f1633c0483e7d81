// Where the module's settings live: the registry key path under HKEY_CURRENT_USER and the
// requests the host's RMGetValue and RMSetValue take.
#ifndef RASQET_HOST_SETTINGSKEY_H
#define RASQET_HOST_SETTINGSKEY_H

#include <cstddef>
#include <cstdint>

#include "host/hostinterface.h"

// The module's own subkey below the host's key path.
extern const char kSettingsSubkey[];

// Writes "<host key path>\XP\Morvel\RASQET (CadHost)\" into buffer. A host key path too long
// for the buffer is cut so that the whole path still fits with its terminator.
void BuildKeyPath(char* buffer, std::size_t bufferSize);

// A request for the binary value `valueName` of `size` bytes at `data` under keyPath.
RMValueSpec SettingRequest(const char* keyPath, const char* valueName, void* data,
                           std::int32_t size);

#endif
