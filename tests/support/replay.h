// Test support: a headless game recorded as the keys held at each tick of
// the headless clock, and replayed from that record alone. A tick is one
// wait of the program (a presented frame, a poll, a key wait, a fade): the
// twin fires the 60 Hz timer once per frame and per poll, so the same keys
// at the same ticks make the same game. After every tick the world state is
// hashed (world_hash) into a running hash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// From `tick` on, the keys of `held` are held (a bit each, in the order
// left, right, up, down, alt, esc, p, f12); `press` puts a space into the
// key buffer at that tick.
struct Change {
  long tick = 0;
  unsigned held = 0;
  bool press = false;
};

// Where a game stood at a tick: the running hash, and a few figures that
// say in the game's terms what went otherwise when the hash differs.
struct Checkpoint {
  long tick = 0;
  uint64_t hash = 0;
  int score = 0, level = 0, lives = 0, ship_x = 0, enemies_destroyed = 0;
  uint64_t random_draws = 0;
  bool operator==(const Checkpoint &) const = default;
};

// A checkpoint every this many ticks.
constexpr long CHECKPOINT_TICKS = 600;

// The first checkpoint of `run` that differs from `recorded`, named with
// its tick and the figures that differ; empty when they agree.
std::string first_difference(const std::vector<Checkpoint> &run, const std::vector<Checkpoint> &recorded);

struct Recording {
  uint64_t hash = 0;    // expected running hash after the last tick
  uint64_t output = 0;  // expected hash of every picture presented and sample played
  int score = 0;        // expected final score
  long ticks = 0;     // expected number of ticks
  std::vector<Checkpoint> checkpoints;
  std::vector<Change> changes;
};

// Reads a recording: "# " comment lines, "hash <hex>", "output <hex>",
// "score <n>" and "ticks <n>", the checkpoints ("checkpoint <tick> <hex>
// score <n> level <n> lives <n> x <n> destroyed <n> draws <n>"), then
// "input" and a line "<tick> <keys>" or "<tick> <keys> press" per change,
// the keys '-' for none or their names joined by '+'. False, with the line
// that is wrong, for text that is not a recording.
bool from_text(const std::string &text, Recording &recording, std::string &problem);

// The logical screen as presented, in the palette it is shown in, chained
// into `running`.
uint64_t picture_hash(uint64_t running);

// The checkpoint lines of a recording's text.
std::string checkpoint_lines(const std::vector<Checkpoint> &checkpoints);

// The same from a file (a stored game, tests/replays/NAME.txt).
bool from_file(const std::string &path, Recording &recording, std::string &problem);

struct Outcome {
  uint64_t hash = 0;
  uint64_t output = 0;  // replay() only
  int score = 0;
  long ticks = 0;
  int status = -1;  // game_main's; -1 when the run timed out
  std::vector<Checkpoint> checkpoints;
};

// A whole program run (game_main) from fresh globals and a fresh twin with
// the recorded keys, closed by the window's close button 600 ticks after the
// recorded length if still running. With a file name, the run is recorded
// into that file through the seam as well (swarmfire --record).
Outcome replay(const Recording &recording, const std::string &record_into = {});

// The recording file replayed through the seam (swarmfire --verify), the
// world hash chained after every wait as replay() does; `line` is what the
// verification printed.
Outcome verify(const std::string &file, std::string &line);

}  // namespace replay
