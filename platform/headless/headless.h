// The state of the headless twin (platform_headless.cpp): no display, no
// timer thread, no keyboard and no sound device. Every presented frame lands
// in a memory bitmap and is counted, the 60 Hz timer fires at its waits,
// keys are held or pressed from a hook, and every sample call is recorded
// instead of played. The game only chooses the twin (platform_use_headless,
// to verify a recording); tests and tools set it up and watch it through
// their controls (platform/headless/headless_controls.h).
#pragma once

#include "platform/display/monitors.h"
#include "platform/platform.h"
#include "platform/waits.h"

#include <allegro.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace headless {

struct Event {
  Wait kind;  // what the game was doing when the hook was called
  long frame;  // frames presented so far (this one included for Present)
  long count;  // hook calls so far, this one included
};

struct SampleCall {
  int object, volume, pan, frequency, loop;
  bool stop;    // stop_sample rather than play_sample
  long frame;   // frames presented before the call
};

// Thrown when a run goes on for more hook calls than the limit, so that a
// test of a loop that never ends fails instead of hanging.
struct Timeout {};

// Starts the library once per process (SYSTEM_NONE: memory bitmaps only).
void init_library();

}  // namespace headless

struct HeadlessTwin {
  bool library = false;
  bool started = false;
  bool refuse_start = false;
  int shut_downs = 0;
  BITMAP *display = nullptr;
  int desktop_w = 400, desktop_h = 300;
  // The screen's monitors (none: the desktop is the one monitor) and the
  // pointer. The window: where it lies (a test may move it, as a player
  // drags it) and the size it has, the mode's unless a test gives another,
  // as a window manager may (seen at the next wait).
  Monitors monitors;
  int pointer_x = 0, pointer_y = 0;
  int window_x = 0, window_y = 0, window_w = 0, window_h = 0;
  DisplayRequest asked;
  bool fullscreen = false;
  bool fullscreen_window = false;
  bool refuse_fullscreen = false;
  bool refuse_fullscreen_window = false;
  int switch_asked = 0;  // F11 presses, each acted on at the next wait
  bool focus = true;
  std::vector<std::pair<int, int>> refused;
  bool held[KEY_MAX] = {};
  std::deque<int> buffer;
  std::function<void(const headless::Event &)> hook;  // after every wait
  std::function<void()> between_hook;  // between the waits a seek passes at once
  long limit = 20'000'000;  // hook calls before Timeout
  long frames = 0;
  long count = 0;
  int ticks_per_frame = 1;
  int ticks_per_yield = 1;
  std::vector<headless::SampleCall> samples;
  bool keep_samples = true;
  int fades_in = 0, fades_out = 0, palette_sets = 0;
  bool close = false;  // the close button, seen at the next wait
  std::string error = "headless";
};

extern HeadlessTwin headless_twin;
