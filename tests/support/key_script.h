// Scripted keys for the headless twin: keys held and pressed by presented
// frame, for tests and tools that drive the game without a keyboard.
#pragma once

#include "tests/support/headless_controls.h"

#include <functional>
#include <vector>

// Keys by frame: hold(scancode, first, last) holds a key while the number of
// presented frames lies in [first, last]; press(scancode, frame) puts a key
// into the buffer when that frame is presented. Extra per-event actions can
// be added with on_event. install() makes it the twin's hook.
class KeyScript {
 public:
  KeyScript &hold(int scancode, long first, long last);
  KeyScript &press(int scancode, long frame);
  KeyScript &on_event(std::function<void(const headless::Event &)> action);
  void install();

 private:
  struct Hold {
    int scancode;
    long first, last;
  };
  struct Press {
    int scancode;
    long frame;
    bool done;
  };
  std::vector<Hold> holds_;
  std::vector<Press> presses_;
  std::vector<std::function<void(const headless::Event &)>> actions_;
  void apply(const headless::Event &event);
};
