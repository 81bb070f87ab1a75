// The library's background thread (the one that runs the X input handler
// and the sound driver's update) replaced by one of ours, through the
// library's own table of thread functions, so that it sleeps between its
// work instead of waking every millisecond.
//
// Every registered function keeps a schedule of its own on the monotonic
// clock, and the thread sleeps on absolute deadlines: the sound driver's
// functions (those registered while install_sound runs) once a period of
// the card, the others (the X input handler) on a 10 ms grid, each in the
// sound driver's wakeup that falls within 4 ms of its deadline rather than
// in one of its own; the sound driver's first in every wakeup. (The real
// platform gives the others to its main thread: see
// background_thread_leave_input.) As with the
// library's thread, functions run only while interrupts are enabled
// (disable_interrupts nests, and waits for a pass already running), one at
// a time, with `threaded` 1.
#pragma once

// Puts our functions into the library's table; call before install_allegro.
// Should the thread fail to start, the library's own takes over.
void background_thread_take_over();

// Brackets install_sound: functions registered meanwhile are the sound
// driver's.
void background_thread_sound_starting(bool starting);

// The sound card's period, in ns: the driver's functions run once a period
// (at least every 10 ms), and once more for each period played since they
// last ran, as the driver writes at most a period each time.
void background_thread_set_sound_period(long long ns);

// From now on the thread runs the sound driver's functions alone: the main
// thread reads the X connection itself, at its waits, as events come.
void background_thread_leave_input();

// Whether our thread, rather than the library's, is running.
bool background_thread_running();

// Whether SWARMFIRE_LIBRARY_DEFAULTS asks for the library's own background
// thread and sound driver, as the game had them before (for comparisons).
bool library_defaults_asked();
