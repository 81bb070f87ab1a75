#include "platform/sound_periods.h"

#include "platform/background_thread.h"

#include <allegro.h>

#include <cstdlib>
#include <string>

namespace {

// Frames a period and periods in the buffer: at the mixer's 44.1 kHz,
// 7.3 ms periods and 22 ms of buffer. The driver mixes one period ahead of
// the one it writes, so a sample reaches the card within about 1.5 periods
// and leaves it up to two periods later.
constexpr int PERIOD_FRAMES = 320;
constexpr int PERIODS = 3;

// The driver writes at most one period each time it runs, so it runs a
// tenth more often than periods play (room for a card whose clock runs a
// little fast), and never less often than the library's thread ran it.
constexpr long long LONGEST_INTERVAL_NS = 10'000'000;

bool user_sets(const char *name) { return get_config_string("sound", name, nullptr) != nullptr; }

void choose_periods() {
  std::string overrides = "[sound]\n";
  if (!user_sets("alsa_fragsize")) overrides += "alsa_fragsize = " + std::to_string(PERIOD_FRAMES) + "\n";
  if (!user_sets("alsa_numfrags")) overrides += "alsa_numfrags = " + std::to_string(PERIODS) + "\n";
  override_config_data(overrides.c_str(), static_cast<int>(overrides.size()));
}

long long service_interval(long long frames, long long rate) {
  if (frames <= 0 || rate <= 0) return LONGEST_INTERVAL_NS;
  long long interval = frames * 1'000'000'000LL / rate * 9 / 10;
  return interval < LONGEST_INTERVAL_NS ? interval : LONGEST_INTERVAL_NS;
}

}  // namespace

bool library_defaults_asked() {
  const char *asked = std::getenv("SWARMFIRE_LIBRARY_DEFAULTS");
  return asked && *asked && std::string(asked) != "0";
}

// The driver may write its first period while it starts, so the interval
// asked for is set before, and the one it got after.
void start_sound() {
  if (!library_defaults_asked()) choose_periods();
  background_thread_set_sound_interval(
      service_interval(get_config_int("sound", "alsa_fragsize", 0), get_config_int("sound", "sound_freq", 44100)));
  background_thread_sound_starting(true);
  install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "");
  background_thread_sound_starting(false);
  background_thread_set_sound_interval(service_interval(get_mixer_buffer_length(), get_mixer_frequency()));
}
