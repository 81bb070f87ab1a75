#include "platform/sound/sound_start.h"

#include "platform/sound/alsa_driver.h"
#include "platform/sound/alsa_messages.h"
#include "platform/sys/background_thread.h"
#include "platform/sys/monotonic_clock.h"

#include <allegro.h>

#include <cstdio>
#include <string>

namespace {

long long period_ns(long long frames, long long rate) {
  return frames > 0 && rate > 0 ? frames * NS_PER_SECOND / rate : 0;
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

// The library's driver may write its first period while it starts, so the
// thread is told its period before, and the one it got after.
void start_sound() {
  bool ours = !library_defaults_asked();
  if (ours) alsa_driver_register();
  background_thread_set_sound_period(
      period_ns(get_config_int("sound", "alsa_fragsize", 0), get_config_int("sound", "sound_freq", 44100)));
  background_thread_sound_starting(true);
  alsa_messages_keep();
  if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, "") != 0 && ours && digi_card == SOUND_DRIVER_ID)
    install_sound(DIGI_ALSA, MIDI_AUTODETECT, "");
  tell_if_silent(alsa_messages_taken());
  background_thread_sound_starting(false);
  background_thread_set_sound_period(period_ns(get_mixer_buffer_length(), get_mixer_frequency()));
}
