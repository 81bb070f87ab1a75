// The sound effects: short synthesised blips, zaps, chimes and explosions.
#include "data/sound/sounds.h"
#include "data/sound/synth.h"

#include <vector>

namespace {

using Notes = std::vector<Note>;

Sample16 render(float seconds, const Notes &notes, float peak) {
  Mix mix = silence(seconds);
  for (const Note &n : notes) add_note(mix, n);
  return finish(mix, peak);
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

Notes operator+(Notes a, const Notes &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Sample16 enemy_destroyed() {
  return render(0.55f, {{Wave::Noise, 0, 0.55f, 6000, 400, 0.9f, 0.002f, 0.16f},
                        {Wave::Sine, 0, 0.3f, 150, 40, 0.8f, 0.002f, 0.12f}},
                0.85f);
}

Sample16 big_explosion() {
  return render(1.0f, {{Wave::Noise, 0, 1.0f, 3000, 150, 0.9f, 0.002f, 0.32f},
                       {Wave::Square, 0, 0.7f, 110, 30, 0.4f, 0.002f, 0.25f, 0.5f},
                       {Wave::Sine, 0, 0.5f, 90, 35, 0.8f, 0.002f, 0.2f}},
                0.88f);
}

Sample16 clink() {
  return render(0.16f, {{Wave::Triangle, 0, 0.16f, 1900, 1300, 0.7f, 0.001f, 0.05f},
                        {Wave::Square, 0, 0.1f, 2850, 2700, 0.15f, 0.001f, 0.03f, 0.3f},
                        {Wave::Noise, 0, 0.04f, 9000, 9000, 0.3f, 0.001f, 0.015f}},
                0.75f);
}

Sample16 enemy_hit() {
  return render(0.12f, {{Wave::Square, 0, 0.12f, 900, 250, 0.6f, 0.001f, 0.05f, 0.3f},
                        {Wave::Noise, 0, 0.05f, 5000, 2000, 0.4f, 0.001f, 0.02f}},
                0.7f);
}

Sample16 menu_click() {
  return render(0.05f, {{Wave::Square, 0, 0.05f, 1200, 1100, 0.6f, 0.001f, 0.02f, 0.4f}}, 0.55f);
}

Sample16 capsule_released() {
  return render(0.36f, run(Wave::Sine, {76, 81, 88}, 0.07f, 0.2f, 0.6f, 0.1f) +
                           run(Wave::Triangle, {64, 69, 76}, 0.07f, 0.2f, 0.3f, 0.1f),
                0.7f);
}

Sample16 firepower() {
  return render(0.45f, run(Wave::Square, {72, 76, 79, 84, 88}, 0.06f, 0.15f, 0.4f, 0.08f, 0.25f), 0.75f);
}

Sample16 extra_life() {
  return render(1.0f, run(Wave::Square, {67, 72, 76}, 0.11f, 0.12f, 0.4f, 0.2f, 0.5f) +
                          Notes{{Wave::Square, 0.33f, 0.65f, midi_hz(79), midi_hz(79), 0.45f, 0.005f, 0.5f, 0.5f, 0.006f},
                                {Wave::Triangle, 0.33f, 0.65f, midi_hz(67), midi_hz(67), 0.5f, 0.005f, 0.5f},
                                {Wave::Triangle, 0.33f, 0.65f, midi_hz(76), midi_hz(76), 0.3f, 0.005f, 0.5f}},
                0.8f);
}

Sample16 score_bonus() {
  return render(0.4f, {{Wave::Square, 0, 0.07f, midi_hz(83), midi_hz(83), 0.4f, 0.002f, 0.1f},
                       {Wave::Square, 0.07f, 0.33f, midi_hz(88), midi_hz(88), 0.4f, 0.002f, 0.15f}},
                0.7f);
}

Sample16 big_score_bonus() {
  return render(0.7f, Notes{{Wave::Square, 0, 0.07f, midi_hz(83), midi_hz(83), 0.4f, 0.002f, 0.1f},
                            {Wave::Square, 0.07f, 0.15f, midi_hz(88), midi_hz(88), 0.4f, 0.002f, 0.15f}} +
                          run(Wave::Square, {88, 92, 95, 100}, 0.07f, 0.25f, 0.35f, 0.12f, 0.25f, 0.22f),
                0.75f);
}

Sample16 reverse_control() {
  return render(0.6f, {{Wave::Square, 0, 0.6f, 700, 250, 0.5f, 0.003f, 0.3f, 0.5f, 0.12f},
                       {Wave::Triangle, 0, 0.6f, 350, 125, 0.4f, 0.003f, 0.3f, 0.5f, 0.12f}},
                0.75f);
}

Sample16 ship_degrader() {
  return render(0.7f, {{Wave::Saw, 0, 0.7f, 420, 70, 0.6f, 0.003f, 0.3f},
                       {Wave::Saw, 0, 0.7f, 428, 72, 0.4f, 0.003f, 0.3f},
                       {Wave::Noise, 0, 0.3f, 1500, 400, 0.2f, 0.003f, 0.12f}},
                0.75f);
}

Sample16 speed_increase() {
  return render(0.4f, {{Wave::Square, 0, 0.4f, 300, 1600, 0.5f, 0.003f, 0.3f, 0.25f, 0.02f},
                       {Wave::Triangle, 0, 0.4f, 150, 800, 0.3f, 0.003f, 0.3f}},
                0.75f);
}

Sample16 time_freeze() {
  Notes chimes = run(Wave::Sine, {91, 96, 100, 103}, 0.09f, 0.6f, 0.4f, 0.3f);
  return render(0.95f, chimes + Notes{{Wave::Triangle, 0, 0.9f, 1760, 1760, 0.15f, 0.05f, 0.5f, 0.5f, 0.03f}}, 0.7f);
}

Sample16 rock_shield() {
  return render(0.6f, Notes{{Wave::Sine, 0, 0.35f, 110, 45, 0.9f, 0.002f, 0.15f}} +
                          run(Wave::Triangle, {48, 55, 60}, 0.03f, 0.5f, 0.35f, 0.25f),
                0.8f);
}

Sample16 weapon() {
  return render(0.5f, Notes{{Wave::Saw, 0, 0.25f, 200, 900, 0.45f, 0.003f, 0.3f},
                            {Wave::Square, 0.25f, 0.25f, midi_hz(72), midi_hz(72), 0.35f, 0.002f, 0.15f, 0.3f},
                            {Wave::Square, 0.25f, 0.25f, midi_hz(79), midi_hz(79), 0.3f, 0.002f, 0.15f, 0.3f}},
                0.75f);
}

Sample16 volley() {
  return render(0.12f, {{Wave::Square, 0, 0.12f, 1500, 450, 0.5f, 0.001f, 0.05f, 0.25f},
                        {Wave::Noise, 0, 0.03f, 8000, 8000, 0.2f, 0.001f, 0.01f}},
                0.5f);
}

Sample16 spare() { return render(0.01f, {}, 0.0f); }

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
