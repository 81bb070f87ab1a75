// Test support: a clean headless twin and fresh game globals for each test,
// and a key script that holds and presses keys by presented frame.
#pragma once

#include "platform/headless.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Puts the program's globals back to their start-of-run values.
void reset_program_globals();

// Creates back_buffer and glow_layer as start-up does (without a video mode).
void make_frame_bitmaps();

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

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
