// Controls of the headless twin (platform/headless.h) for tests and tools:
// they set the twin up, drive its keys, timer and display, and read what
// the game did through it. Linked into the test and tool binaries only.
#pragma once

#include "platform/headless.h"

#include <allegro.h>

#include <functional>
#include <vector>

namespace headless {

// Back to a clean twin: every mode accepted on a 400 x 300 desktop (so the
// fitting window is 320 x 240), no keys, empty buffer, no hook, no samples,
// counters at 0, timer removed, one tick per frame and per yield, focused.
void reset();

// Makes the next platform_start_up report that the library cannot start.
void refuse_start_up();

// Makes the display refuse modes of this size (e.g. 320 x 240 to force the
// fallback), or every fullscreen mode, or only the desktop-sized window
// (fullscreen falls back to the library's own).
void refuse_mode(int width, int height);
void refuse_fullscreen();
void refuse_fullscreen_window();
// The desktop's size as the library reports it (0 x 0: unknown).
void set_desktop(int width, int height);
// F11, acted on at the next wait as the real platform does.
void press_f11();
bool fullscreen();
// Fullscreen as the desktop-sized window (not the library's fullscreen).
bool fullscreen_window();
// Another window takes the keyboard focus (held keys are released, unless
// the display was opened without focus_pause), or it comes back.
void set_focus(bool focused);

void hold(int scancode, bool down = true);
void release_all();
// Puts one key press into the key buffer (as readkey() returns it).
void press(int scancode, int ascii = 0);
int buffered_keys();

// Called after every present, yield, key wait, vsync and fade.
void set_hook(std::function<void(const Event &)> hook);
void set_event_limit(long limit);

// Timer: ticks fired on their own at every presented frame and every yield
// while a handler is installed; fire_timer() fires more by hand.
void set_ticks_per_frame(int ticks);
void set_ticks_per_yield(int ticks);
void fire_timer(int ticks = 1);
bool timer_installed();
int timer_installs();

long frames();
// The logical screen (the 320 x 240 picture last presented) and the display
// it is scaled onto (the window, or the whole desktop in fullscreen).
BITMAP *screen();
BITMAP *display();
const std::vector<SampleCall> &samples();
void clear_samples();
int fades_out();
int palette_sets();
bool started();   // platform_start_up called and not shut down since
int shut_downs();

// Pretends the window's close button was pressed.
void request_close();

}  // namespace headless
