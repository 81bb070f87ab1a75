// Deterministic randomness for the procedural art: a small generator and
// smooth value noise. Same seed, same picture, on every build.
#pragma once

#include <cstdint>

struct ArtRandom {
  uint32_t state;
  explicit ArtRandom(uint32_t seed) : state(seed * 2654435761u + 1u) {}
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int below(int n) { return int(next() % uint32_t(n)); }
  float unit() { return float(next() >> 8) / 16777216.0f; }
};

// Noise in 0..1, smooth between integer lattice points.
float value_noise(float x, float y, uint32_t seed);
// Several octaves of value noise, in 0..1.
float fractal_noise(float x, float y, int octaves, uint32_t seed);
