// The CAD host's extension interface as the module sees it: every operation the host
// executable (cadhost.exe) exports to extensions, and every record passed across it.
//
// Contract for whoever implements the host side (the stand-in host under standin/):
// - Each operation below is an extern "C" function with the WINAPI (__stdcall) convention and
//   exactly the C name declared here (_XPRegCmd, DLScan, _EDCTL, ...). In the 32-bit Windows
//   build the names decorate to the host's exports (_XPRegCmd -> __XPRegCmd@4, DLScan ->
//   _DLScan@20); on Linux x86-64 WINAPI is empty and the plain C names are the symbols the
//   host executable exports to the dlopen'ed module.
// - Eight operations take arguments although the host exports them under @0 names:
//   EDraw1, DevUseBitmap, DevUseColor, DevSRect, SetBMView, DsAbCtl, FullFileName, AddMenu.
//   The module passes their arguments on the stack like every other stdcall routine (so the
//   host pops them); host/cadhost.def binds the module's decorated name (_DevUseColor@4) to
//   the host's export name (_DevUseColor@0).
// - The module's entry point is `extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)`,
//   exported by that name from librasqet.so; a host on Linux looks it up with dlsym after
//   dlopen and calls it with DLL_PROCESS_ATTACH, later DLL_PROCESS_DETACH, as Windows does.
// - Callbacks the host calls (command handlers, export routines, event hook, prompt steps,
//   DLScan callbacks, dialog routines) are WINAPI as typed below.
// - From <windows.h> the interface needs BOOL, DWORD, LPVOID, HINSTANCE, HMODULE, HWND, HDC,
//   HKEY, HKEY_CURRENT_USER, WINAPI, REG_BINARY and the DLL_* reason codes.
// - RMGetValue/RMSetValue: a key path or value name field below 65536 is not an address but
//   the number of one of the host's own strings (the clipboard settings use 3512 and 3420).
// - The optional entry points "_GetSysVAdr@4" and "_GetPalAdr@0" are looked up with
//   GetProcAddress, by those exact strings, in the module whose handle the host wrote into
//   XPRegBlock::hostModule.
//
// All host records keep their byte layout in the 32-bit build (checked below); on 64-bit
// Linux, addresses are 8 bytes wide and only the field order holds.
#ifndef RASQET_HOST_HOSTINTERFACE_H
#define RASQET_HOST_HOSTINTERFACE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The module imports these operations; a host that defines them predefines the macro (empty,
// or as its export attribute).
#ifndef RASQET_HOST_IMPORT
#if defined(_WIN32)
#define RASQET_HOST_IMPORT __declspec(dllimport)
#else
#define RASQET_HOST_IMPORT
#endif
#endif

struct EntityRec;

// Routines the host calls. Command handlers, the start-up routine and the export routines
// take nothing and return nothing.
typedef void(WINAPI* XPCommandProc)(void);
// Event hook: the host's event code.
typedef void(WINAPI* XPEventHook)(int eventCode);
// Step handler of a prompt: nonzero first argument when the user cancelled; the other two are
// the host's and unused.
typedef void(WINAPI* ReqDataStep)(int cancelled, int hostValue1, int hostValue2);
// DLScan callback: called once per entity, the entity second of four; returns 0.
typedef int(WINAPI* DLScanCallback)(void* hostValue0, const EntityRec* entity, void* hostValue2,
                                    void* hostValue3);
// Dialog set-up routine and check-box change routine: no arguments, returns 0.
typedef int(WINAPI* DialogRoutine)(void);
// The host's dialog while it is defined (DefDlg to RelDlg).
typedef void* XPDialog;

// The registration block handed to XPRegCmd and XPUnregCmd (96 bytes in the 32-bit build).
// Fields named hostUse* hold 0 as registered; the host may write into them.
struct XPRegBlock {
  int32_t hostUse0;
  const char* commandNames;       // NUL-terminated names, one more NUL at the end
  const XPCommandProc* handlers;  // start-up routine, then one handler per name
  int32_t hostUse12;
  XPEventHook eventHook;
  int32_t hostUse20;
  int32_t hostValue24;  // 61440
  HINSTANCE instance;   // the module's own instance handle
  int32_t hostValue32;  // 603
  int32_t hostUse36;
  int32_t hostUse40;
  int32_t hostValue44;  // 603
  int32_t hostUse48;
  int32_t hostUse52;
  HMODULE hostModule;  // written by the host: where its optional entry points live
  int32_t hostUse60[6];
  const char* menuText;
  const char* label;
  int32_t hostUse92;
};

// A registry request for RMGetValue and RMSetValue (32 bytes in the 32-bit build).
struct RMValueSpec {
  HKEY root;
  const char* keyPath;
  const char* valueName;
  void* data;
  int32_t size;
  int32_t type;  // REG_BINARY (3)
  int32_t sizeAgain;
  int32_t hostUse28;
};

// The host's clipboard settings (40 bytes); the module reads the size in pixels only.
struct SysVarRec {
  uint8_t hostData0[12];
  int32_t width;
  int32_t height;
  uint8_t hostData20[20];
};

// Answer kinds of ReqDataBlock::answerKind.
enum : int32_t { kAnswerFileName = 1, kAnswerOppositeCorner = 5, kAnswerFirstCorner = 7 };

#pragma pack(push, 1)
// A prompt request handed to ReqData (49 bytes, packed, in the 32-bit build).
struct ReqDataBlock {
  int32_t size;                // 49
  int32_t promptMode;          // 2 for file names, 0 for points
  int32_t promptFlags;         // 524288 for file names, 0 for points
  uint8_t promptStyle;         // 2
  void* answer;                // where the host stores the answer
  const char* const* prompts;  // the first entry is the prompt shown
  int32_t answerKind;          // kAnswer*
  ReqDataStep step;            // called once the prompt is answered or cancelled
  uint8_t hostUse29[20];
};
#pragma pack(pop)

// The save dialog request handed to GetSaveFN (32 bytes in the 32-bit build).
struct SaveFNSpec {
  char* fileName;  // in: proposed name; out: chosen name
  int32_t* typeValue;
  const char* defaultExtension;
  const char* typeList;  // pairs of description and pattern, NUL-terminated, one more NUL
  int32_t hostValue16;   // 4096
  int32_t hostValue20;   // 2048
  int32_t hostValue24;   // 1
  const char* mode;      // "SAVE"
};

// An entity of the drawing, as DLScan passes it (read only; the host's record is longer).
struct EntityRec {
  uint8_t hostData0[4];
  uint8_t type;
  uint8_t hostData5[7];
  int16_t layer;
};

// The current drawing's header (writable; the host's record is longer).
struct HeaderRec {
  uint8_t hostData0[28];
  int16_t backgroundColour;  // palette index, 0 to 255
};

// A rectangle in device pixels of the current bitmap, row 0 at the top.
struct PixelRect {
  int32_t x0;
  int32_t y0;
  int32_t x1;
  int32_t y1;
};

// A rectangle in drawing units.
struct WorldRect {
  float x0;
  float y0;
  float x1;
  float y1;
};

// What EndPExtents fills in (24 bytes); the module uses the x and y ranges only.
struct ExtentsRec {
  float x0;
  float y0;
  int32_t hostValue8;
  float x1;
  float y1;
  int32_t hostValue20;
};

// A status-line text with one number, handed to FormSt with mode 11.
struct StatusLineDescriptor {
  const char* text;  // the number replaces the placeholder "!01"
  const uint32_t* values;
  uint8_t format[4];  // 3, 0, 5, 3
};

// Optional host entry points, found by name at run time.
typedef const SysVarRec*(WINAPI* GetSysVAdrProc)(int which);  // "_GetSysVAdr@4", which = 3
typedef uint32_t*(WINAPI* GetPalAdrProc)(void);               // "_GetPalAdr@0": 256 palette entries

extern "C" {
// Registration.
RASQET_HOST_IMPORT void WINAPI _XPRegCmd(XPRegBlock* block);
RASQET_HOST_IMPORT void WINAPI _XPUnregCmd(XPRegBlock* block);
RASQET_HOST_IMPORT void WINAPI _XPRegExport(XPCommandProc routine, const char* description,
                                            const char* extension);

// Commands, prompts and messages.
RASQET_HOST_IMPORT void WINAPI _ReqData(ReqDataBlock* request);
RASQET_HOST_IMPORT void WINAPI _CmdEnd(void);
RASQET_HOST_IMPORT void WINAPI _StatusMsg(const char* text);  // null clears the line
RASQET_HOST_IMPORT void WINAPI _FormSt(const StatusLineDescriptor* descriptor, int mode);
RASQET_HOST_IMPORT void WINAPI _ErrorBox(const char* text);
RASQET_HOST_IMPORT void WINAPI _InfoBox(const char* text);
RASQET_HOST_IMPORT const char* WINAPI _RscAdr(int number);
RASQET_HOST_IMPORT int WINAPI _GetSaveFN(const char* title, SaveFNSpec* request);
RASQET_HOST_IMPORT void WINAPI _NewCsrOrg(float x, float y);
RASQET_HOST_IMPORT void WINAPI FullFileName(const char* source, char* destination);
RASQET_HOST_IMPORT void WINAPI AddMenu(const char* menuText);

// Settings in the registry; an absent value leaves the destination unchanged.
RASQET_HOST_IMPORT int WINAPI _RMGetValue(const RMValueSpec* request);
RASQET_HOST_IMPORT int WINAPI _RMSetValue(const RMValueSpec* request);

// The drawing and its output.
RASQET_HOST_IMPORT HeaderRec* WINAPI _GetHeaderAdr(void);
RASQET_HOST_IMPORT int WINAPI DLScan(int hostValue0, DLScanCallback callback, int hostValue2,
                                     int hostValue3, int hostValue4);
RASQET_HOST_IMPORT int WINAPI _AskLayerHidden(int layer);
RASQET_HOST_IMPORT void WINAPI EDraw1(const EntityRec* entity);
RASQET_HOST_IMPORT void WINAPI _BgnPExtents(void);
RASQET_HOST_IMPORT void WINAPI _EXCheck(const EntityRec* entity);
RASQET_HOST_IMPORT void WINAPI _EndPExtents(ExtentsRec* extents);
RASQET_HOST_IMPORT void WINAPI DevUseBitmap(HDC memoryDc);
RASQET_HOST_IMPORT void WINAPI DevUsePrior(void);
RASQET_HOST_IMPORT void WINAPI DevUseColor(int colourIndex);
RASQET_HOST_IMPORT void WINAPI DevSRect(const PixelRect* rect);
RASQET_HOST_IMPORT void WINAPI SetBMView(float x0, float y0, float x1, float y1,
                                         const PixelRect* pixels);
RASQET_HOST_IMPORT void WINAPI Redraw(void);

// Dialogs: the host builds the dialog from the module's template and moves values between
// controls and the bound fields itself.
RASQET_HOST_IMPORT XPDialog WINAPI DefDlg(const char* templateName, int hostValue1, int hostValue2,
                                          DialogRoutine setup, int hostValue4, int hostValue5);
// Edit control: the field as a decimal integer of at most `length` characters.
RASQET_HOST_IMPORT void WINAPI _EDCTL(XPDialog dialog, int id, int hostValue2, int typeCode,
                                      int length, int32_t* field, int hostValue6);
// Check box: ticked while the mask bits are set in the field; `change` (or null) runs after
// each toggle.
RASQET_HOST_IMPORT void WINAPI _CHKCTL(XPDialog dialog, int id, int hostValue2, int hostValue3,
                                       int32_t* bits, int mask, DialogRoutine change);
// Radio button: selected while the field equals `value`; selecting it writes `value`.
RASQET_HOST_IMPORT void WINAPI _RBCTL(XPDialog dialog, int id, int hostValue2, int hostValue3,
                                      int32_t* field, int value, int hostValue6);
// Runs the dialog modally; 1 on OK.
RASQET_HOST_IMPORT int WINAPI _XPDlog(XPDialog dialog, HINSTANCE instance, int hostValue2);
RASQET_HOST_IMPORT void WINAPI RelDlg(XPDialog dialog);
// Enable and disable one control of the running dialog.
RASQET_HOST_IMPORT void WINAPI _EnAbCtl(int id);
RASQET_HOST_IMPORT void WINAPI DsAbCtl(int id);
RASQET_HOST_IMPORT HWND WINAPI _GetDlgWin(void);
}

#if defined(_WIN32) && !defined(_WIN64)
// The host reads these records byte by byte: hold them to its layout.
static_assert(sizeof(XPRegBlock) == 96, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, commandNames) == 4, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, handlers) == 8, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, eventHook) == 16, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, hostValue24) == 24, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, instance) == 28, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, hostValue32) == 32, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, hostValue44) == 44, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, hostModule) == 56, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, hostUse60) == 60, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, menuText) == 84, "XPRegBlock layout");
static_assert(offsetof(XPRegBlock, label) == 88, "XPRegBlock layout");
static_assert(sizeof(RMValueSpec) == 32, "RMValueSpec layout");
static_assert(offsetof(RMValueSpec, size) == 16, "RMValueSpec layout");
static_assert(offsetof(RMValueSpec, sizeAgain) == 24, "RMValueSpec layout");
static_assert(sizeof(SysVarRec) == 40, "SysVarRec layout");
static_assert(offsetof(SysVarRec, width) == 12, "SysVarRec layout");
static_assert(offsetof(SysVarRec, height) == 16, "SysVarRec layout");
static_assert(sizeof(ReqDataBlock) == 49, "ReqDataBlock layout");
static_assert(offsetof(ReqDataBlock, promptStyle) == 12, "ReqDataBlock layout");
static_assert(offsetof(ReqDataBlock, answer) == 13, "ReqDataBlock layout");
static_assert(offsetof(ReqDataBlock, prompts) == 17, "ReqDataBlock layout");
static_assert(offsetof(ReqDataBlock, answerKind) == 21, "ReqDataBlock layout");
static_assert(offsetof(ReqDataBlock, step) == 25, "ReqDataBlock layout");
static_assert(sizeof(SaveFNSpec) == 32, "SaveFNSpec layout");
static_assert(offsetof(SaveFNSpec, hostValue16) == 16, "SaveFNSpec layout");
static_assert(offsetof(SaveFNSpec, mode) == 28, "SaveFNSpec layout");
static_assert(offsetof(EntityRec, type) == 4, "EntityRec layout");
static_assert(offsetof(EntityRec, layer) == 12, "EntityRec layout");
static_assert(offsetof(HeaderRec, backgroundColour) == 28, "HeaderRec layout");
static_assert(sizeof(PixelRect) == 16, "PixelRect layout");
static_assert(sizeof(WorldRect) == 16, "WorldRect layout");
static_assert(sizeof(ExtentsRec) == 24, "ExtentsRec layout");
static_assert(offsetof(ExtentsRec, x1) == 12, "ExtentsRec layout");
static_assert(offsetof(ExtentsRec, y1) == 16, "ExtentsRec layout");
static_assert(sizeof(StatusLineDescriptor) == 12, "StatusLineDescriptor layout");
static_assert(offsetof(StatusLineDescriptor, format) == 8, "StatusLineDescriptor layout");
#endif

#endif
