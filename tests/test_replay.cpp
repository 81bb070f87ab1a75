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
// keeps the recorded keys and rewrites hash, score and ticks;
//   SWARMFIRE_REPLAY_UPDATE=record build/unit_tests --gtest_filter='Replay*'
// plays the games again with their drivers (tests/support/replay_pilots)
// and rewrites the keys too (needed when the keys no longer fit the game,
// e.g. a recorded game now ends earlier).
#include "frame/game_state.h"
#include "platform/headless.h"
#include "tests/support/replay.h"
#include "tests/support/replay_data.h"
#include "tests/support/replay_pilots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using replay::Driver;
using replay::Outcome;
using replay::Recording;

std::string recording_path(const std::string &name) {
  return std::string(SWARMFIRE_SOURCE_DIR) + "/tests/replays/" + name + ".txt";
}

std::string update_mode() {
  const char *mode = std::getenv("SWARMFIRE_REPLAY_UPDATE");
  return mode ? mode : "";
}

const std::vector<std::string> update_note = {
    "Replayed by tests/test_replay.cpp, which says how to update these figures.",
    "Format: the expected running world hash, final score and tick count; then",
    "from each listed tick on, the keys held ('-' none), 'press' a buffered key."};

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
void expect_replay(const std::string &name, const std::string &what, const Driver &driver) {
  ReplayData data;
  Recording r;
  if (update_mode() == "record") {
    r.comments = {what};
    r.comments.insert(r.comments.end(), update_note.begin(), update_note.end());
    replay::record(driver, r);
    write_recording(name, r);
    return;
  }
  r = read_recording(name);
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
  expect_replay("demo", "The title left alone: the bonus screen, the demo, then quit.", replay::demo_watcher());
  EXPECT_GT(player.score, 0) << "the demo did not play";
  headless::reset();
}

TEST(ReplayTest, AGameLostToTheGameOver) {
  expect_replay("game_over", "A game aimed but never dodged, lost to the game over, then quit.",
                replay::careless_game());
  EXPECT_EQ(player.lives, 0) << "the game was not lost";
  EXPECT_EQ(level_end, 1);
  headless::reset();
}

TEST(ReplayTest, AGameThroughFourLevels) {
  expect_replay("levels", "A game that dodges, completes levels 1 to 4, ends with Esc at 5, then quit.",
                replay::careful_game(4));
  EXPECT_EQ(level, 5) << "the game did not reach level 5";
  headless::reset();
}

TEST(ReplayTest, ARecordedGameReplaysTheSameHashAfterEveryTick) {
  ReplayData data;
  Recording r;
  Outcome live = replay::record(replay::careless_game(), r, true);
  Recording parsed;
  std::string problem;
  ASSERT_TRUE(replay::from_text(replay::to_text(r), parsed, problem)) << problem;
  Outcome again = replay::replay(parsed, true);
  ASSERT_EQ(again.per_tick.size(), live.per_tick.size());
  auto differ = std::mismatch(live.per_tick.begin(), live.per_tick.end(), again.per_tick.begin());
  EXPECT_EQ(differ.first, live.per_tick.end())
      << "first different at tick " << differ.first - live.per_tick.begin() + 1;
  EXPECT_EQ(again.hash, live.hash);
  EXPECT_EQ(again.score, live.score);
  EXPECT_GT(live.score, 0);
  headless::reset();
}

TEST(ReplayTest, AFirePressLeftOutChangesTheGameFromTheNextTickOn) {
  ReplayData data;
  Recording r;
  Outcome original = replay::record(replay::careless_game(), r, true);
  // The first press in play (the one before it starts the game).
  auto fire = std::find_if(r.changes.begin() + 1, r.changes.end(), [](const replay::Change &c) {
    return (c.input.held & replay::ALT) != 0;
  });
  ASSERT_NE(fire, r.changes.end());
  fire->input.held &= ~unsigned(replay::ALT);
  Outcome changed = replay::replay(r, true);
  EXPECT_NE(changed.hash, original.hash);
  auto differ = std::mismatch(original.per_tick.begin(), original.per_tick.end(), changed.per_tick.begin());
  // Keys set at a tick are read by the logic step that runs before the next.
  EXPECT_EQ(differ.first - original.per_tick.begin() + 1, fire->tick + 1);
  headless::reset();
}

TEST(ReplayTest, TextThatIsNotARecordingIsRefused) {
  Recording r;
  std::string problem;
  EXPECT_FALSE(replay::from_text("hash 12\nscore 3\nticks 9\ninput\n5 alt+jump\n", r, problem));
  EXPECT_NE(problem.find("alt+jump"), std::string::npos);
  EXPECT_FALSE(replay::from_text("hash 12\nbogus 4\n", r, problem));
  EXPECT_FALSE(replay::from_text("hash zz\n", r, problem));
  EXPECT_FALSE(replay::from_text("input\n5x alt\n", r, problem));
  EXPECT_FALSE(replay::from_text("input\n0 -\n", r, problem));  // ticks count from 1
  EXPECT_TRUE(replay::from_text("# note\nhash ff\nscore 3\nticks 9\ninput\n5 left+alt\n7 - press\n", r, problem));
  ASSERT_EQ(r.changes.size(), 2u);
  EXPECT_EQ(r.changes[0].input.held, unsigned(replay::LEFT | replay::ALT));
  EXPECT_TRUE(r.changes[1].input.press);
  EXPECT_EQ(r.hash, 0xffu);
  EXPECT_EQ(replay::to_text(r), "# note\nhash ff\nscore 3\nticks 9\ninput\n5 left+alt\n7 - press\n");
}
