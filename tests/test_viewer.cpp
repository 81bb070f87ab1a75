// The viewer of a watched replay (--play), headless: a seek anywhere, ahead
// or back, leaves the game in the state (world and logical screen) that
// playing straight there leaves it in; the keys pause, step, change the
// speed and end the replay; the mark is on the display only and sound plays
// only at 1x; and Return hands the game to the player, into a recording
// that starts with the watched inputs and verifies as any other.
#include "data/replay_datafiles.h"
#include "frame/game_state.h"
#include "frame/recorded_run.h"
#include "frame/replay_snapshots.h"
#include "frame/world_hash.h"
#include "platform/display/presenter.h"
#include "platform/recording/input_log.h"
#include "platform/recording/recording_reader.h"
#include "platform/recording/recording_writer.h"
#include "platform/recording/viewer.h"
#include "platform/recording/viewer_marks.h"
#include "platform/shared/whole_file.h"
#include "tests/support/headless_game.h"
#include "tests/support/replay.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

namespace {

using Hook = std::function<void(const headless::Event &, long long waits)>;

bool ticking(const headless::Event &e) {
  return e.kind == Wait::Present || e.kind == Wait::Yield || e.kind == Wait::KeyWait;
}

uint64_t picture_hash() { return replay::picture_hash(0); }

struct Moment {
  uint64_t world = 0, picture = 0;
  bool operator==(const Moment &) const = default;
};
Moment now() { return {world_hash(), picture_hash()}; }

// The bottom band of the display, where the mark goes, against the
// logical screen's. The twin's desktop fits a window of 320 x 240: the
// picture covers the display at scale 1.
bool marked() {
  BITMAP *d = headless_twin.display, *s = headless::screen();
  for (int y = 226; y < 240; ++y)
    if (std::memcmp(d->line[y], s->line[y], 320) != 0) return true;
  return false;
}

// The stored game, recorded into a file and watched through the twin.
class ViewerTest : public HeadlessTest {
 protected:
  ReplayData data_;
  ScratchFolder scratch_;
  std::string file_ = scratch_.file("watched.sfr");

  void record(const std::string &name) {
    replay::Recording stored;
    std::string problem;
    ASSERT_TRUE(replay::from_file(SWARMFIRE_SOURCE_DIR "/tests/replays/" + name + ".txt", stored, problem)) << problem;
    ASSERT_EQ(replay::replay(stored, file_).status, 0);
    SetUp();
  }
  int watch(const Hook &each, const std::string &take_over = {}) {
    headless::set_hook([&](const headless::Event &e) { each(e, input_log_waits()); });
    int status = play_recording(file_, {}, false, take_over);
    headless::set_hook(nullptr);
    return status;
  }

  struct Seek {
    long long at;
    std::vector<int> keys;
    long long lands;         // the clock at the first wait shown after it
    bool from_kept = false;  // back to a kept state, not to the start
  };
  // Watches the recording, pressing each seek's keys at its wait: each lands
  // where it says, on straight play's world and picture there, from a kept
  // state or from the start as it says. Returns how many landed; `landing`
  // tells whether the last pressed had not landed when the replay ended.
  size_t seek_through(const std::vector<Seek> &seeks, std::map<long long, Moment> &straight, bool &landing) {
    size_t next = 0;
    long long restored = 0;
    landing = false;
    EXPECT_EQ(watch([&](const headless::Event &e, long long waits) {
                if (!ticking(e) || next == seeks.size()) return;
                if (landing) {
                  landing = false;
                  EXPECT_EQ(waits, seeks[next].lands) << "seek " << next;
                  EXPECT_EQ(now(), straight[waits]) << "seek " << next << " landed at " << waits;
                  EXPECT_EQ(snapshots_restored() - restored, seeks[next].from_kept ? 1 : 0) << "seek " << next;
                  ++next;
                }
                restored = snapshots_restored();
                if (next < seeks.size() && waits == seeks[next].at) {
                  for (int key : seeks[next].keys) headless::press(key);
                  landing = true;
                }
              }),
              0);
    return next;
  }
};

TEST_F(ViewerTest, ASeekAheadOrBackGivesTheStateOfPlayingStraightThere) {
  record("levels");
  std::map<long long, Moment> straight;
  long long level_two = -1;
  ASSERT_EQ(watch([&](const headless::Event &e, long long waits) {
              if (!ticking(e)) return;
              straight[waits] = now();
              if (level == 2 && level_two < 0) level_two = waits;
            }),
            0);
  const Moment last = now();
  const long long end = straight.rbegin()->first;
  ASSERT_GT(level_two, 700);

  SetUp();
  const std::vector<Seek> seeks = {
      {level_two - 601, {KEY_RIGHT}, level_two},  // ahead onto the level's first wait
      {level_two + 599, {KEY_LEFT}, level_two, true},        // back onto it
      {level_two + 299, {KEY_LEFT}, level_two - 300, true},  // into the level before, through its end
      {level_two + 50, {KEY_HOME}, 1},            // the start
      {300, {KEY_LEFT}, 1},                       // back past the start
      {1000, {KEY_RIGHT, KEY_RIGHT}, 2201},       // two presses, twice as far
      {end - 300, {KEY_RIGHT}, end + 1},          // past the last wait: the end
  };
  bool landing;
  EXPECT_EQ(seek_through(seeks, straight, landing), seeks.size() - 1);
  EXPECT_TRUE(landing);
  EXPECT_EQ(now(), last);
  // --verify, which leaves the frames nobody sees undrawn, ends on them too.
  std::string line;
  EXPECT_EQ(replay::verify(file_, line).status, 0);
  EXPECT_EQ(now(), last);
}

// The game over reads the level's last frame back: a seek that passes the
// level's frames undrawn, ahead or back from a kept state, lands in it on
// the picture of straight play.
TEST_F(ViewerTest, ASeekIntoTheGameOverLandsOnItsPicture) {
  record("game_over");
  std::map<long long, Moment> straight;
  long long over = -1;
  ASSERT_EQ(watch([&](const headless::Event &e, long long waits) {
              if (!ticking(e)) return;
              straight[waits] = now();
              if (level_end == LEVEL_GAME_OVER && over < 0) over = waits;
            }),
            0);
  ASSERT_GT(over, 1300);
  SetUp();
  const std::vector<Seek> seeks = {
      {over - 570, {KEY_RIGHT}, over + 31},
      {over + 60, {KEY_LEFT}, over - 539, true},
      {over - 539, {KEY_RIGHT}, over + 62},  // on from the kept state
  };
  bool landing;
  EXPECT_EQ(seek_through(seeks, straight, landing), seeks.size());
}

// Keys that come during a long seek are acted on while it runs: each F11
// (two switch the window and back), then Esc ends the replay short of the
// seek's end; after its first 0.2 s the mark on the display moves with it.
// The input between the waits comes at the seek's first wait and every 50
// ms: the hook sleeps for that.
TEST_F(ViewerTest, KeysDuringASeekAreActedOnAndTheMarkMoves) {
  record("levels");
  int calls = 0;
  long written = 0;
  bool fullscreen_at_start = false;
  headless::set_between_hook([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    ++calls;
    if (calls == 1) {
      fullscreen_at_start = headless_twin.fullscreen;
      headless_twin.switch_asked += 1;
    } else if (calls == 2) {
      EXPECT_NE(headless_twin.fullscreen, fullscreen_at_start);
      headless_twin.switch_asked += 2;
    } else if (calls == 3) {
      EXPECT_NE(headless_twin.fullscreen, fullscreen_at_start);
      written = presenter_rows_written();
    } else if (calls == 6) {
      EXPECT_GT(presenter_rows_written(), written);
      headless::press(KEY_ESC);
    }
  });
  long long last = 0;
  EXPECT_EQ(watch([&](const headless::Event &e, long long waits) {
              last = waits;
              if (waits == 300 && ticking(e))
                for (int k = 0; k < 10; ++k) headless::press(KEY_RIGHT);
            }),
            0);
  headless::set_between_hook(nullptr);
  EXPECT_EQ(calls, 6);
  EXPECT_LT(last, 301 + 6000);
}

TEST_F(ViewerTest, PauseStepSpeedAndEscAndTheMarkOnTheDisplayOnly) {
  record("game_over");
  // What happened at each hook: the clock, and whether the display and the
  // sound device were given anything.
  struct Seen {
    long long waits;
    bool marked;
    uint64_t picture;
    long plays;  // samples played so far
  };
  std::vector<Seen> seen;
  std::vector<std::pair<long long, std::vector<int>>> keys = {
      {200, {KEY_SPACE}},                                // pause
      {-30, {KEY_STOP}},                                 // 30 waits of the display later: a step
      {-30, {KEY_STOP}},                                 // another
      {-30, {KEY_P}},                                    // a pad's Start: play on
      {400, {KEY_EQUALS, KEY_EQUALS, KEY_PLUS_PAD}},     // 8x ("=", "=", keypad "+")
      {600, {KEY_MINUS, KEY_MINUS, KEY_MINUS, KEY_MINUS, KEY_MINUS_PAD, KEY_MINUS}},  // 1/4x, no slower
      {640, {KEY_EQUALS, KEY_EQUALS}},                   // 1x
      {1000, {KEY_ESC}},
  };
  size_t next = 0;
  long long since = 0;
  auto ascii = [](int key) {
    return key == KEY_STOP ? '.' : key == KEY_EQUALS ? '=' : key == KEY_PLUS_PAD ? '+' : key == KEY_MINUS ? '-' : 0;
  };
  EXPECT_EQ(watch([&](const headless::Event &, long long waits) {
              long plays = std::count_if(headless::samples().begin(), headless::samples().end(),
                                         [](const headless::SampleCall &c) { return !c.stop; });
              seen.push_back({waits, marked(), picture_hash(), plays});
              ++since;
              if (next == keys.size()) return;
              long long at = keys[next].first;
              if (at < 0 ? since < -at : waits < at) return;
              for (int key : keys[next++].second) headless::press(key, ascii(key));
              since = 0;
            }),
            0);
  ASSERT_EQ(next, keys.size());
  auto first_at = [&](long long waits) {
    size_t i = 0;
    while (i < seen.size() && seen[i].waits < waits) ++i;
    return i;
  };
  // Paused at 200: the clock and the picture stand for 30 waits of the
  // display, then move by one for each step, and on.
  size_t paused = first_at(200) + 1;
  for (size_t i = paused; i < paused + 90; ++i) {
    EXPECT_EQ(seen[i].waits, 200 + long(i - paused) / 30) << i;
    EXPECT_EQ(seen[i].picture, seen[paused + (i - paused) / 30 * 30].picture) << i;
    EXPECT_TRUE(seen[i].marked) << i;
  }
  EXPECT_GT(seen[paused + 150].waits, 240);
  // 8x: eight waits of the recording to each shown; 1/4x: four of the
  // display to each; 1x: one.
  size_t fast = first_at(420);
  EXPECT_EQ(seen[fast + 1].waits - seen[fast].waits, 8);
  size_t slow = first_at(610);
  EXPECT_EQ(seen[slow + 4].waits - seen[slow].waits, 1);
  size_t normal = first_at(700);
  EXPECT_EQ(seen[normal + 1].waits - seen[normal].waits, 1);
  // The mark shows for two seconds after a key, then the display is the
  // picture again; no sample is played but at 1x.
  EXPECT_TRUE(seen[first_at(640 + 100)].marked);
  EXPECT_FALSE(seen[first_at(640 + 130)].marked);
  EXPECT_FALSE(seen[first_at(180)].marked);
  EXPECT_TRUE(seen[1].marked);
  EXPECT_EQ(seen[first_at(640)].plays, seen[first_at(400) + 1].plays);
  EXPECT_GT(seen[first_at(900)].plays, seen[first_at(640) + 1].plays);
  // Esc ended it there.
  EXPECT_EQ(seen.back().waits, 1000);
}

// The records of a recording in order, a repeat counted out, up to the
// segment that ends at `waits`.
std::vector<recording::Record> records_of(const std::string &file, long long waits) {
  recording::Reader reader;
  recording::Header header;
  EXPECT_EQ(recording::open_reader(reader, file, header), "");
  std::vector<recording::Record> records;
  for (long long ends = 0; ends < waits;) {
    recording::Record r = recording::next_record(reader);
    if (r.type != recording::Record::Change && r.type != recording::Record::ReadKey && r.type != recording::Record::End)
      break;
    ends += r.type == recording::Record::End;
    records.push_back(r);
  }
  return records;
}

bool same(const std::vector<recording::Record> &a, const std::vector<recording::Record> &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const recording::Record &x, const recording::Record &y) {
    return x.type == y.type && x.at == y.at && x.question == y.question && x.value == y.value && x.end == y.end;
  });
}

TEST_F(ViewerTest, ReturnHandsTheGameToThePlayerIntoARecordingOfItsOwn) {
  record("game_over");
  const std::string taken = scratch_.file("taken.sfr");
  long long taken_at = -1;
  EXPECT_EQ(watch([&](const headless::Event &e, long long waits) {
              if (taken_at < 0 && input_log_taken_over()) taken_at = waits;
              if (taken_at < 0) {
                // Ahead and back before it: the recording starts again with the replay.
                if (waits == 300 && ticking(e)) headless::press(KEY_RIGHT);
                if (waits == 1100 && ticking(e)) headless::press(KEY_LEFT);
                if (waits == 800 && ticking(e)) headless::press(KEY_ENTER);
                return;
              }
              // Live: the viewer's keys are the game's now; Left steers,
              // Home is nothing, and the window is closed a second later.
              headless::hold(KEY_LEFT, true);
              if (waits == taken_at + 10) headless::press(KEY_HOME);
              if (waits >= taken_at + 60) headless::request_close();
            },
            taken),
            0);
  ASSERT_GE(taken_at, 800);
  struct stat info;
  ASSERT_EQ(stat(taken.c_str(), &info), 0);
  // Its own figures, and the watched inputs up to the take-over.
  std::string watched_line, taken_line;
  EXPECT_EQ(replay::verify(file_, watched_line).status, 0);
  EXPECT_EQ(replay::verify(taken, taken_line).status, 0) << taken_line;
  EXPECT_TRUE(taken_line.ends_with(": ok\n")) << taken_line;
  EXPECT_NE(taken_line.substr(taken_line.find(": ")), watched_line.substr(watched_line.find(": ")));
  std::vector<recording::Record> before = records_of(file_, taken_at), after = records_of(taken, taken_at);
  EXPECT_GT(before.size(), 100u);
  EXPECT_TRUE(same(before, after));
  EXPECT_FALSE(same(records_of(file_, taken_at + 60), records_of(taken, taken_at + 60)));
}

TEST_F(ViewerTest, WithoutReturnTheTakeOverIsNotWrittenAndSaysSo) {
  record("game_over");
  const std::string taken = scratch_.file("taken.sfr");
  long long last = 0;
  testing::internal::CaptureStderr();
  EXPECT_EQ(watch([&](const headless::Event &, long long waits) { last = waits; }, taken), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "swarmfire: " + taken + ": not written: the recording ended before Return took over from it\n");
  EXPECT_EQ(read_whole_file(taken).failure, ReadFailure::CannotOpen);
  // --verify names the length the viewer counted to.
  std::string line;
  EXPECT_EQ(replay::verify(file_, line).status, 0);
  EXPECT_TRUE(line.ends_with(", " + time_of_waits(last) + " long: ok\n")) << line << " after " << last << " waits";
  // Return without --record: nothing.
  SetUp();
  EXPECT_EQ(watch([](const headless::Event &, long long waits) {
              if (waits == 300) headless::press(KEY_ENTER);
            }),
            0);
  EXPECT_FALSE(input_log_taken_over());
  // Esc before Return says so.
  SetUp();
  testing::internal::CaptureStderr();
  EXPECT_EQ(watch([](const headless::Event &, long long waits) {
              if (waits == 300) headless::press(KEY_ESC);
            },
                  taken),
            1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "swarmfire: " + taken +
                ": not written: Esc or the close button stopped the replay before Return took over from it\n");
  // A take-over into the file watched, by its name or through a link, is
  // refused before the replay starts, and the file stays as it was.
  const std::vector<uint8_t> watched = read_whole_file(file_).bytes;
  const std::string link = scratch_.file("link.sfr");
  std::filesystem::create_hard_link(file_, link);
  for (const std::string &same : {file_, link}) {
    SetUp();
    testing::internal::CaptureStderr();
    EXPECT_EQ(watch([](const headless::Event &, long long) { ADD_FAILURE() << "the replay started"; }, same), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "swarmfire: " + same +
                  ": is the recording --play shows; a take-over goes into another file (see swarmfire --help)\n");
  }
  EXPECT_EQ(read_whole_file(file_).bytes, watched);
}

}  // namespace
