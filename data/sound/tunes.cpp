// The two tunes: the background tune, which loops without a seam, and the
// game-over tune. Written as bars of notes, sixteenths as the unit.
#include "data/sound/sounds.h"
#include "data/sound/synth.h"

#include "data/art/canvas.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

// 147 beats a minute: a sixteenth is exactly 2250 samples.
constexpr float SIXTEENTH = 2250.0f / RATE;
constexpr int BARS = 16;

// Note names to MIDI numbers: "A4", "G#5", "-" for a rest (returns -1).
int note_number(const std::string &name) {
  if (name == "-") return -1;
  static const int letters[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  int n = letters[name[0] - 'A'];
  size_t i = 1;
  if (i < name.size() && name[i] == '#') ++n, ++i;
  return n + 12 * (std::stoi(name.substr(i)) + 1);
}

struct Chord {
  int root;  // MIDI number of the root, octave 3
  int third, fifth;
};
constexpr Chord Am{57, 60, 64}, F{53, 57, 60}, C{48, 52, 55}, G{55, 59, 62}, E{52, 56, 59},
    Dm{50, 53, 57};
const Chord chords[BARS] = {Am, F, C, G, Am, F, G, E, Dm, Am, F, E, Dm, Am, E, E};

// The melody, one bar per line: note:length in sixteenths.
const char *const melody[BARS] = {
    "E5:4 A5:4 G5:2 E5:2 C5:4", "F5:4 E5:2 C5:2 A4:8",       "G4:2 C5:2 E5:4 G5:4 E5:4",
    "D5:4 B4:4 G4:4 B4:4",       "E5:4 A5:4 B5:2 C6:2 B5:4",  "A5:4 G5:2 F5:2 E5:8",
    "D5:2 E5:2 G5:4 B5:4 D6:4",  "B5:4 G#5:4 E5:4 -:4",       "D5:4 F5:4 A5:6 G5:2",
    "E5:8 C5:4 E5:4",            "F5:4 A5:4 C6:4 A5:4",       "G#5:8 B5:4 G#5:4",
    "A5:4 F5:2 D5:2 F5:4 A5:4",  "C6:6 B5:2 A5:8",            "G#5:4 B5:4 E6:4 D6:4",
    "B5:4 G#5:4 E5:2 F5:2 G#5:4",
};

float step_time(int bar, int step) { return (bar * 16 + step) * SIXTEENTH; }

void add_melody(Mix &mix) {
  for (int bar = 0; bar < BARS; ++bar) {
    std::istringstream in(melody[bar]);
    std::string token;
    int step = 0;
    while (in >> token) {
      size_t colon = token.find(':');
      int length = std::stoi(token.substr(colon + 1));
      int note = note_number(token.substr(0, colon));
      if (note >= 0) {
        float hz = midi_hz(note);
        add_note(mix, {Wave::Square, step_time(bar, step), length * SIXTEENTH * 0.95f, hz, hz, 0.22f,
                       0.005f, 0.25f + 0.05f * length, 0.5f, 0.004f});
      }
      step += length;
    }
    if (step != 16) art_error("bar " + std::to_string(bar) + " of the tune is not 16 sixteenths");
  }
}

void add_backing(Mix &mix) {
  for (int bar = 0; bar < BARS; ++bar) {
    const Chord &c = chords[bar];
    const int tones[4] = {c.root, c.third, c.fifth, c.third};
    for (int step = 0; step < 16; ++step) {
      float t = step_time(bar, step);
      // Bass in eighths, root and octave.
      if (step % 2 == 0) {
        float hz = midi_hz(c.root - 24 + (step % 4 == 2 ? 12 : 0));
        add_note(mix, {Wave::Triangle, t, SIXTEENTH * 1.9f, hz, hz, 0.45f, 0.003f, 0.25f});
      }
      // Arpeggio in sixteenths, an octave up.
      float arp = midi_hz(tones[step % 4] + 12);
      add_note(mix, {Wave::Square, t, SIXTEENTH * 0.9f, arp, arp, 0.07f, 0.002f, 0.06f, 0.25f});
      // Drums: kick on the beats 1 and 3, snare on 2 and 4, hats on eighths.
      if (step == 0 || step == 8 || (step == 10 && bar % 2 == 1))
        add_note(mix, {Wave::Sine, t, 0.16f, 140, 45, 0.7f, 0.001f, 0.07f});
      if (step == 4 || step == 12)
        add_note(mix, {Wave::Noise, t, 0.14f, 7000, 3000, 0.3f, 0.001f, 0.06f});
      if (step % 2 == 0)
        add_note(mix, {Wave::Noise, t, 0.03f, 11000, 11000, 0.07f, 0.001f, 0.012f});
    }
  }
}

}  // namespace

Sample16 background_tune() {
  Mix mix = silence(BARS * 16 * SIXTEENTH, true);
  mix.samples.resize(size_t(BARS * 16 * 2250));
  add_backing(mix);
  add_melody(mix);
  return finish(mix, 0.8f);
}

Sample16 game_over_tune() {
  Mix mix = silence(4.4f);
  struct Step {
    const char *note;
    float start, length;
  };
  const Step lead[] = {{"A4", 0.0f, 0.38f},  {"G4", 0.4f, 0.38f},  {"F4", 0.8f, 0.38f},
                       {"E4", 1.2f, 0.75f},  {"D4", 2.0f, 0.28f},  {"C4", 2.3f, 0.28f},
                       {"B3", 2.6f, 0.28f},  {"A3", 2.9f, 1.45f}};
  for (const Step &s : lead) {
    float hz = midi_hz(note_number(s.note));
    add_note(mix, {Wave::Square, s.start, s.length, hz, hz, 0.3f, 0.01f, 0.6f, 0.35f, 0.006f});
    add_note(mix, {Wave::Triangle, s.start, s.length, hz / 2, hz / 2, 0.2f, 0.01f, 0.6f});
  }
  const Step bass[] = {{"A2", 0.0f, 1.2f}, {"E2", 1.2f, 0.8f}, {"F2", 2.0f, 0.9f}, {"A2", 2.9f, 1.45f}};
  for (const Step &s : bass) {
    float hz = midi_hz(note_number(s.note));
    add_note(mix, {Wave::Triangle, s.start, s.length, hz, hz, 0.5f, 0.01f, 0.9f});
  }
  for (const char *n : {"C4", "E4"}) {
    float hz = midi_hz(note_number(n));
    add_note(mix, {Wave::Triangle, 2.9f, 1.45f, hz, hz, 0.15f, 0.05f, 0.8f});
  }
  return finish(mix, 0.8f);
}
