// Test support: the drivers that played the recorded games. They read the
// game's state to choose their keys; the recordings keep only the keys.
#pragma once

#include "tests/support/replay.h"

namespace replay {

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
