// Makes the two test rasters of jpeg_bench.sh as binary PPM files, the same bytes on every run:
//   jpeg_bench_images cad.ppm photo.ppm [width height]
// cad.ppm: a line drawing on a flat background (thin lines, circles, hatching, small text-like
// marks), the kind of picture the module exports from a CAD drawing.
// photo.ppm: smooth gradients, soft shapes and sensor-like noise, a stand-in for a photograph.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A fixed xorshift generator: no dependence on the C library's rand.
struct Random {
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  std::uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<std::uint32_t>(state >> 16);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

struct Raster {
  int width, height;
  std::vector<std::uint8_t> rgb;
  Raster(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {}
  void Set(int x, int y, const std::uint8_t colour[3]) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    p[0] = colour[0];
    p[1] = colour[1];
    p[2] = colour[2];
  }
  bool Write(const char* name) const {
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    const bool ok = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
    return std::fclose(file) == 0 && ok;
  }
};

void Line(Raster& r, int x0, int y0, int x1, int y1, const std::uint8_t colour[3]) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    r.Set(x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Circle(Raster& r, int cx, int cy, int radius, const std::uint8_t colour[3]) {
  const int steps = 8 * radius + 8;
  int px = cx + radius, py = cy;
  for (int i = 1; i <= steps; ++i) {
    const double angle = 2 * 3.14159265358979 * i / steps;
    const int x = cx + static_cast<int>(std::lround(radius * std::cos(angle)));
    const int y = cy + static_cast<int>(std::lround(radius * std::sin(angle)));
    Line(r, px, py, x, y, colour);
    px = x;
    py = y;
  }
}

Raster MakeCad(int width, int height) {
  Raster r(width, height);
  Random random;
  const std::uint8_t background[3] = {255, 255, 255};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) r.Set(x, y, background);
  const std::uint8_t palette[][3] = {{0, 0, 0},   {255, 0, 0},     {0, 0, 255},
                                     {0, 160, 0}, {128, 128, 128}, {200, 120, 0}};
  const std::uint8_t* grey = palette[4];
  for (int x = 0; x < width; x += 100) Line(r, x, 0, x, height - 1, grey);  // grid
  for (int y = 0; y < height; y += 100) Line(r, 0, y, width - 1, y, grey);
  for (int i = 0; i < 1500; ++i) {  // walls and parts: axis-parallel and slanted lines
    const std::uint8_t* colour = palette[random.Below(4)];
    const int x = random.Below(width), y = random.Below(height), length = 50 + random.Below(900);
    switch (random.Below(3)) {
      case 0:
        Line(r, x, y, x + length, y, colour);
        break;
      case 1:
        Line(r, x, y, x, y + length, colour);
        break;
      default:
        Line(r, x, y, x + random.Below(600) - 300, y + random.Below(600) - 300, colour);
    }
  }
  for (int i = 0; i < 300; ++i)
    Circle(r, random.Below(width), random.Below(height), 5 + random.Below(200),
           palette[random.Below(6)]);
  for (int i = 0; i < 40; ++i) {  // hatched areas
    const int x = random.Below(width - 300), y = random.Below(height - 300),
              size = 100 + random.Below(200);
    for (int k = 0; k < 2 * size; k += 8)
      Line(r, x + std::max(0, k - size), y + std::min(k, size), x + std::min(k, size),
           y + std::max(0, k - size), palette[5]);
  }
  for (int i = 0; i < 4000; ++i) {  // dimension text: rows of small glyph-like strokes
    const int x = random.Below(width - 60), y = random.Below(height - 10);
    for (int g = 0; g < 6; ++g)
      for (int s = 0; s < 3; ++s)
        Line(r, x + 9 * g + random.Below(7), y + random.Below(9), x + 9 * g + random.Below(7),
             y + random.Below(9), palette[0]);
  }
  return r;
}

Raster MakePhoto(int width, int height) {
  Raster r(width, height);
  Random random;
  struct Blob {
    double x, y, radius, strength[3];
  };
  std::vector<Blob> blobs;
  for (int i = 0; i < 16; ++i) {
    Blob b{static_cast<double>(random.Below(width)),
           static_cast<double>(random.Below(height)),
           width * (0.03 + random.Below(100) / 800.0),
           {}};
    for (double& s : b.strength) s = random.Below(100) - 50;
    blobs.push_back(b);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
      double c[3] = {60 + 140 * fy + 30 * std::sin(9 * fx), 90 + 80 * fx + 25 * std::cos(7 * fy),
                     170 - 110 * fy + 20 * std::sin(13 * (fx + fy))};
      for (const Blob& b : blobs) {
        const double dx = x - b.x, dy = y - b.y;
        const double d2 = (dx * dx + dy * dy) / (b.radius * b.radius);
        if (d2 < 4) {
          const double weight = std::exp(-d2);
          for (int k = 0; k < 3; ++k) c[k] += b.strength[k] * weight;
        }
      }
      const int noise = random.Below(25) - 12;
      std::uint8_t pixel[3];
      for (int k = 0; k < 3; ++k) {
        const int v = static_cast<int>(c[k]) + noise + random.Below(9) - 4;
        pixel[k] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
      r.Set(x, y, pixel);
    }
  }
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s cad.ppm photo.ppm [width height]\n", argv[0]);
    return 2;
  }
  const int width = argc == 5 ? std::atoi(argv[3]) : 4000;
  const int height = argc == 5 ? std::atoi(argv[4]) : 3000;
  if (width < 400 || height < 400) {
    std::fprintf(stderr, "rasters of at least 400 x 400, please\n");
    return 2;
  }
  if (!MakeCad(width, height).Write(argv[1]) || !MakePhoto(width, height).Write(argv[2])) {
    std::perror("writing the rasters");
    return 1;
  }
  return 0;
}
