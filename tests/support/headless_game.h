// Test support: a clean headless twin and fresh game globals for each test.
// Scripted keys are platform/headless/key_script.h.
#pragma once

#include "frame/fresh_state.h"
#include "frame/game_state.h"
#include "platform/headless/headless_controls.h"
#include "platform/headless/key_script.h"

#include <gtest/gtest.h>

#include <string>

// Creates back_buffer and glow_layer as start-up does (without a video mode).
void make_frame_bitmaps();

// Level 1's datafile, palette and colour tables in place as level start
// leaves them, and the frame bitmaps made: no formation, nothing drawn.
void install_level_one();

// Empty when the two bitmaps of one size hold the same pixels; else how many
// differ, and the first.
std::string pixel_difference(BITMAP *a, BITMAP *b);

// A clean twin and fresh globals for each test.
class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    reset_world_state();
  }
  void TearDown() override { headless::reset(); }
};
