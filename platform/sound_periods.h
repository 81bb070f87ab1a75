// The sound card's periods, chosen so that a shot is heard soon after the
// key that fired it, and the sound driver serviced as often as they need.
#pragma once

// install_sound with our period size and count, through the library's
// configuration overrides (nothing is written anywhere), for each of the
// two the player's own configuration (~/.allegrorc, $ALLEGRO/allegro.cfg,
// allegro.cfg beside the program) leaves unset; then the background
// thread services the driver a little more often than a period plays.
// SWARMFIRE_LIBRARY_DEFAULTS set leaves the library's own sizes.
void start_sound();

// Whether SWARMFIRE_LIBRARY_DEFAULTS asks for the library's own background
// thread and sound periods, as the game had them before (for comparisons).
bool library_defaults_asked();
