#include "platform/headless/headless_controls.h"

#include "platform/display/presenter.h"
#include "platform/platform_ops.h"
#include "platform/recording/input_log.h"

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

void set_desktop(int width, int height) {
  twin.desktop_w = width;
  twin.desktop_h = height;
}

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

void set_hook(std::function<void(const Event &)> hook) { twin.hook = std::move(hook); }
void set_event_limit(long limit) { twin.limit = limit; }
void set_between_hook(std::function<void()> hook) { twin.between_hook = std::move(hook); }

bool timer_installed() { return logic_timer.handler != nullptr; }

long frames() { return twin.frames; }
BITMAP *screen() { return presenter_picture(); }
const std::vector<SampleCall> &samples() { return twin.samples; }
void clear_samples() { twin.samples.clear(); }
void request_close() { twin.close = true; }

}  // namespace headless
