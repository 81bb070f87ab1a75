// The start of the sound: the game's own driver (platform/sound/alsa_driver.h)
// first, the library's drivers after it.
#pragma once

// install_sound, the game's driver tried first; should it fail to start on
// a device it found, the library's own ALSA driver, serviced by the
// background thread once a period. Without a device the game says so in
// one line and plays silently. SWARMFIRE_LIBRARY_DEFAULTS set leaves the
// library's drivers alone (sys/background_thread.h).
void start_sound();
