#include "data/sound/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TWO_PI = 6.28318531f;

float wave_value(Wave wave, float phase, float duty, float held) {
  switch (wave) {
    // Centred, so that narrow pulses carry no offset.
    case Wave::Square: return (phase < duty ? 1.0f : -1.0f) + (1.0f - 2.0f * duty);
    case Wave::Triangle: return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
    case Wave::Saw: return 2.0f * phase - 1.0f;
    case Wave::Sine: return std::sin(TWO_PI * phase);
    case Wave::Noise: return held;
  }
  return 0.0f;
}

}  // namespace

Mix silence(float seconds, bool wraps) {
  return Mix{std::vector<float>(size_t(std::lround(seconds * RATE)), 0.0f), wraps};
}

float midi_hz(int note) { return 440.0f * std::pow(2.0f, float(note - 69) / 12.0f); }

void add_note(Mix &mix, const Note &n) {
  long first = std::lround(n.start * RATE);
  long count = std::lround(n.length * RATE);
  long size = long(mix.samples.size());
  float phase = 0.0f, held = 0.0f;
  uint32_t noise = 0x2545f491u;
  const float release = std::min(0.01f, n.length * 0.3f);
  for (long i = 0; i < count; ++i) {
    float t = float(i) / RATE;
    float hz = n.from_hz * std::pow(n.to_hz / n.from_hz, t / n.length);
    hz *= 1.0f + n.vibrato * std::sin(TWO_PI * 6.0f * t);
    float before = phase;
    phase += hz / RATE;
    phase -= std::floor(phase);
    if (n.wave == Wave::Noise && (phase < before || hz * 2.0f > RATE)) {
      // Noise is a new random level once per cycle: its pitch colours it.
      noise = noise * 1664525u + 1013904223u;
      held = float(noise >> 8) / 8388608.0f - 1.0f;
    }
    float env = std::min(1.0f, t / std::max(n.attack, 1e-4f)) * std::exp(-1.1f * t / n.decay);
    float tail = n.length - t;
    if (tail < release) env *= tail / release;
    long at = first + i;
    if (mix.wraps) at %= size;
    if (at < 0 || at >= size) continue;
    mix.samples[size_t(at)] += n.volume * env * wave_value(n.wave, phase, n.duty, held);
  }
}

Sample16 finish(const Mix &mix, float peak) {
  float loudest = 1e-6f;
  for (float v : mix.samples) loudest = std::max(loudest, std::fabs(v));
  Sample16 s;
  s.frequency = RATE;
  for (float v : mix.samples)
    s.data.push_back(int16_t(std::lround(std::clamp(v / loudest * peak, -1.0f, 1.0f) * 32767.0f)));
  return s;
}
