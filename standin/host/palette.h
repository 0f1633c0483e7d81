// The host's 256-entry colour palette and the mapping of AutoCAD colour indices onto it.
#ifndef RASQET_STANDIN_HOST_PALETTE_H
#define RASQET_STANDIN_HOST_PALETTE_H

#include <windows.h>

#include <array>
#include <cstdint>

namespace rasqethost {

// Entries are COLORREF values (0x00BBGGRR). 0 to 15 are the sixteen classic display
// colours, 0 black and 15 white; 16 to 231 a 6 x 6 x 6 colour cube; 232 to 255 greys.
using Palette = std::array<uint32_t, 256>;
Palette DefaultPalette();

// Named indices used by the built-in sample.
enum PaletteIndex : int {
  kBlack = 0,
  kDarkBlue = 1,
  kDarkGreen = 2,
  kDarkCyan = 3,
  kDarkRed = 4,
  kBrown = 6,
  kLightGrey = 7,
  kDarkGrey = 8,
  kBlue = 9,
  kGreen = 10,
  kCyan = 11,
  kRed = 12,
  kMagenta = 13,
  kYellow = 14,
  kWhite = 15,
};

// The palette index for an AutoCAD colour index 1 to 255, drawn on a white background:
// colour 7 (white or black by background) becomes black, and nothing maps onto the
// background entry 15. Out-of-range numbers give black.
int PaletteIndexForAci(int aci);

}  // namespace rasqethost

#endif
