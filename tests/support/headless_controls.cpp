#include "tests/support/headless_controls.h"

#include "platform/input_log.h"
#include "platform/platform_ops.h"
#include "platform/presenter.h"

#include <utility>

namespace headless {

namespace {

HeadlessTwin &twin = headless_twin;

}  // namespace

void reset() {
  init_library();
  input_log_off();
  platform_use(headless_platform);
  logic_timer = {};
  presenter_release();
  BITMAP *keep = twin.display;
  twin = HeadlessTwin{};
  twin.library = true;
  if (keep) destroy_bitmap(keep);
}

void refuse_start_up() { twin.refuse_start = true; }

void refuse_mode(int width, int height) { twin.refused.emplace_back(width, height); }
void refuse_fullscreen() { twin.refuse_fullscreen = true; }
void refuse_fullscreen_window() { twin.refuse_fullscreen_window = true; }
void set_desktop(int width, int height) {
  twin.desktop_w = width;
  twin.desktop_h = height;
}
void press_f11() { twin.switch_asked = true; }
bool fullscreen() { return twin.fullscreen; }
bool fullscreen_window() { return twin.fullscreen_window; }
BITMAP *display() { return twin.display; }

void set_focus(bool focused) {
  twin.focus = focused;
  if (!focused && twin.asked.focus_pause) release_all();
}

void hold(int scancode, bool down) {
  if (scancode > 0 && scancode < KEY_MAX) twin.held[scancode] = down;
}
void release_all() {
  for (bool &k : twin.held) k = false;
}
void press(int scancode, int ascii) { twin.buffer.push_back((scancode << 8) | (ascii & 0xff)); }
int buffered_keys() { return static_cast<int>(twin.buffer.size()); }

void set_hook(std::function<void(const Event &)> hook) { twin.hook = std::move(hook); }
void set_event_limit(long limit) { twin.limit = limit; }

void set_ticks_per_frame(int ticks) { twin.ticks_per_frame = ticks; }
void set_ticks_per_yield(int ticks) { twin.ticks_per_yield = ticks; }
void fire_timer(int ticks) { platform_fire_timer(ticks); }
bool timer_installed() { return logic_timer.handler != nullptr; }
int timer_installs() { return logic_timer.installs; }

long frames() { return twin.frames; }
BITMAP *screen() { return presenter_picture(); }
const std::vector<SampleCall> &samples() { return twin.samples; }
void clear_samples() { twin.samples.clear(); }
int fades_out() { return twin.fades_out; }
int palette_sets() { return twin.palette_sets; }
bool started() { return twin.started; }
int shut_downs() { return twin.shut_downs; }
void request_close() { twin.close = true; }

}  // namespace headless
