// The sound effects: layered synthesis (filtered noise bursts and thumps for
// explosions, pitched sweeps for shots and pickups, one voice per bonus),
// each brought to the same loudness.
#include "data/sound/sounds.h"
#include "data/sound/synth.h"

#include <vector>

namespace {

using Notes = std::vector<Note>;

// Every effect is brought to this loudness (the volley a little below, as
// it plays many times a second).
constexpr float EFFECT_LOUDNESS = -12.0f;

Sample16 render(float seconds, const Notes &notes, float loudness = EFFECT_LOUDNESS) {
  Mix mix = silence(seconds);
  for (const Note &n : notes) add_note(mix, n);
  return finish_effect(mix, loudness);
}

// Notes one after another, each `step` seconds apart.
Notes run(Wave wave, std::vector<int> notes, float step, float length, float volume, float decay,
          float duty = 0.5f, float start = 0.0f) {
  Notes out;
  for (size_t i = 0; i < notes.size(); ++i) {
    float hz = midi_hz(notes[i]);
    out.push_back({wave, start + step * float(i), length, hz, hz, volume, 0.003f, decay, duty});
  }
  return out;
}

// The same notes again, later and softer: an echo.
Notes echo(const Notes &notes, float delay, float volume) {
  Notes out = notes;
  for (Note &n : out) n.start += delay, n.volume *= volume;
  return out;
}

Notes operator+(Notes a, const Notes &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A thump: a sine falling fast, the body of every explosion.
Note thump(float start, float from, float to, float volume, float decay) {
  return {Wave::Sine, start, decay * 4.0f, from, to, volume, 0.001f, decay};
}

// A noise burst whose brightness falls as it decays.
Note burst(float start, float length, float from, float to, float volume, float decay) {
  return {Wave::Noise, start, length, from, to, volume, 0.001f, decay};
}

Sample16 enemy_destroyed() {
  return render(0.6f, {burst(0, 0.6f, 7000, 250, 0.8f, 0.16f), thump(0, 160, 40, 0.9f, 0.08f),
                       {Wave::Hiss, 0, 0.05f, 4000, 4000, 0.4f, 0.001f, 0.02f},
                       burst(0.06f, 0.4f, 2500, 200, 0.35f, 0.12f)});
}

// The rock falling and the ship blown up: a long, deep, layered blast.
Sample16 big_explosion() {
  return render(1.1f, {burst(0, 1.1f, 4000, 120, 0.8f, 0.35f), thump(0, 110, 28, 1.0f, 0.16f),
                       burst(0.11f, 0.9f, 1800, 90, 0.5f, 0.3f),
                       {Wave::Square, 0, 0.5f, 70, 30, 0.12f, 0.002f, 0.15f, 0.5f},
                       {Wave::Hiss, 0, 0.08f, 3000, 3000, 0.35f, 0.001f, 0.03f}});
}

// Stone and metal: inharmonic partials that ring briefly.
Sample16 clink() {
  return render(0.2f, {{Wave::Sine, 0, 0.2f, 1900, 1750, 0.6f, 0.001f, 0.05f},
                       {Wave::Sine, 0, 0.15f, 2870, 2700, 0.35f, 0.001f, 0.035f},
                       {Wave::Sine, 0, 0.1f, 4130, 4000, 0.2f, 0.001f, 0.02f},
                       {Wave::Hiss, 0, 0.03f, 5000, 5000, 0.4f, 0.001f, 0.01f}});
}

Sample16 enemy_hit() {
  return render(0.13f, {{Wave::Square, 0, 0.13f, 1000, 260, 0.5f, 0.001f, 0.05f, 0.3f},
                        burst(0, 0.05f, 6000, 2000, 0.5f, 0.02f)});
}

Sample16 menu_click() {
  return render(0.06f, {{Wave::Sine, 0, 0.06f, 1320, 1250, 0.7f, 0.001f, 0.02f},
                        {Wave::Square, 0, 0.03f, 2640, 2500, 0.15f, 0.001f, 0.01f, 0.25f}});
}

// A capsule falls free: a sparkle rising.
Sample16 capsule_released() {
  Notes bell = run(Wave::Sine, {76, 81, 88}, 0.06f, 0.2f, 0.6f, 0.09f) +
               run(Wave::Triangle, {64, 69, 76}, 0.06f, 0.2f, 0.3f, 0.09f);
  return render(0.4f, bell + Notes{{Wave::Hiss, 0.1f, 0.25f, 6000, 9000, 0.12f, 0.02f, 0.1f}});
}

Sample16 firepower() {
  Notes up = run(Wave::Square, {72, 76, 79, 84, 88}, 0.05f, 0.12f, 0.4f, 0.07f, 0.25f);
  return render(0.5f, up + echo(up, 0.09f, 0.35f));
}

Sample16 extra_life() {
  return render(1.0f, run(Wave::Square, {67, 72, 76}, 0.11f, 0.12f, 0.4f, 0.2f, 0.5f) +
                          Notes{{Wave::Square, 0.33f, 0.65f, midi_hz(79), midi_hz(79), 0.45f, 0.005f, 0.5f, 0.5f, 0.006f},
                                {Wave::Triangle, 0.33f, 0.65f, midi_hz(67), midi_hz(67), 0.5f, 0.005f, 0.5f},
                                {Wave::Triangle, 0.33f, 0.65f, midi_hz(76), midi_hz(76), 0.3f, 0.005f, 0.5f}});
}

// A coin: two notes a fourth apart, with a bell an octave up.
Notes coin(float start) {
  return {{Wave::Square, start, 0.07f, midi_hz(83), midi_hz(83), 0.35f, 0.002f, 0.1f, 0.25f},
          {Wave::Square, start + 0.07f, 0.3f, midi_hz(88), midi_hz(88), 0.35f, 0.002f, 0.14f, 0.25f},
          {Wave::Sine, start + 0.07f, 0.3f, midi_hz(100), midi_hz(100), 0.2f, 0.002f, 0.1f}};
}

Sample16 score_bonus() { return render(0.4f, coin(0)); }

Sample16 big_score_bonus() {
  return render(0.75f, coin(0) + run(Wave::Square, {88, 92, 95, 100}, 0.06f, 0.25f, 0.3f, 0.12f, 0.25f, 0.2f) +
                           run(Wave::Sine, {100, 104, 107, 112}, 0.06f, 0.2f, 0.15f, 0.1f, 0.5f, 0.2f));
}

// Left is right: one voice falls while another rises, both wobbling.
Sample16 reverse_control() {
  return render(0.6f, {{Wave::Square, 0, 0.6f, 700, 250, 0.4f, 0.003f, 0.3f, 0.5f, 0.12f},
                       {Wave::Triangle, 0, 0.6f, 250, 700, 0.4f, 0.003f, 0.3f, 0.5f, 0.12f}});
}

// The ship loses power: detuned saws winding down, and a crunch.
Sample16 ship_degrader() {
  return render(0.7f, {{Wave::Saw, 0, 0.7f, 420, 70, 0.45f, 0.003f, 0.3f},
                       {Wave::Saw, 0, 0.7f, 428, 72, 0.35f, 0.003f, 0.3f},
                       burst(0, 0.3f, 1500, 300, 0.35f, 0.1f)});
}

Sample16 speed_increase() {
  return render(0.4f, {{Wave::Square, 0, 0.4f, 300, 1600, 0.4f, 0.003f, 0.3f, 0.25f, 0.02f},
                       {Wave::Triangle, 0, 0.4f, 150, 800, 0.3f, 0.003f, 0.3f},
                       {Wave::Hiss, 0, 0.35f, 2000, 7000, 0.15f, 0.05f, 0.2f}});
}

Sample16 time_freeze() {
  Notes chimes = run(Wave::Sine, {91, 96, 100, 103}, 0.09f, 0.6f, 0.4f, 0.3f);
  return render(0.95f, chimes + echo(chimes, 0.14f, 0.3f) +
                           Notes{{Wave::Triangle, 0, 0.9f, 1760, 1760, 0.12f, 0.05f, 0.5f, 0.5f, 0.03f}});
}

// Rocks rise: a deep thud, rumbling stone and a low chord.
Sample16 rock_shield() {
  return render(0.65f, Notes{thump(0, 110, 45, 0.8f, 0.1f), burst(0, 0.4f, 900, 200, 0.35f, 0.15f)} +
                           run(Wave::Triangle, {48, 55, 60}, 0.03f, 0.55f, 0.35f, 0.25f));
}

Sample16 weapon() {
  return render(0.5f, Notes{{Wave::Saw, 0, 0.22f, 200, 900, 0.4f, 0.003f, 0.3f},
                            {Wave::Square, 0.22f, 0.28f, midi_hz(72), midi_hz(72), 0.3f, 0.002f, 0.15f, 0.3f},
                            {Wave::Square, 0.22f, 0.28f, midi_hz(79), midi_hz(79), 0.25f, 0.002f, 0.15f, 0.3f},
                            {Wave::Sine, 0.22f, 0.28f, midi_hz(84), midi_hz(84), 0.2f, 0.002f, 0.15f}});
}

Sample16 volley() {
  return render(0.12f, {{Wave::Square, 0, 0.12f, 1500, 450, 0.5f, 0.001f, 0.05f, 0.25f},
                        {Wave::Hiss, 0, 0.025f, 6000, 6000, 0.25f, 0.001f, 0.01f}},
                EFFECT_LOUDNESS - 3.0f);
}

Sample16 spare() { return render(0.01f, {}); }

struct SoundObject {
  const char *name;
  Sample16 (*make)();
};

// In object order. Object 6 is not used by the game.
const SoundObject sound_objects[SOUND_OBJECTS] = {
    {"ENEMY_DESTROYED", enemy_destroyed},
    {"ROCK_FALLS", big_explosion},
    {"ROCK_HIT", clink},
    {"ENEMY_HIT", enemy_hit},
    {"MENU_CLICK", menu_click},
    {"CAPSULE_RELEASED", capsule_released},
    {"SPARE_6", spare},
    {"TUNE", background_tune},
    {"GAME_OVER_TUNE", game_over_tune},
    {"FIREPOWER", firepower},
    {"EXTRA_LIFE", extra_life},
    {"SCORE_BONUS", score_bonus},
    {"BIG_SCORE_BONUS", big_score_bonus},
    {"REVERSE_CONTROL", reverse_control},
    {"SHIP_DEGRADER", ship_degrader},
    {"SPEED_INCREASE", speed_increase},
    {"TIME_FREEZE", time_freeze},
    {"ROCK_SHIELD", rock_shield},
    {"WEAPON", weapon},
    {"VOLLEY", volley},
};

}  // namespace

Sample16 sound_sample(int object) { return sound_objects[object].make(); }
std::string sound_name(int object) { return sound_objects[object].name; }
