// The functions of the platform seam over the implementation chosen at
// start, each input on its way through the input log: the live answer (and
// recorded), or the recorded one in a replay. The logic timer lives here,
// for both implementations.
#include "platform/display/presenter.h"
#include "platform/platform.h"
#include "platform/platform_ops.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer.h"
#include "platform/sys/stop_signals.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

LogicTimer logic_timer;

void platform_fire_timer(int ticks) {
  for (int i = 0; i < ticks && logic_timer.handler; ++i) logic_timer.handler();
}

namespace {


const PlatformOps *ops = &headless_platform;
// A rewind of a watched replay: the game starts again on the platform it
// has, so its start-up and its opening of the display pass.
bool display_kept = false;
// The library left unshut at exit (a lost X connection).
bool library_left = false;

// A wait of the chosen platform, or, where the replay viewer passes it at
// once, what it leaves behind without the wait; the close button (or
// whatever else stops the game here) goes into the log.
template <class Waiting, class Passing>
void wait(Wait kind, Waiting &&waiting, Passing &&passing) {
  try {
    bool stop = false;
    bool at_once = viewer_before_wait(kind, stop);
    input_log_before_wait(kind, stop);
    platform_check_stop_signal();
    if (at_once)
      passing();
    else
      waiting();
  } catch (const QuitRequested &) {
    input_log_closed(kind);
    throw;
  } catch (const DisplayLost &) {
    input_log_closed(kind);
    throw;
  }
}

// A wait that fires no ticks is a call of its segment like any other.
template <class Waiting, class Passing>
void untimed_wait(Wait kind, int question, Waiting &&waiting, Passing &&passing) {
  wait(kind, waiting, passing);
  input_log_call(question);
}

void no_wait() {}

}  // namespace

void platform_use(const PlatformOps &chosen) { ops = &chosen; }

void platform_check_stop_signal() {
  if (int signal = stop_signal_received())
    throw QuitRequested{128 + signal, stop_signal_name(signal) + " received"};
}

const PlatformOps &platform_ops_in_use() { return *ops; }

void platform_keep_display_for_rewind() {
  display_kept = true;
  logic_timer.handler = nullptr;
}

void platform_ticks_due(Wait kind, int passed) { platform_fire_timer(input_log_ticks(kind, passed)); }

std::string platform_preflight() { return ops->preflight(); }
std::string platform_start_up() { return display_kept ? std::string() : ops->start_up(); }
void platform_shut_down() { ops->shut_down(); }

void platform_leave_library_at_exit() { library_left = true; }

void platform_exit(int status) {
  if (!library_left) std::exit(status);
  std::fflush(nullptr);
  _exit(status);
}

int platform_open_display(const DisplayRequest &request) {
  if (!display_kept) return ops->open_display(request);
  display_kept = false;
  return 0;
}
std::string platform_last_error() { return ops->last_error(); }

BITMAP *platform_screen() { return presenter_picture(); }
void platform_clear_screen() { presenter_clear(); }

void platform_present(BITMAP *frame) {
  wait(Wait::Present, [&] { ops->present(frame); },
       [&] {
         presenter_show(frame);
         platform_ticks_due(Wait::Present, 1);
       });
}

void platform_yield() {
  wait(Wait::Yield, [] { ops->yield(); }, [] { platform_ticks_due(Wait::Yield, 1); });
}

void platform_vsync() {
  untimed_wait(Wait::Vsync, recording::Q_VSYNC, [] { ops->vsync(); }, no_wait);
}

void platform_set_palette(const RGB *palette) { ops->set_palette(palette); }
void platform_set_desktop_palette() { ops->set_palette(desktop_palette); }

void platform_fade_in(const RGB *palette, int speed) {
  untimed_wait(Wait::FadeIn, recording::Q_FADE_IN, [&] { ops->fade_in(palette, speed); },
               [&] { ops->set_palette(palette); });
}

void platform_fade_out(int speed) {
  untimed_wait(Wait::FadeOut, recording::Q_FADE_OUT, [&] { ops->fade_out(speed); },
               [] { ops->set_palette(black_palette); });
}

void platform_install_timer(void (*handler)()) {
  logic_timer.handler = handler;
  ++logic_timer.installs;
}

void platform_remove_timer(void (*handler)()) {
  if (logic_timer.handler == handler) logic_timer.handler = nullptr;
}

bool platform_replaying() { return input_log_replaying(); }

void platform_loading_datafile() { input_log_loading_datafile(); }
void platform_datafile_refused() { input_log_closed(Wait::DatafileLoad); }

bool platform_key(int scancode) {
  bool valid = scancode > 0 && scancode < KEY_MAX;
  int question = valid ? scancode : recording::Q_BAD_KEY;
  if (input_log_replaying()) return input_log_replayed_answer(question);
  bool held = valid && ops->key(scancode);
  input_log_live_answer(question, held);
  return held;
}

bool platform_keypressed() {
  if (input_log_replaying()) return input_log_replayed_answer(recording::Q_KEYPRESSED);
  bool pressed = ops->keypressed();
  input_log_live_answer(recording::Q_KEYPRESSED, pressed);
  return pressed;
}

// Waits for time until the key buffer holds a key, then takes it: every
// poll and every wait an input of its own.
int platform_readkey() {
  while (!platform_keypressed())
    wait(Wait::KeyWait, [] { ops->key_wait(); }, [] { platform_ticks_due(Wait::KeyWait, 1); });
  if (input_log_replaying()) return input_log_replayed_readkey();
  int k = ops->readkey();
  input_log_live_readkey(k);
  return k;
}

// A replay leaves the live key buffer to the viewer.
void platform_clear_keybuf() {
  if (!input_log_replaying()) ops->clear_keybuf();
  input_log_call(recording::Q_CLEAR_KEYBUF);
}

bool platform_focus_lost() {
  if (input_log_replaying()) return input_log_replayed_answer(recording::Q_FOCUS_LOST);
  bool lost = ops->focus_lost();
  input_log_live_answer(recording::Q_FOCUS_LOST, lost);
  return lost;
}

void platform_set_sound_bank(DATAFILE *bank) { ops->set_sound_bank(bank); }

void platform_play_sample(int object, int volume, int pan, int frequency, int loop) {
  if (viewer_plays_sample(object, volume, pan, frequency, loop)) ops->play_sample(object, volume, pan, frequency, loop);
}

void platform_stop_sample(int object) {
  viewer_sample_stopped(object);
  ops->stop_sample(object);
}
