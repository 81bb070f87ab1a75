// Recorded games replayed from their keys alone: the demo's autopilot, a
// game lost to the game over, a game through four levels, one through the
// options and all twelve levels, and one after every capsule. Each replay
// must end with the running world hash, the output hash (every picture
// presented, with its palette, and every sample played), the score and the
// number of ticks stored with it in tests/replays/, so that any change of
// behaviour shows as a changed figure; a checkpoint every 600 ticks names
// the first tick at which a game went otherwise, and what differs there
// (score, level, lives, the ship's place, enemies destroyed, random numbers
// drawn). Each is recorded at the seam as it
// runs (as swarmfire --record does), and that recording verified (as
// --verify does) must run through the same world states, wait by wait, to
// an "ok".
//
// The games are kept as keys by tick rather than as recordings: a world
// hash chained after every wait pins more than a recording's trailer (the
// state at the exit), and the keys are read and edited by hand.
//
// The games run on the stand-in datafiles of data/replay_datafiles.cpp,
// made by code rather than by the game's art, so new art leaves the figures
// alone; a change to those stand-ins, to the formations there, or to
// stand_in_datafile changes them, as does any change of the game's logic.
//
// When behaviour changes on purpose, update the figures deliberately and
// commit them with the change, saying why:
//   SWARMFIRE_REPLAY_UPDATE=figures build/unit_tests --gtest_filter='Replay*'
// keeps the recorded keys and rewrites hash, output, score, ticks and the
// checkpoints. When
// the keys no longer fit the game (a recorded game now ends earlier, so that
// the checks after the replay fail), record the game again: play it headless
// with a driver that reads the game's state to choose its keys, and write
// the keys that changed, at the tick they changed, in the same format.
#include "data/replay_datafiles.h"
#include "data/stand_in_datafiles.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_controls.h"
#include "tests/support/replay.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// The recording's text with its four figures and its checkpoints set to the
// outcome's.
std::string with_figures(const std::string &text, const replay::Outcome &o) {
  char figures[160];
  std::snprintf(figures, sizeof figures, "hash %llx\noutput %llx\nscore %d\nticks %ld\n",
                static_cast<unsigned long long>(o.hash), static_cast<unsigned long long>(o.output), o.score, o.ticks);
  return std::regex_replace(text, std::regex("hash .*\noutput .*\nscore .*\nticks .*\n(checkpoint .*\n)*"),
                            figures + replay::checkpoint_lines(o.checkpoints));
}

// Replays the stored recording and compares its figures, or rewrites them;
// then `reached` must hold of where the game ended, and the verification's
// line say ok and hold `verified`.
void expect_replay(const std::string &name, bool reached(), const char *where, const char *verified = "") {
  ReplayData data;
  const std::string path = std::string(SWARMFIRE_SOURCE_DIR) + "/tests/replays/" + name + ".txt";
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  replay::Recording r;
  std::string problem;
  ASSERT_TRUE(replay::from_text(text.str(), r, problem)) << name << ": " << problem;
  ASSERT_FALSE(r.changes.empty()) << name;
  ScratchFolder scratch;
  std::string file = scratch.file(name + ".sfr");
  replay::Outcome o = replay::replay(r, file);
  ASSERT_EQ(o.status, 0) << name << ": the replay did not end by quitting";
  EXPECT_TRUE(reached()) << name << ": " << where;
  headless::reset();
  const char *update = std::getenv("SWARMFIRE_REPLAY_UPDATE");
  if (update && std::string(update) == "figures") {
    std::ofstream(path) << with_figures(text.str(), o);
    return;
  }
  EXPECT_EQ(replay::first_difference(o.checkpoints, r.checkpoints), "") << name << ": see the top of test_replay.cpp";
  EXPECT_EQ(o.ticks, r.ticks) << name;
  EXPECT_EQ(o.score, r.score) << name;
  EXPECT_EQ(o.hash, r.hash) << name;
  EXPECT_EQ(o.output, r.output) << name << ": the game was drawn or heard otherwise";
  std::string line;
  replay::Outcome v = replay::verify(file, line);
  EXPECT_EQ(v.status, 0) << name << ": " << line;
  EXPECT_TRUE(line.ends_with(": ok\n") && line.find(verified) != line.npos) << line;
  EXPECT_EQ(replay::first_difference(v.checkpoints, o.checkpoints), "")
      << name << ": the verification went through other states";
  EXPECT_EQ(v.ticks, r.ticks) << name << ": the verification waited otherwise";
  EXPECT_EQ(v.hash, o.hash) << name;
  headless::reset();
}

}  // namespace

TEST(ReplayTest, TheDemoAutopilotAfterTheBonusScreen) {
  expect_replay("demo", [] { return player.score > 0; }, "the demo did not play");
}

TEST(ReplayTest, AGameLostToTheGameOver) {
  expect_replay("game_over", [] { return player.lives == 0 && level_end == LEVEL_GAME_OVER; }, "the game was not lost");
}

TEST(ReplayTest, OptionsOffAndAGameThroughTwelveLevelsToTheEnding) {
  expect_replay("twelve_levels", [] {
    return level == 12 && option_shot_collisions == 0 && option_stars == 0 && option_scroll == 0 && option_glow == 1;
  }, "the game did not reach level 12 with the options set");
}

TEST(ReplayTest, AGameAfterEveryCapsuleLostAtLevelTen) {
  expect_replay("hazards", [] { return level == 10 && player.lives == 0; }, "the game was not lost at level 10");
}

TEST(ReplayTest, AGameThroughFourLevels) {
  expect_replay("levels", [] { return level == 5; }, "the game did not reach level 5", ", level 5, ");
}
