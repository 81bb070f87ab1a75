// Windows: the library's own mixer, through DirectSound (or WaveOut). The
// game plays no MIDI.
#include "platform/sound/sound_start.h"

#include <allegro.h>

#include <cstdio>

void start_sound() {
  if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0 && digi_driver && digi_driver->id != DIGI_NONE) return;
  std::fprintf(stderr, "swarmfire: no sound (%s); playing silently\n",
               *allegro_error ? allegro_error : "no sound driver found");
}
