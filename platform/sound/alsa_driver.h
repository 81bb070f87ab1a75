// The game's own ALSA driver for the library's sound mixer, tried before
// the library's own. It keeps the card's buffer full, starts the stream
// only once it is full, and runs on a thread of its own at real-time
// priority where the system grants it (platform/sound/realtime.h), which sleeps
// until the card itself says it has room for a few periods. After an underrun the buffer
// grows by a period, and after a quiet minute it shrinks back by one
// (platform/sound/sound_fill.h).
//
// The player's ~/.allegrorc picks the device ([sound] alsa_device), the
// period (alsa_fragsize, in frames) and the periods in the buffer at rest
// (alsa_numfrags); digi_card = ALSA picks the library's own driver.
// SWARMFIRE_SOUND_LOG=FILE appends what the driver did, a line each, times
// in ns on CLOCK_MONOTONIC:
//   realtime direct|realtimekit|none   how the thread got its priority
//   params PERIOD_FRAMES BUFFER_FRAMES  the card's, as it took them
//   wake FRAMES 0          the room free before the thread wakes to fill it
//   start NS FRAMES        the stream started with its buffer full
//   underrun NS PERIODS    it ran dry; the buffer's periods from now on
//   shrink NS PERIODS      a quiet minute; the buffer's periods from now on
//   lost NS 0              the card is gone; silence from then on
#pragma once

// The driver's identifier in the library's configuration (digi_card).
constexpr int SOUND_DRIVER_ID = ('S' << 24) | ('F' << 16) | ('A' << 8) | 'L';

// Puts the driver first in the library's list; call before install_sound.
void alsa_driver_register();
