// Test support: the drivers that played the recorded games. They read the
// game's state to choose their keys; the recordings keep only the keys.
#pragma once

#include "tests/support/replay.h"

#include <utility>
#include <vector>

namespace replay {

// Keys held for a number of ticks each, one step after the other.
class Steps {
 public:
  explicit Steps(std::vector<std::pair<unsigned, int>> steps) : steps_(std::move(steps)) {}
  bool done() const { return next_ == steps_.size(); }
  Input next();

 private:
  std::vector<std::pair<unsigned, int>> steps_;
  size_t next_ = 0;
  int ticks_ = 0;
};

// From a fresh title (the first item selected): start a game; quit.
Steps start_steps();
Steps quit_steps();

// The title (or the options screen over it) is up; a game is being played.
bool on_title();
bool in_game();

// A key for the screens that wait for one: at once when the program waits
// in readkey, else every 60 ticks.
Input pass_waits(const headless::Event &e, long &last_press);

// One tick of play: under the lowest enemy, firing one tick in two while
// it is in line; dodging the enemy shots when careful. `fire` carries the
// firing rhythm from tick to tick.
unsigned play_keys(bool careful, bool &fire);

// Leaves the title alone through the bonus screen into the demo, lets the
// autopilot play (a key ends it after 4000 ticks at the latest), and quits
// once the title is back.
Driver demo_watcher();

// Starts a game and plays it by aiming and firing without ever dodging,
// passes the waits of the screens with a key, and quits once the title is
// back.
Driver careless_game();

// The same, but dodging enemy shots and diving enemies; on reaching level
// last_level + 1 it ends the game with Esc.
Driver careful_game(int last_level);

}  // namespace replay
