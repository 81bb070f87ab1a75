// The two tunes: the background tune (bass, lead, percussion), which loops
// without a seam, and the game-over cadence. Written as bars of notes,
// sixteenths as the unit.
#include "data/sound/sounds.h"
#include "data/sound/synth.h"

#include "data/art/canvas.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

// 147 beats a minute: a sixteenth is exactly 2250 samples. Three sections
// of eight bars (theme, answer, bridge): 39 seconds before it repeats.
constexpr float SIXTEENTH = 2250.0f / RATE;
constexpr int BARS = 24;
constexpr int SECTION_BARS = 8;

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
    Dm{50, 53, 57}, Em{52, 55, 59};
const Chord chords[BARS] = {Am, F, C, G, Am, F, G, E,   // theme
                            Dm, Am, F, E, Dm, Am, E, E,  // answer
                            F, G, Em, Am, F, G, E, E};   // bridge

// The melody, one bar per line: note:length in sixteenths.
const char *const melody[BARS] = {
    "E5:4 A5:4 G5:2 E5:2 C5:4", "F5:4 E5:2 C5:2 A4:8",       "G4:2 C5:2 E5:4 G5:4 E5:4",
    "D5:4 B4:4 G4:4 B4:4",       "E5:4 A5:4 B5:2 C6:2 B5:4",  "A5:4 G5:2 F5:2 E5:8",
    "D5:2 E5:2 G5:4 B5:4 D6:4",  "B5:4 G#5:4 E5:4 -:4",       "D5:4 F5:4 A5:6 G5:2",
    "E5:8 C5:4 E5:4",            "F5:4 A5:4 C6:4 A5:4",       "G#5:8 B5:4 G#5:4",
    "A5:4 F5:2 D5:2 F5:4 A5:4",  "C6:6 B5:2 A5:8",            "G#5:4 B5:4 E6:4 D6:4",
    "B5:4 G#5:4 E5:2 F5:2 G#5:4",
    "A5:6 G5:2 F5:4 C5:4",       "D5:4 G5:4 B5:6 A5:2",       "G5:4 E5:4 B4:4 E5:4",
    "C6:8 B5:4 A5:4",            "F5:2 A5:2 C6:4 A5:2 F5:2 C5:4", "D5:2 G5:2 B5:4 D6:4 B5:4",
    "G#5:4 B5:4 E6:8",           "D6:4 B5:4 G#5:2 E5:2 B4:4",
};

float step_time(int bar, int step) { return (bar * 16 + step) * SIXTEENTH; }
int section_of(int bar) { return bar / SECTION_BARS; }

// The lead: a square voice (thinner in the bridge) with an echo three
// sixteenths later.
void add_melody(Mix &mix) {
  for (int bar = 0; bar < BARS; ++bar) {
    std::istringstream in(melody[bar]);
    std::string token;
    int step = 0;
    float duty = section_of(bar) == 2 ? 0.25f : 0.5f;
    while (in >> token) {
      size_t colon = token.find(':');
      int length = std::stoi(token.substr(colon + 1));
      int note = note_number(token.substr(0, colon));
      if (note >= 0) {
        float hz = midi_hz(note);
        Note lead{Wave::Square, step_time(bar, step), length * SIXTEENTH * 0.95f, hz, hz, 0.2f,
                  0.005f, 0.25f + 0.05f * length, duty, 0.004f};
        add_note(mix, lead);
        lead.start += 3 * SIXTEENTH, lead.volume *= 0.3f;
        add_note(mix, lead);
      }
      step += length;
    }
    if (step != 16) art_error("bar " + std::to_string(bar) + " of the tune is not 16 sixteenths");
  }
}

void add_bass(Mix &mix, int bar, const Chord &c) {
  // Eighths of root and octave; the bridge pushes on 3-3-2.
  static const bool push[16] = {1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 1, 0};
  for (int step = 0; step < 16; ++step) {
    bool bridge = section_of(bar) == 2;
    if (bridge ? !push[step] : step % 2 != 0) continue;
    float hz = midi_hz(c.root - 24 + (!bridge && step % 4 == 2 ? 12 : 0));
    float length = SIXTEENTH * (bridge ? 2.8f : 1.9f);
    add_note(mix, {Wave::Triangle, step_time(bar, step), length, hz, hz, 0.5f, 0.003f, 0.3f});
    add_note(mix, {Wave::Square, step_time(bar, step), length, hz, hz, 0.06f, 0.003f, 0.2f, 0.5f});
  }
}

// Arpeggios in the theme and the answer, a held chord in the bridge.
void add_harmony(Mix &mix, int bar, const Chord &c) {
  const int tones[4] = {c.root, c.third, c.fifth, c.third};
  if (section_of(bar) == 2) {
    for (int tone : {c.root, c.third, c.fifth}) {
      float hz = midi_hz(tone + 12);
      add_note(mix, {Wave::Triangle, step_time(bar, 0), 16 * SIXTEENTH, hz, hz, 0.07f, 0.08f, 1.5f, 0.5f, 0.003f});
    }
    return;
  }
  for (int step = 0; step < 16; ++step) {
    float arp = midi_hz(tones[step % 4] + 12);
    add_note(mix, {Wave::Square, step_time(bar, step), SIXTEENTH * 0.9f, arp, arp, 0.06f, 0.002f, 0.06f, 0.25f});
  }
}

void kick(Mix &mix, float t) { add_note(mix, {Wave::Sine, t, 0.18f, 150, 42, 0.75f, 0.001f, 0.08f}); }
void snare(Mix &mix, float t, float volume) {
  add_note(mix, {Wave::Noise, t, 0.15f, 6000, 2500, 0.32f * volume, 0.001f, 0.06f});
  add_note(mix, {Wave::Sine, t, 0.08f, 200, 150, 0.25f * volume, 0.001f, 0.04f});
}
void hat(Mix &mix, float t, float volume, float length) {
  add_note(mix, {Wave::Hiss, t, length, 7000, 7000, volume, 0.001f, length * 0.4f});
}

// Kick on 1 and 3, snare on 2 and 4, hats on the eighths (open on the
// off-beats in the answer), and a snare fill into the next section.
void add_drums(Mix &mix, int bar) {
  bool fill = bar % SECTION_BARS == SECTION_BARS - 1;
  for (int step = 0; step < 16; ++step) {
    float t = step_time(bar, step);
    if (step == 0 || step == 8 || (step == 10 && bar % 2 == 1)) kick(mix, t);
    if (step == 4 || step == 12) snare(mix, t, 1.0f);
    if (fill && step >= 13) snare(mix, t, 0.6f);
    if (step % 2 == 0) {
      bool open = section_of(bar) == 1 && step % 4 == 2;
      hat(mix, t, open ? 0.1f : 0.07f, open ? 0.12f : 0.03f);
    }
  }
}

}  // namespace

Sample16 background_tune() {
  Mix mix = silence(BARS * 16 * SIXTEENTH, true);
  mix.samples.resize(size_t(BARS * 16 * 2250));
  for (int bar = 0; bar < BARS; ++bar) {
    add_bass(mix, bar, chords[bar]);
    add_harmony(mix, bar, chords[bar]);
    add_drums(mix, bar);
  }
  add_melody(mix);
  return finish_tune(mix, 0.85f);
}

// A closing cadence, slower: D minor, E, and A minor held to silence.
Sample16 game_over_tune() {
  Mix mix = silence(4.2f);
  struct Step {
    const char *note;
    float start, length;
  };
  const Step lead[] = {{"A4", 0.0f, 0.44f}, {"F4", 0.45f, 0.44f}, {"G#4", 0.9f, 0.44f},
                       {"B4", 1.35f, 0.44f}, {"A4", 1.8f, 2.3f}};
  for (const Step &s : lead) {
    float hz = midi_hz(note_number(s.note));
    add_note(mix, {Wave::Square, s.start, s.length, hz, hz, 0.28f, 0.01f, 0.7f, 0.35f, 0.006f});
    add_note(mix, {Wave::Triangle, s.start, s.length, hz * 2, hz * 2, 0.08f, 0.01f, 0.6f});
  }
  const Step chord_tones[] = {{"D4", 0.0f, 0.9f},  {"F4", 0.0f, 0.9f},  {"E4", 0.9f, 0.9f},
                              {"G#4", 0.9f, 0.9f}, {"C5", 1.8f, 2.3f},  {"E5", 1.8f, 2.3f}};
  for (const Step &s : chord_tones) {
    float hz = midi_hz(note_number(s.note));
    add_note(mix, {Wave::Triangle, s.start, s.length, hz, hz, 0.12f, 0.03f, 0.8f});
  }
  const Step bass[] = {{"D2", 0.0f, 0.9f}, {"E2", 0.9f, 0.9f}, {"A1", 1.8f, 2.3f}, {"A2", 1.8f, 2.3f}};
  for (const Step &s : bass) {
    float hz = midi_hz(note_number(s.note));
    add_note(mix, {Wave::Triangle, s.start, s.length, hz, hz, 0.45f, 0.01f, 0.9f});
  }
  add_note(mix, {Wave::Noise, 1.8f, 1.2f, 1200, 200, 0.15f, 0.002f, 0.3f});  // a soft cymbal on the last chord
  return finish_effect(mix, -14.0f);
}
