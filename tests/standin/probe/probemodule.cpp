// A small extension module for testing rasqet-host on its own: each command exercises a few
// host operations, some of them wrongly on purpose, and reports what it saw through the
// host's message boxes.
#include <host/hostinterface.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

XPRegBlock block;
HINSTANCE instance;

std::string Text(const char* format, double a, double b, double c = 0, double d = 0) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

// Drawing: the visible entities (and annotations) fill a W x H bitmap, written as PPM.
ExtentsRec extents;
int WINAPI AddExtents(void*, const EntityRec* entity, void*, void*) {
  if (_AskLayerHidden(entity->layer) == 0 || entity->type == 18 || entity->type == 29) {
    _EXCheck(entity);
  }
  return 0;
}
int WINAPI DrawVisible(void*, const EntityRec* entity, void*, void*) {
  if (_AskLayerHidden(entity->layer) == 0 || entity->type == 18) EDraw1(entity);
  return 0;
}

bool DrawToPpm(const char* name, int width, int height) {
  _BgnPExtents();
  DLScan(0, AddExtents, 0, 0, 0);
  _EndPExtents(&extents);
  HDC screen = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  if (bitmap == nullptr) {
    DeleteDC(dc);
    DeleteDC(screen);
    _ErrorBox("no bitmap");
    return false;
  }
  HGDIOBJ previous = SelectObject(dc, bitmap);
  DevUseBitmap(dc);
  DevUseColor(_GetHeaderAdr()->backgroundColour);
  PixelRect all = {0, 0, width, height};
  DevSRect(&all);
  SetBMView(extents.x0, extents.y0, extents.x1, extents.y1, &all);
  DLScan(0, DrawVisible, 0, 0, 0);
  DevUsePrior();
  SelectObject(dc, previous);
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  int rows = GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteDC(screen);
  if (rows != height) return false;
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const uint8_t rgb[3] = {pixels[i + 2], pixels[i + 1], pixels[i]};
    std::fwrite(rgb, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

char fileName[256];
const char* namePrompt[] = {"Filename: "};
void WINAPI AfterName(int cancelled, int, int);
ReqDataBlock nameRequest = {49, 2, 524288, 2, fileName, namePrompt, 1, AfterName, {}};

void WINAPI AfterName(int cancelled, int, int) {
  if (!cancelled) {
    bool written = DrawToPpm(fileName, 160, 100);
    _InfoBox(written ? "drawn" : "not drawn");
  }
  _CmdEnd();
}

float first[2], second[2];
const char* firstPrompt[] = {"Pick first corner:"};
const char* secondPrompt[] = {"Opposite corner:"};
void WINAPI AfterFirst(int cancelled, int, int);
void WINAPI AfterSecond(int cancelled, int, int);
ReqDataBlock firstRequest = {49, 0, 0, 2, first, firstPrompt, 7, AfterFirst, {}};
ReqDataBlock secondRequest = {49, 0, 0, 2, second, secondPrompt, 5, AfterSecond, {}};

void WINAPI AfterFirst(int cancelled, int, int) {
  if (cancelled) {
    _InfoBox("cancelled");
    _CmdEnd();
    return;
  }
  _NewCsrOrg(first[0], first[1]);
  _ReqData(&secondRequest);
}

void WINAPI AfterSecond(int cancelled, int, int) {
  _InfoBox(cancelled
               ? "cancelled"
               : Text("corners %g,%g %g,%g", first[0], first[1], second[0], second[1]).c_str());
  _CmdEnd();
}

void WINAPI Draw() {
  _ReqData(&nameRequest);
}
void WINAPI Pick() {
  _ReqData(&firstRequest);
}
void WINAPI NoEnd() {}
void WINAPI Twice() {
  _CmdEnd();
  _CmdEnd();
}
void WINAPI Leak() {
  CreateSolidBrush(RGB(1, 2, 3));
  DevUseBitmap(nullptr);
  _CmdEnd();
}
void WINAPI Throw() {
  throw std::runtime_error("probe failure");
}

char saveName[256] = "first.png";
int32_t saveType;
void WINAPI SaveAs() {
  SaveFNSpec request = {saveName, &saveType, "PNG", "PNG file\0*.PNG\0BMP Bitmap file\0*.BMP\0",
                        4096,     2048,      1,     "SAVE"};
  int chosen = _GetSaveFN("Save probe", &request);
  _InfoBox(chosen
               ? (std::string("chosen ") + saveName + " type " + std::to_string(saveType)).c_str()
               : "no name");
  _CmdEnd();
}

void WINAPI Entries() {
  auto sysvar = reinterpret_cast<GetSysVAdrProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(block.hostModule, "_GetSysVAdr@4")));
  auto palette = reinterpret_cast<GetPalAdrProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(block.hostModule, "_GetPalAdr@0")));
  std::string text =
      sysvar ? Text("clipboard %gx%g", sysvar(3)->width, sysvar(3)->height) : "no sysvar entry";
  if (palette) {
    char entry[64];
    std::snprintf(entry, sizeof entry, ", palette 15 is %06x",
                  static_cast<unsigned>(palette()[15]));
    text += entry;
  } else {
    text += ", no palette entry";
  }
  SysVarRec stored;
  std::memset(&stored, 0, sizeof stored);
  RMValueSpec request = {HKEY_CURRENT_USER,
                         reinterpret_cast<const char*>(3512),
                         reinterpret_cast<const char*>(3420),
                         &stored,
                         40,
                         3,
                         40,
                         0};
  text += _RMGetValue(&request) ? Text(", stored %gx%g", stored.width, stored.height)
                                : ", nothing stored";
  _InfoBox(text.c_str());
  _CmdEnd();
}

void WINAPI Status() {
  uint32_t percent = 0;
  StatusLineDescriptor d = {"Saving probe... !01%", &percent, {3, 0, 5, 3}};
  for (percent = 0; percent <= 100; percent += 50) _FormSt(&d, 11);
  _StatusMsg(nullptr);
  _CmdEnd();
}

void WINAPI Black() {
  auto palette = reinterpret_cast<GetPalAdrProc>(
      reinterpret_cast<void (*)()>(GetProcAddress(block.hostModule, "_GetPalAdr@0")));
  if (palette) palette()[12] = 0;
  _GetHeaderAdr()->backgroundColour = 15;
  Redraw();
  _CmdEnd();
}

void WINAPI Registry() {
  char key[256];
  wsprintfA(key, "%s\\XP\\Probe\\", _RscAdr(3053));
  int32_t value = 0x1234, back = -1, missing = 77;
  RMValueSpec set = {HKEY_CURRENT_USER, key, "Probe", &value, 4, 3, 4, 0};
  RMValueSpec get = {HKEY_CURRENT_USER, key, "Probe", &back, 4, 3, 4, 0};
  RMValueSpec absent = {HKEY_CURRENT_USER, key, "Missing", &missing, 4, 3, 4, 0};
  int stored = _RMSetValue(&set);
  int found = _RMGetValue(&get);
  int foundMissing = _RMGetValue(&absent);
  _InfoBox(Text("stored %g found %g value %g missing %g", stored, found, back,
                foundMissing ? -1 : missing)
               .c_str());
  _CmdEnd();
}

void WINAPI EscKey() {
  _InfoBox((GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0 ? "Esc held" : "Esc up");
  _CmdEnd();
}

void WINAPI StartUp() {}
void WINAPI Event(int code) {
  if (code == 14) AddMenu("Probe:\r\nDraw:|DRAW;\r\n");
}

char exportName[260];
void WINAPI ExportPpm() {
  FullFileName(_RscAdr(3307), exportName);
  _InfoBox(DrawToPpm(exportName, 160, 100) ? exportName : "not drawn");
}

const char names[] =
    "DRAW\0PICK\0NOEND\0TWICE\0LEAK\0THROW\0SAVEAS\0ENTRIES\0STATUS\0BLACK\0REG\0ESCKEY\0";
const XPCommandProc handlers[] = {StartUp, Draw,    Pick,   NoEnd, Twice,    Leak,  Throw,
                                  SaveAs,  Entries, Status, Black, Registry, EscKey};

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE self, DWORD reason,
                                                                      LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    instance = self;
    block.commandNames = names;
    block.handlers = handlers;
    block.eventHook = Event;
    block.instance = self;
    block.menuText = "Probe:\r\n";
    _XPRegCmd(&block);
    _XPRegExport(ExportPpm, "PPM File", "PPM");
  } else if (reason == DLL_PROCESS_DETACH) {
    _XPUnregCmd(&block);
  }
  return TRUE;
}
