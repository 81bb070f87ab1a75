#include "data/sound/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TWO_PI = 6.28318531f;

// The correction that takes the aliasing out of a jump in a wave: t is the
// phase since the jump, dt the phase step per sample.
float poly_blep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

float square(float phase, float dt, float duty) {
  float v = phase < duty ? 1.0f : -1.0f;
  float fall = phase - duty;
  if (fall < 0.0f) fall += 1.0f;
  v += poly_blep(phase, dt) - poly_blep(fall, dt);
  return v + (1.0f - 2.0f * duty);  // centred, so that narrow pulses carry no offset
}

// White noise through two one-pole filters (stable at any cutoff).
struct NoiseFilter {
  uint32_t seed = 0x2545f491u;
  float first = 0, second = 0;
  float next(float cutoff_hz, bool high_pass) {
    seed = seed * 1664525u + 1013904223u;
    float white = float(seed >> 8) / 8388608.0f - 1.0f;
    float a = 1.0f - std::exp(-TWO_PI * std::min(cutoff_hz, RATE * 0.45f) / RATE);
    first += a * (white - first);
    second += a * (first - second);
    if (high_pass) return white - second;
    // Low-passed noise loses level as the cutoff falls; give it back.
    return second * std::clamp(std::sqrt(RATE * 0.25f / std::max(cutoff_hz, 20.0f)), 1.0f, 8.0f);
  }
};

float wave_value(Wave wave, float phase, float dt, float duty, float noise) {
  switch (wave) {
    case Wave::Square: return square(phase, dt, duty);
    case Wave::Triangle: return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
    case Wave::Saw: return 2.0f * phase - 1.0f - poly_blep(phase, dt);
    case Wave::Sine: return std::sin(TWO_PI * phase);
    case Wave::Noise:
    case Wave::Hiss: return noise;
  }
  return 0.0f;
}

float peak_of(const std::vector<float> &v) {
  float p = 0.0f;
  for (float x : v) p = std::max(p, std::fabs(x));
  return p;
}

void remove_dc(std::vector<float> &v) {
  double sum = 0;
  for (float x : v) sum += x;
  float mean = v.empty() ? 0.0f : float(sum / double(v.size()));
  for (float &x : v) x -= mean;
}

Sample16 to_16_bits(const std::vector<float> &v, float gain) {
  Sample16 s;
  s.frequency = RATE;
  for (float x : v) s.data.push_back(int16_t(std::lround(std::clamp(x * gain, -1.0f, 1.0f) * 32767.0f)));
  return s;
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
  float phase = 0.0f;
  NoiseFilter noise;
  const float release = std::min(0.01f, n.length * 0.3f);
  const bool noisy = n.wave == Wave::Noise || n.wave == Wave::Hiss;
  for (long i = 0; i < count; ++i) {
    float t = float(i) / RATE;
    float hz = n.from_hz * std::pow(n.to_hz / n.from_hz, t / n.length);
    hz *= 1.0f + n.vibrato * std::sin(TWO_PI * 6.0f * t);
    float dt = std::min(hz / RATE, 0.5f);
    float value = wave_value(n.wave, phase, dt, n.duty, noisy ? noise.next(hz, n.wave == Wave::Hiss) : 0.0f);
    phase += dt;
    phase -= std::floor(phase);
    float env = std::min(1.0f, t / std::max(n.attack, 1e-4f)) * std::exp(-1.1f * t / n.decay);
    float tail = n.length - t;
    if (tail < release) env *= tail / release;
    long at = first + i;
    if (mix.wraps) at %= size;
    if (at < 0 || at >= size) continue;
    mix.samples[size_t(at)] += n.volume * env * value;
  }
}

double loudness_db(const std::vector<float> &v) {
  if (v.empty()) return -200.0;
  size_t window = std::min<size_t>(LOUDNESS_WINDOW, v.size());
  double sum = 0, best = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    sum += double(v[i]) * v[i];
    if (i >= window) sum -= double(v[i - window]) * v[i - window];
    if (i + 1 >= window) best = std::max(best, sum);
  }
  return 10.0 * std::log10(std::max(best / double(window), 1e-20));
}

Sample16 finish_effect(Mix mix, float loudness) {
  std::vector<float> &v = mix.samples;
  remove_dc(v);
  // Fade in over 1 ms and out over 5 ms: no click at either end.
  size_t in = std::min<size_t>(RATE / 1000, v.size()), out = std::min<size_t>(RATE / 200, v.size());
  for (size_t i = 0; i < in; ++i) v[i] *= float(i) / float(in);
  for (size_t i = 0; i < out; ++i) v[v.size() - 1 - i] *= float(i) / float(out);
  float peak = peak_of(v);
  if (peak <= 0.0f) return to_16_bits(v, 0.0f);
  float gain = float(std::pow(10.0, (loudness - loudness_db(v)) / 20.0));
  gain = std::min(gain, PEAK_LIMIT * 0.98f / peak);
  return to_16_bits(v, gain);
}

Sample16 finish_tune(Mix mix, float peak) {
  remove_dc(mix.samples);
  float loudest = std::max(peak_of(mix.samples), 1e-6f);
  return to_16_bits(mix.samples, std::min(peak, PEAK_LIMIT * 0.98f) / loudest);
}
