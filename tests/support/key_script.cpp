#include "tests/support/key_script.h"

#include <memory>

KeyScript &KeyScript::hold(int scancode, long first, long last) {
  holds_.push_back({scancode, first, last});
  return *this;
}

KeyScript &KeyScript::press(int scancode, long frame) {
  presses_.push_back({scancode, frame, false});
  return *this;
}

KeyScript &KeyScript::on_event(std::function<void(const headless::Event &)> action) {
  actions_.push_back(std::move(action));
  return *this;
}

void KeyScript::apply(const headless::Event &event) {
  for (const Hold &h : holds_) headless::hold(h.scancode, false);
  for (const Hold &h : holds_)
    if (event.frame >= h.first && event.frame <= h.last) headless::hold(h.scancode, true);
  for (Press &p : presses_)
    if (!p.done && event.frame >= p.frame) {
      headless::press(p.scancode);
      p.done = true;
    }
  for (auto &action : actions_) action(event);
}

void KeyScript::install() {
  auto self = std::make_shared<KeyScript>(*this);
  headless::set_hook([self](const headless::Event &e) { self->apply(e); });
}
