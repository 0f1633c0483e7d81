// KERNEL: entry points by name and the process's current directory.
#include <dlfcn.h>
#include <standin/win32standin.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

// Names registered by the host, looked up before the dynamic linker's own table.
std::map<std::pair<HMODULE, std::string>, FARPROC>& ExportTable() {
  static std::map<std::pair<HMODULE, std::string>, FARPROC> table;
  return table;
}

}  // namespace

extern "C" {

void StandinExportProc(HMODULE hModule, LPCSTR name, FARPROC routine) {
  if (name == nullptr) return;
  auto key = std::make_pair(hModule, std::string(name));
  if (routine == nullptr) {
    ExportTable().erase(key);
  } else {
    ExportTable()[key] = routine;
  }
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  // Lookups by ordinal (a number below 65536 in place of the name) are not supported.
  if (hModule == nullptr || reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) return nullptr;
  auto found = ExportTable().find(std::make_pair(hModule, std::string(lpProcName)));
  if (found != ExportTable().end()) return found->second;
  // Decorated names are only found through the table; the dynamic linker's table holds
  // plain C names, which dlsym finds in the module the handle came from.
  if (std::strchr(lpProcName, '@') != nullptr) return nullptr;
  void* symbol = dlsym(reinterpret_cast<void*>(hModule), lpProcName);
  FARPROC routine;
  static_assert(sizeof routine == sizeof symbol, "function and data pointers differ");
  std::memcpy(&routine, &symbol, sizeof routine);
  return routine;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer) {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return 0;
    buffer.resize(buffer.size() * 2);
  }
  size_t length = std::strlen(buffer.data());
  // Too small a buffer: the size needed, the terminating NUL included.
  if (lpBuffer == nullptr || nBufferLength <= length) return static_cast<DWORD>(length + 1);
  std::memcpy(lpBuffer, buffer.data(), length + 1);
  return static_cast<DWORD>(length);
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR lpPathName) {
  if (lpPathName == nullptr || *lpPathName == '\0') return FALSE;
  // Windows takes either slash as a separator.
  std::string path(lpPathName);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return chdir(path.c_str()) == 0 ? TRUE : FALSE;
}

}  // extern "C"
