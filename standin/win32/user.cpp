// Windows and the keyboard: just enough of USER for a host dialog whose controls the
// module finds by id and shows or hides, and for the module's look at the Esc key.
#include <standin/win32standin.h>

#include <map>
#include <vector>

namespace {

struct Window {
  HWND parent = nullptr;
  int id = 0;
  bool visible = false;
  bool enabled = true;
};

struct UserState {
  std::map<uintptr_t, Window> windows;
  uintptr_t nextHandle = 0x20000;
  bool keysDown[256] = {};
};

UserState& State() {
  static UserState state;
  return state;
}

Window* FindWindow(HWND hWnd) {
  auto& windows = State().windows;
  auto found = windows.find(reinterpret_cast<uintptr_t>(hWnd));
  return found == windows.end() ? nullptr : &found->second;
}

}  // namespace

extern "C" {

HWND StandinCreateWindow(HWND parent, int id, BOOL visible, BOOL enabled) {
  if (parent != nullptr && FindWindow(parent) == nullptr) return nullptr;
  UserState& state = State();
  uintptr_t handle = state.nextHandle;
  state.nextHandle += 4;
  state.windows[handle] = Window{parent, id, visible != FALSE, enabled != FALSE};
  return reinterpret_cast<HWND>(handle);
}

BOOL StandinDestroyWindow(HWND hWnd) {
  if (FindWindow(hWnd) == nullptr) return FALSE;
  auto& windows = State().windows;
  std::vector<HWND> children;
  for (const auto& entry : windows) {
    if (entry.second.parent == hWnd) children.push_back(reinterpret_cast<HWND>(entry.first));
  }
  for (HWND child : children) StandinDestroyWindow(child);
  windows.erase(reinterpret_cast<uintptr_t>(hWnd));
  return TRUE;
}

int StandinLiveWindows(void) {
  return static_cast<int>(State().windows.size());
}

void StandinSetKeyDown(int vKey, BOOL down) {
  if (vKey >= 0 && vKey < 256) State().keysDown[vKey] = down != FALSE;
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
  if (vKey < 0 || vKey >= 256) return 0;
  return State().keysDown[vKey] ? static_cast<SHORT>(0x8000) : 0;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  if (FindWindow(hDlg) == nullptr) return nullptr;
  for (const auto& entry : State().windows) {
    if (entry.second.parent == hDlg && entry.second.id == nIDDlgItem) {
      return reinterpret_cast<HWND>(entry.first);
    }
  }
  return nullptr;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  Window* window = FindWindow(hWnd);
  if (window == nullptr) return FALSE;
  BOOL wasVisible = window->visible ? TRUE : FALSE;
  window->visible = nCmdShow != SW_HIDE;
  return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  for (Window* window = FindWindow(hWnd); window != nullptr; window = FindWindow(window->parent)) {
    if (!window->visible) return FALSE;
    if (window->parent == nullptr) return TRUE;
  }
  return FALSE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* window = FindWindow(hWnd);
  if (window == nullptr) return FALSE;
  BOOL wasDisabled = window->enabled ? FALSE : TRUE;
  window->enabled = bEnable != FALSE;
  return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  Window* window = FindWindow(hWnd);
  return window != nullptr && window->enabled ? TRUE : FALSE;
}

}  // extern "C"
