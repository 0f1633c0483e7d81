#include "host/settingskey.h"

#include <cstring>

const char kSettingsSubkey[] = "RASQET (CadHost)";

namespace {

const int kHostKeyPathString = 3053;
const char kKeyPathFormat[] = "%s\\XP\\Morvel\\%s\\";
// Characters the format adds around the host's text: "\XP\Morvel\", the subkey and "\".
constexpr std::size_t kKeyPathOverhead =
    sizeof "\\XP\\Morvel\\" - 1 + sizeof kSettingsSubkey - 1 + 1;

}  // namespace

void BuildKeyPath(char* buffer, std::size_t bufferSize) {
  if (bufferSize <= kKeyPathOverhead) {
    buffer[0] = '\0';
    return;
  }
  // wsprintfA knows nothing of the buffer's size: hand it a host text that fits.
  char hostPart[256];
  std::size_t room = bufferSize - 1 - kKeyPathOverhead;
  if (room > sizeof hostPart - 1) room = sizeof hostPart - 1;
  const char* hostText = _RscAdr(kHostKeyPathString);
  std::size_t length = hostText ? std::strlen(hostText) : 0;
  if (length > room) length = room;
  if (length > 0) std::memcpy(hostPart, hostText, length);
  hostPart[length] = '\0';
  wsprintfA(buffer, kKeyPathFormat, hostPart, kSettingsSubkey);
}

RMValueSpec SettingRequest(const char* keyPath, const char* valueName, void* data,
                           std::int32_t size) {
  RMValueSpec request = {};
  request.root = HKEY_CURRENT_USER;
  request.keyPath = keyPath;
  request.valueName = valueName;
  request.data = data;
  request.size = size;
  request.type = REG_BINARY;
  request.sizeAgain = size;
  request.hostUse28 = 0;
  return request;
}
