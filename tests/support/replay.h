// Test support: a headless game recorded as the keys held at each tick of
// the headless clock, and replayed from that record alone. A tick is one
// wait of the program (a presented frame, a poll, a key wait, a fade): the
// twin fires the 60 Hz timer once per frame and per poll, so the same keys
// at the same ticks make the same game. After every tick the world state is
// hashed (world_hash) into a running hash.
#pragma once

#include "platform/headless.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// The keys a recording can hold, one bit each.
enum Key : unsigned {
  LEFT = 1, RIGHT = 2, UP = 4, DOWN = 8, ALT = 16, ESC = 32, P = 64, F12 = 128,
};

struct Input {
  unsigned held = 0;   // Key bits
  bool press = false;  // one key (space) into the key buffer at this tick
};

// From `tick` on, `input.held` is held; `input.press` presses once then.
struct Change {
  long tick;
  Input input;
};

struct Recording {
  std::vector<std::string> comments;  // what the recording is, how to update it
  uint64_t hash = 0;                  // expected running hash after the last tick
  int score = 0;                      // expected final score
  long ticks = 0;                     // expected number of ticks
  std::vector<Change> changes;
};

std::string to_text(const Recording &recording);
// False, with the line that is wrong, for text that is not a recording.
bool from_text(const std::string &text, Recording &recording, std::string &problem);

struct Outcome {
  uint64_t hash = 0;
  int score = 0;
  long ticks = 0;
  int status = -1;                 // game_main's; -1 when the run timed out
  std::vector<uint64_t> per_tick;  // the world hash after each tick, if kept
};

// A whole program run (game_main) from fresh globals and a fresh twin with
// the recorded keys, closed by the window's close button 600 ticks after the
// recorded length if still running.
Outcome replay(const Recording &recording, bool keep_per_tick = false);

}  // namespace replay
