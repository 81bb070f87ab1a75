#include "platform/sound_periods.h"

#include "platform/alsa_messages.h"
#include "platform/background_thread.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Frames a period and periods in the buffer: at the mixer's 44.1 kHz,
// 5.8 ms periods and 23 ms of buffer. The driver mixes a period ahead of
// the one it writes and writes when a period's room is free, so a sample
// played now leaves the card about four periods later on average, and a
// wakeup of the background thread may come two periods late before the
// card runs dry.
constexpr int PERIOD_FRAMES = 256;
constexpr int PERIODS = 4;

bool user_sets(const char *name) { return get_config_string("sound", name, nullptr) != nullptr; }

void choose_periods() {
  std::string overrides = "[sound]\n";
  if (!user_sets("alsa_fragsize")) overrides += "alsa_fragsize = " + std::to_string(PERIOD_FRAMES) + "\n";
  if (!user_sets("alsa_numfrags")) overrides += "alsa_numfrags = " + std::to_string(PERIODS) + "\n";
  override_config_data(overrides.c_str(), static_cast<int>(overrides.size()));
}

long long period_ns(long long frames, long long rate) {
  return frames > 0 && rate > 0 ? frames * 1'000'000'000LL / rate : 0;
}

// Without a sound device the game plays on silently, and says so once, in
// place of the libraries' lines.
void tell_if_silent(const std::string &alsa_complaint) {
  if (digi_driver && digi_driver->id != DIGI_NONE) return;
  std::string why = !alsa_complaint.empty() ? "ALSA: " + alsa_complaint
                    : *allegro_error        ? std::string(allegro_error)
                                            : std::string("no sound driver found");
  std::fprintf(stderr, "swarmfire: no sound (%s); playing silently\n", why.c_str());
}

}  // namespace

bool library_defaults_asked() {
  const char *asked = std::getenv("SWARMFIRE_LIBRARY_DEFAULTS");
  return asked && *asked && std::string(asked) != "0";
}

// The driver may write its first period while it starts, so the period
// asked for is told to the thread before, and the one it got after.
void start_sound() {
  if (!library_defaults_asked()) choose_periods();
  background_thread_set_sound_period(
      period_ns(get_config_int("sound", "alsa_fragsize", 0), get_config_int("sound", "sound_freq", 44100)));
  background_thread_sound_starting(true);
  alsa_messages_keep();
  install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
  tell_if_silent(alsa_messages_taken());
  background_thread_sound_starting(false);
  background_thread_set_sound_period(period_ns(get_mixer_buffer_length(), get_mixer_frequency()));
}
