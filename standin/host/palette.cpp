#include "palette.h"

#include <cmath>

namespace rasqethost {
namespace {

struct Rgb {
  int r, g, b;
};

// The usual reading of the AutoCAD wheel: 24 hues in 15 degree steps from index 10 on,
// ten shades each (five brightness levels, full and half saturation), then six greys.
Rgb AciColour(int aci) {
  static const Rgb kFirst[] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                               {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {0, 0, 0},
                               {128, 128, 128}, {192, 192, 192}};
  if (aci >= 0 && aci <= 9) return kFirst[aci];
  if (aci >= 250) {
    static const int kGreys[] = {51, 80, 105, 130, 190, 255};
    int g = kGreys[aci - 250];
    return {g, g, g};
  }
  double hue = (aci / 10 - 1) * 15.0;
  int shade = aci % 10;
  static const double kValue[] = {1.0, 0.8, 0.6, 0.5, 0.3};
  double value = kValue[shade / 2];
  double saturation = shade % 2 == 0 ? 1.0 : 0.5;
  double c = value * saturation;
  double h = hue / 60.0;
  double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  double m = value - c;
  auto byte = [&](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
  return {byte(r), byte(g), byte(b)};
}

}  // namespace

Palette DefaultPalette() {
  Palette palette{};
  static const Rgb kClassic[16] = {{0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
                                   {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
                                   {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                   {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
  for (int i = 0; i < 16; ++i) palette[i] = RGB(kClassic[i].r, kClassic[i].g, kClassic[i].b);
  static const int kLevels[6] = {0, 95, 135, 175, 215, 255};
  for (int i = 0; i < 216; ++i) {
    palette[16 + i] = RGB(kLevels[i / 36], kLevels[(i / 6) % 6], kLevels[i % 6]);
  }
  for (int i = 0; i < 24; ++i) {
    int g = 8 + 10 * i;
    palette[232 + i] = RGB(g, g, g);
  }
  return palette;
}

int PaletteIndexForAci(int aci) {
  static const int kDirect[10] = {kBlack, kRed,     kYellow, kGreen,    kCyan,
                                  kBlue,  kMagenta, kBlack,  kDarkGrey, kLightGrey};
  if (aci < 1 || aci > 255) return kBlack;
  if (aci <= 9) return kDirect[aci];
  Rgb want = AciColour(aci);
  Palette palette = DefaultPalette();
  int best = kBlack;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    if (i == kWhite) continue;
    int dr = GetRValue(palette[i]) - want.r, dg = GetGValue(palette[i]) - want.g,
        db = GetBValue(palette[i]) - want.b;
    long distance =
        static_cast<long>(dr) * dr + static_cast<long>(dg) * dg + static_cast<long>(db) * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace rasqethost
