// A small synthesiser for the game's sounds: notes of a few wave shapes
// with pitch sweeps and decaying envelopes, mixed into a buffer of floats
// and finished into 16-bit samples. No randomness but a fixed noise
// sequence, so every build makes the same sounds.
#pragma once

#include "data/dat_writer.h"

#include <vector>

constexpr int RATE = 22050;

enum class Wave { Square, Triangle, Saw, Sine, Noise };

struct Note {
  Wave wave = Wave::Square;
  float start = 0;        // seconds
  float length = 0.1f;    // seconds
  float from_hz = 440;    // pitch at the start ...
  float to_hz = 440;      // ... sliding to this at the end (exponentially)
  float volume = 0.5f;
  float attack = 0.004f;  // seconds to full volume
  float decay = 1.0f;     // seconds for the volume to fall to a third
  float duty = 0.5f;      // square waves: part of the cycle that is high
  float vibrato = 0.0f;   // depth, as a fraction of the pitch, at 6 Hz
};

struct Mix {
  std::vector<float> samples;
  bool wraps = false;  // a loop: what runs past the end comes in at the start
};

Mix silence(float seconds, bool wraps = false);
void add_note(Mix &mix, const Note &note);
// Pitch of a MIDI note number (69 is A 440).
float midi_hz(int note);
// Scales the mix so its loudest point is `peak` of full scale, as 16-bit.
Sample16 finish(const Mix &mix, float peak);
