// Scripted keys for the headless twin: keys held and pressed by presented
// frame, for tests and tools that drive the game without a keyboard.
#pragma once

#include "platform/headless/headless_controls.h"

#include <functional>
#include <vector>

// Keys by frame: hold(scancode, first, last) holds a key while the number of
// presented frames lies in [first, last] and lets it go after; press(scancode,
// frame) puts a key into the buffer when that frame is presented. Extra
// per-event actions can be added with on_event; each runs in the order
// added. install() makes it the twin's hook.
class KeyScript {
 public:
  KeyScript &hold(int scancode, long first, long last);
  KeyScript &press(int scancode, long frame);
  KeyScript &on_event(std::function<void(const headless::Event &)> action);
  void install();

 private:
  std::vector<std::function<void(const headless::Event &)>> actions_;
};
