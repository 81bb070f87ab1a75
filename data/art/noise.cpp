#include "data/art/noise.h"

#include <cmath>

namespace {

float lattice(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return float(h & 0xffffff) / 16777215.0f;
}

float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

}  // namespace

float value_noise(float x, float y, uint32_t seed) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float tx = smooth(x - float(x0)), ty = smooth(y - float(y0));
  float a = lattice(x0, y0, seed), b = lattice(x0 + 1, y0, seed);
  float c = lattice(x0, y0 + 1, seed), d = lattice(x0 + 1, y0 + 1, seed);
  float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float fractal_noise(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, scale = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += value_noise(x, y, seed + uint32_t(o) * 101u) * scale;
    total += scale;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f + 5.3f;
    scale *= 0.5f;
  }
  return sum / total;
}
