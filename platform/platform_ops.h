// Inside the platform: the two implementations of the seam as tables of
// functions, one chosen at start (platform_use_display, platform_use_
// headless; the twin until then). platform/seam.cpp defines the platform_*
// functions of platform.h over the chosen table, and routes every input
// through the input log on its way to the game.
#pragma once

#include "platform/platform.h"
#include "platform/waits.h"

struct PlatformOps {
  std::string (*preflight)();
  std::string (*start_up)();
  void (*shut_down)();
  int (*open_display)(const DisplayRequest &request);
  std::string (*last_error)();
  // The waits. Each first checks the close button and whatever else ends
  // the game from outside (throwing QuitRequested before anything else),
  // then F11. The three that fire the logic timer call
  // platform_ticks_due once, where the ticks fire.
  void (*present)(BITMAP *frame);
  void (*yield)();
  void (*key_wait)();  // one wait of a loop waiting for the key buffer
  void (*vsync)();
  // Between the waits a seek passes at once, now and then: what a wait
  // does but wait (the close button, F11, the window's size, the input the
  // window system holds), so that the viewer's keys reach it.
  void (*between_waits)();
  void (*fade_in)(const RGB *palette, int speed);
  void (*fade_out)(int speed);
  void (*set_palette)(const RGB *palette);
  bool (*key)(int scancode);  // scancode 1 to KEY_MAX - 1
  bool (*keypressed)();
  int (*readkey)();  // only when keypressed() said so
  void (*clear_keybuf)();
  bool (*focus_lost)();
  void (*set_sound_bank)(DATAFILE *bank);
  void (*play_sample)(int object, int volume, int pan, int frequency, int loop);
  void (*stop_sample)(int object);
};

extern const PlatformOps headless_platform;  // platform_headless.cpp

// The table the seam calls from now on.
void platform_use(const PlatformOps &ops);
const PlatformOps &platform_ops_in_use();
// The library could not be shut down (its connection to the display died):
// platform_exit passes over its exit handlers.
void platform_leave_library_at_exit();
// A stop signal ends the game at a wait as the close button does
// (QuitRequested).
void platform_check_stop_signal();
// The game is about to start again for a rewind of a watched replay
// (platform/recording/viewer.h): its start-up and its opening of the display are
// passed over once, and the logic timer is removed.
void platform_keep_display_for_rewind();

// The point of a wait where the logic timer fires: `passed` deadlines went
// by (the live ticks); the input log records them, or replaces them with the
// recorded ones, and the installed handler runs once per tick.
void platform_ticks_due(Wait kind, int passed);

// The logic timer as the seam keeps it: the handler installed (none while
// play is paused or between games) and how many times one was installed.
struct LogicTimer {
  void (*handler)() = nullptr;
  int installs = 0;
};
extern LogicTimer logic_timer;

// Runs the installed handler `ticks` times.
void platform_fire_timer(int ticks);
