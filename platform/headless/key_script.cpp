#include "platform/headless/key_script.h"

KeyScript &KeyScript::hold(int scancode, long first, long last) {
  return on_event([=](const headless::Event &event) {
    if (event.frame >= first && event.frame <= last + 1) headless::hold(scancode, event.frame <= last);
  });
}

KeyScript &KeyScript::press(int scancode, long frame) {
  return on_event([=, done = false](const headless::Event &event) mutable {
    if (done || event.frame < frame) return;
    headless::press(scancode);
    done = true;
  });
}

KeyScript &KeyScript::on_event(std::function<void(const headless::Event &)> action) {
  actions_.push_back(std::move(action));
  return *this;
}

void KeyScript::install() {
  headless::set_hook([actions = actions_](const headless::Event &event) mutable {
    for (auto &action : actions) action(event);
  });
}
