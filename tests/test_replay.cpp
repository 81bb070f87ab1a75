// Recorded games replayed from their keys alone: the demo's autopilot, a
// game lost to the game over, and a game through four levels. Each replay
// must end with the running world hash, the score and the number of ticks
// stored with it in tests/replays/, so that any change of behaviour shows
// as a changed figure.
//
// The games run on the stand-in datafiles of tests/support/replay_data.cpp,
// made by code rather than by the game's art, so new art leaves the figures
// alone; a change to those stand-ins, to the formations there, or to
// stand_in_datafile changes them, as does any change of the game's logic.
//
// When behaviour changes on purpose, update the figures deliberately and
// commit them with the change, saying why:
//   SWARMFIRE_REPLAY_UPDATE=figures build/unit_tests --gtest_filter='Replay*'
// keeps the recorded keys and rewrites hash, score and ticks. When the keys
// no longer fit the game (a recorded game now ends earlier, so that the
// checks after the replay fail), record the game again: play it headless
// with a driver that reads the game's state to choose its keys, and write
// the keys that changed, at the tick they changed, in the same format.
#include "frame/game_state.h"
#include "platform/headless.h"
#include "tests/support/replay.h"
#include "tests/support/replay_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using replay::Outcome;
using replay::Recording;

std::string recording_path(const std::string &name) {
  return std::string(SWARMFIRE_SOURCE_DIR) + "/tests/replays/" + name + ".txt";
}

std::string update_mode() {
  const char *mode = std::getenv("SWARMFIRE_REPLAY_UPDATE");
  return mode ? mode : "";
}

Recording read_recording(const std::string &name) {
  std::ifstream in(recording_path(name));
  std::stringstream text;
  text << in.rdbuf();
  Recording r;
  std::string problem;
  EXPECT_TRUE(replay::from_text(text.str(), r, problem)) << name << ": " << problem;
  return r;
}

void write_recording(const std::string &name, const Recording &r) {
  std::ofstream(recording_path(name)) << replay::to_text(r);
}

// Replays the stored recording and compares its figures, or rewrites them.
void expect_replay(const std::string &name) {
  ReplayData data;
  Recording r = read_recording(name);
  ASSERT_FALSE(r.changes.empty()) << name;
  Outcome o = replay::replay(r);
  ASSERT_EQ(o.status, 0) << name << ": the replay did not end by quitting";
  if (update_mode() == "figures") {
    r.hash = o.hash, r.score = o.score, r.ticks = o.ticks;
    write_recording(name, r);
    return;
  }
  EXPECT_EQ(o.ticks, r.ticks) << name << ": see the top of test_replay.cpp";
  EXPECT_EQ(o.score, r.score) << name;
  EXPECT_EQ(o.hash, r.hash) << name;
}

}  // namespace

TEST(ReplayTest, TheDemoAutopilotAfterTheBonusScreen) {
  expect_replay("demo");
  EXPECT_GT(player.score, 0) << "the demo did not play";
  headless::reset();
}

TEST(ReplayTest, AGameLostToTheGameOver) {
  expect_replay("game_over");
  EXPECT_EQ(player.lives, 0) << "the game was not lost";
  EXPECT_EQ(level_end, 1);
  headless::reset();
}

TEST(ReplayTest, AGameThroughFourLevels) {
  expect_replay("levels");
  EXPECT_EQ(level, 5) << "the game did not reach level 5";
  headless::reset();
}

// A recorded press taken out changes nothing before the tick after it (keys
// set at a tick are read by the logic step that runs before the next) and
// every tick's world from there on.
TEST(ReplayTest, AFirePressLeftOutChangesTheGameFromTheNextTickOn) {
  ReplayData data;
  Recording r = read_recording("game_over");
  Outcome original = replay::replay(r, true);
  // The first press in play (the one before it starts the game).
  auto fire = std::find_if(r.changes.begin() + 1, r.changes.end(), [](const replay::Change &c) {
    return (c.input.held & replay::ALT) != 0;
  });
  ASSERT_NE(fire, r.changes.end());
  fire->input.held &= ~unsigned(replay::ALT);
  Outcome changed = replay::replay(r, true);
  auto differ = std::mismatch(original.per_tick.begin(), original.per_tick.end(), changed.per_tick.begin());
  EXPECT_EQ(differ.first - original.per_tick.begin() + 1, fire->tick + 1);
  EXPECT_NE(changed.hash, original.hash);
  headless::reset();
}
