// The module's export settings: one record in memory for the life of the module, stored as
// one 32-byte registry value "Options" through the host.
#ifndef RASQET_HOST_EXPORTOPTIONS_H
#define RASQET_HOST_EXPORTOPTIONS_H

#include <cstdint>

// The stored value is this record verbatim: order and widths are a file format.
struct ExportOptions {
  std::int32_t width;          // bitmap width in pixels
  std::int32_t height;         // bitmap height in pixels
  std::int32_t flags;          // kGreyscale, kProgressive, kUseClipboardSize
  std::int32_t jpegQuality;    // 1 to 100
  std::int32_t reserved;       // carried through load and store untouched
  std::int32_t spareAreaMode;  // kSpareAreaNormal, kSpareAreaCrop, kSpareAreaBlank
  std::int32_t pngLevel;       // 1 fast, -1 default, 9 maximum
  std::int32_t blackAndWhite;  // nonzero: black-and-white image
};
static_assert(sizeof(ExportOptions) == 32, "ExportOptions is a stored 32-byte record");

enum : std::int32_t {
  kGreyscale = 1,
  kProgressive = 2,
  kUseClipboardSize = 8,
};

enum : std::int32_t {
  kSpareAreaNormal = 0,
  kSpareAreaCrop = 1,
  kSpareAreaBlank = 2,
};

constexpr ExportOptions kDefaultExportOptions = {800, 600, kUseClipboardSize, 75, 2, 0, 9, 0};

// The in-memory record every command and export routine works from.
extern ExportOptions exportOptions;

// Refreshes exportOptions from the stored value (left as it is when nothing is stored). With
// withClipboardSize and kUseClipboardSize set, width and height then come from the host's
// clipboard settings, when the host supplies them.
void LoadExportOptions(bool withClipboardSize);
// Stores exportOptions.
void SaveExportOptions();

#endif
