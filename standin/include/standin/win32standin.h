// Controls of the Win32 stand-in that only the stand-in host and the tests use: they play
// the part of the window manager, the keyboard and the loader, and expose GDI bookkeeping.
#ifndef RASQET_STANDIN_WIN32STANDIN_H
#define RASQET_STANDIN_WIN32STANDIN_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// GDI objects (device contexts, bitmaps, pens, brushes) created and not yet deleted; stock
// objects are not counted.
int StandinLiveGdiObjects(void);
// Largest bitmap, in pixels, that CreateCompatibleBitmap will make (0: no limit of ours).
void StandinSetBitmapPixelLimit(long long pixels);

// Keyboard: the state GetAsyncKeyState reports for a virtual key.
void StandinSetKeyDown(int vKey, BOOL down);

// Windows: a dialog or control with an id under a parent (NULL for a top-level window).
HWND StandinCreateWindow(HWND parent, int id, BOOL visible, BOOL enabled);
// Destroys the window and its children; FALSE for an unknown handle.
BOOL StandinDestroyWindow(HWND hWnd);
int StandinLiveWindows(void);

// Loader: makes GetProcAddress find an entry under a name that is no C identifier, such as
// a decorated stdcall name. A null routine withdraws the name.
void StandinExportProc(HMODULE hModule, LPCSTR name, FARPROC routine);

#ifdef __cplusplus
}
#endif

#endif
