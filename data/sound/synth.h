// A small synthesiser for the game's sounds: notes of a few wave shapes
// with pitch sweeps and decaying envelopes, mixed into a buffer of floats
// and finished into 16-bit samples. Square and saw waves are band-limited
// (no aliasing whistle at high pitches); noise is white noise through a
// filter whose cutoff follows the note's pitch sweep. No randomness but a
// fixed noise sequence, so every build makes the same sounds.
#pragma once

#include "data/dat_writer.h"

#include <vector>

constexpr int RATE = 22050;

// Noise is low-passed at the note's pitch; Hiss is high-passed there.
enum class Wave { Square, Triangle, Saw, Sine, Noise, Hiss };

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

// Loudness of a sound: the RMS level of its loudest 50 ms, in dB of full
// scale. The effects are all brought to about the same loudness.
constexpr int LOUDNESS_WINDOW = RATE / 20;
double loudness_db(const std::vector<float> &samples);

// An effect: no DC offset, silent at both ends (short fades), brought to
// `loudness` dBFS unless that would put its peak above -1 dBFS.
Sample16 finish_effect(Mix mix, float loudness);
// A tune: no DC offset, peak at `peak` of full scale. A looping tune keeps
// its ends as they are, so that the loop stays seamless.
Sample16 finish_tune(Mix mix, float peak);

// The highest peak any sample may have: -1 dBFS.
constexpr float PEAK_LIMIT = 0.891f;
