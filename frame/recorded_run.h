// The program run with a recording file: a game recorded as it is played
// (--record), a recording shown in the window (--play, where the player
// may take over with --record) or replayed headless
// and checked against its trailer (--verify). The inputs themselves are
// recorded and replayed below the platform seam (platform/recording/input_log.h);
// here the file is named, its header filled in and checked against this
// game and its datafiles, and the figures of the run (frames, logic steps,
// score and level of the last game, world hash) handed to the trailer or
// compared with it. Each returns the exit status.
#pragma once

#include "platform/platform.h"

#include <string>

int record_game(const std::string &file, const DisplayRequest &display);
// In the display given, or else the one the recording started in, with
// the viewer's keys (platform/recording/viewer.h). With a `take_over_file`, Return
// hands the game to the player, recorded into that file from the start:
// the watched inputs up to that moment, the player's after it.
int play_recording(const std::string &file, const DisplayRequest &display, bool display_given,
                   const std::string &take_over_file = {});
// Prints one line with the run's figures, "ok" when they are the recorded
// ones; problems go to stderr. The platform must be the headless twin.
int verify_recording(const std::string &file);
