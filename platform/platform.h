// The platform seam: the only code that talks to the display, the clock and
// timer, the keyboard and key buffer, the gamepads, the window's focus and
// the sound device.
//
// Two implementations stand behind it, one chosen when the program starts
// (platform/seam.cpp calls it through a table of functions,
// platform_ops.h):
//   real_platform.cpp           - the real game, through Allegro's drivers
//                                 (x11/, sound/, input/);
//   headless/headless_platform.cpp - no hardware at all, for tests, tools
//                                 and the verification of recorded games
//                                 (the tests' and tools' controls of it are
//                                 headless/headless_controls.h, never
//                                 linked into the game).
// Everything above this seam draws with Allegro on memory bitmaps directly
// and sees one 320 x 240, 8-bit screen, whatever the window or monitor.
//
// Everything the game receives from outside arrives through calls made on
// the main thread: key states, key buffer reads, the focus, the close
// button, and the ticks of the logic timer, which fire only inside the waits
// (platform_present and platform_yield), once for each 60 Hz deadline that
// wait passed. The order of these calls depends only on the game, so every
// one of them passes through the input log (input_log.h), which records a
// run at this seam or plays one back, unknown to the game.
#pragma once

#include <allegro.h>

#include <string>

// Thrown out of any wait (presenting a frame, polling, waiting for a key)
// once the game must stop: the window's close button (status 0), the window
// destroyed or the X connection lost (status 1), or a stop signal (status
// 128 + the signal). The program frame catches it, says why in one line
// unless it was the close button, and shuts down cleanly; a recording is
// finished as at the close button.
struct QuitRequested {
  int status = 0;
  std::string why;
};

// Thrown out of a wait when the display is gone for good: a fullscreen
// switch was refused and the mode that was on could not be set again. A
// recording keeps it as the close button at that wait.
struct DisplayLost {
  std::string why;
};

// What the player asked for on the command line.
struct DisplayRequest {
  int scale = 0;           // window scale, 1 to MAX_WINDOW_SCALE; 0: the largest that fits the monitor
  bool fullscreen = false; // the monitor's own resolution, the picture centred on black
  bool focus_pause = true; // false: a lost focus neither pauses nor lets go of keys
  bool fit = false;        // the scale at most the largest that fits the monitor
};

constexpr int MAX_WINDOW_SCALE = 8;

// The picture the game draws and the seam shows: 320 x 240 at 8 bits.
constexpr int PICTURE_WIDTH = 320, PICTURE_HEIGHT = 240;

// The implementation the seam calls: the real display, keyboard, clock and
// sound, or the headless twin (no sample log, no limit on its waits) for a
// whole program run without hardware. Until one is chosen, the twin as
// tests drive it.
void platform_use_display();
void platform_use_headless();

// Before anything else: empty when a display can be opened, else one line
// saying what is missing and what to do.
std::string platform_preflight();

// Library, timer, keyboard and sound, in that order. Empty when the library
// could be started (a missing sound device is not a failure), else why not.
std::string platform_start_up();
// Sound, keyboard, timer, then the library itself.
void platform_shut_down();
// The end of the process with this status, once everything is written.
// After the X connection was lost the library is not shut down (its
// shutdown writes to the dead connection, which Xlib then fails with a
// crash), and its exit handlers are passed over too: stdio is flushed and
// the process ends at once.
[[noreturn]] void platform_exit(int status);

// Opens the display: a window at the requested or fitting scale (smaller
// scales, then 320 x 240 and 640 x 480 when refused), or fullscreen first
// when asked. 0 on success. F11 at any wait switches between the two. The
// window's class is "swarmfire", "Swarmfire", its icon the ship.
int platform_open_display(const DisplayRequest &request);
// Text of the library's last error, for messages.
std::string platform_last_error();

// The logical screen: the 320 x 240 picture last presented (black after
// platform_clear_screen), whatever the window's size. Pause, game over,
// screenshot and closing zoom read it back.
BITMAP *platform_screen();
// Clears the logical screen and the display at once.
void platform_clear_screen();

// Waits for the next deadline of the 60 Hz grid (a late frame leaves at once
// and the grid starts again from it), shows the 320 x 240 frame scaled to
// the display, then fires the logic timer once per deadline passed.
void platform_present(BITMAP *frame);
// Waits for the next deadline of the grid without presenting.
void platform_vsync();

// Palettes take effect at once. Fades step once per grid deadline.
void platform_set_palette(const RGB *palette);
void platform_set_desktop_palette();
void platform_fade_in(const RGB *palette, int speed);
void platform_fade_out(int speed);

// The 60 Hz logic timer: while installed, the handler is called on the main
// thread inside platform_present and platform_yield, once for every grid
// deadline that the wait passed.
void platform_install_timer(void (*handler)());
void platform_remove_timer(void (*handler)());

// True while a recording is replayed (--play, --verify) rather than the
// game played live.
bool platform_replaying();

// Around each load of a datafile in play. A datafile refused there stops
// the game (the program says why): a recording keeps where, and its replay
// stops at that load too (QuitRequested), with the files it checked at the
// start loading fine.
void platform_loading_datafile();
void platform_datafile_refused();

// Held state of a key (Allegro scancode, KEY_*). A gamepad's state is
// answered as the keys it stands for, and its presses join the key buffer.
bool platform_key(int scancode);
bool platform_keypressed();
int platform_readkey();
void platform_clear_keybuf();

// True while the window is without the keyboard focus (another window took
// it). Keys held when it left read as released. Never with focus_pause off
// (the pads play on, and the keyboard's keys go to the other window). Also
// true once when a gamepad went away, so that the game pauses.
bool platform_focus_lost();

// Waits for the next grid deadline while a loop polls for time or keys,
// firing the logic timer as platform_present does.
void platform_yield();

// Samples are addressed by their object number in the sound bank
// ("sound.dat"); a missing bank or object plays nothing.
void platform_set_sound_bank(DATAFILE *bank);
void platform_play_sample(int object, int volume, int pan, int frequency, int loop);
void platform_stop_sample(int object);
