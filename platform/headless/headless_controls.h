// Controls of the headless twin (platform/headless/headless.h) for tests and tools:
// they set the twin up, drive its keys and timer, and read what the game did
// through it; the rest a test sets or reads in headless_twin itself. Linked
// into the test and tool binaries only.
#pragma once

#include "platform/headless/headless.h"

#include <allegro.h>

#include <functional>
#include <vector>

namespace headless {

// Back to a clean twin: every mode accepted on a 400 x 300 desktop (so the
// fitting window is 320 x 240), no keys, empty buffer, no hook, no samples,
// counters at 0, timer removed, one tick per frame and per yield, focused.
void reset();

// The desktop's size as the library reports it (0 x 0: unknown).
void set_desktop(int width, int height);
// Another window takes the keyboard focus (held keys are released, unless
// the display was opened without focus_pause), or it comes back.
void set_focus(bool focused);

void hold(int scancode, bool down = true);
void release_all();
// Puts one key press into the key buffer (as readkey() returns it).
void press(int scancode, int ascii = 0);

// Called after every present, yield, key wait, vsync and fade.
void set_hook(std::function<void(const Event &)> hook);
void set_event_limit(long limit);
// Called between the waits a seek of the viewer passes at once, whenever
// the viewer takes the input that came meanwhile.
void set_between_hook(std::function<void()> hook);

// Timer ticks fire on their own at every presented frame and every yield
// while a handler is installed (headless_twin.ticks_per_frame, _per_yield).
bool timer_installed();

long frames();
// The logical screen: the 320 x 240 picture last presented (the display it
// is scaled onto is headless_twin.display).
BITMAP *screen();
const std::vector<SampleCall> &samples();
void clear_samples();

// Pretends the window's close button was pressed.
void request_close();

}  // namespace headless
