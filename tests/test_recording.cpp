// Recording and replaying at the seam: a replay gives the game the answers,
// buffered keys, ticks and close of the recording, and stops at the first
// call that is not the recorded one; a file cut anywhere replays up to its
// cut; a recording that cannot be written stops the program before its
// window opens.
#include "frame/recorded_run.h"
#include "platform/input_log.h"
#include "platform/key_script.h"
#include "platform/platform.h"
#include "tests/support/data_files.h"
#include "tests/support/headless_game.h"

#include <algorithm>
#include <fstream>

namespace {

int ticks = 0;
void count_tick() { ++ticks; }

// What a stand-in for the game was told, frame by frame, and whether the
// close button stopped it.
struct Seen {
  std::vector<std::string> frames;
  bool closed = false;
  bool operator==(const Seen &) const = default;
};

// The stand-in: 40 frames of key polls, a buffered key taken when there is
// one, a fade and the pause's wait for time. `asked` replaces Right at one
// frame.
Seen play_frames(BITMAP *frame, long odd_frame = -1, int asked = KEY_UP) {
  Seen seen;
  ticks = 0;
  platform_install_timer(count_tick);
  try {
    for (long f = 0; f < 40; ++f) {
      std::string told;
      told += platform_key(KEY_LEFT) ? 'L' : '-';
      told += platform_key(f == odd_frame ? asked : KEY_RIGHT) ? 'R' : '-';
      if (platform_keypressed()) told += " key " + std::to_string(platform_readkey());
      if (f == 20) platform_fade_out(16);
      if (f == 25) platform_yield();
      platform_present(frame);
      seen.frames.push_back(told + " " + std::to_string(ticks));
    }
  } catch (const QuitRequested &) {
    seen.closed = true;
  }
  platform_remove_timer(count_tick);
  return seen;
}

// The twin's live answers: Left and Right held over frames, a key pressed,
// 0 to 2 ticks a frame, the close button at frame 35.
void live_input() {
  KeyScript()
      .hold(KEY_LEFT, 5, 9)
      .hold(KEY_RIGHT, 8, 30)
      .press(KEY_SPACE, 12)
      .on_event([](const headless::Event &e) {
        headless::set_ticks_per_frame(static_cast<int>(e.frame % 3));
        if (e.frame == 35) headless::request_close();
      })
      .install();
}

Seen replayed(const std::string &file, BITMAP *frame, ReplayOutcome &outcome, long odd_frame = -1,
              int asked = KEY_UP) {
  headless::reset();
  recording::Header header;
  EXPECT_EQ(input_log_replay(file, header, false), "");
  Seen seen = play_frames(frame, odd_frame, asked);
  outcome = input_log_finish_replay();
  return seen;
}

using RecordingTest = HeadlessTest;

TEST_F(RecordingTest, AReplayGivesTheRecordedInputsAndStopsAtTheFirstCallThatDiffers) {
  BITMAP *frame = create_bitmap(320, 240);
  clear(frame);
  ScratchFolder scratch;
  std::string file = scratch.file("game.sfr");
  live_input();
  ASSERT_EQ(input_log_record(file, {"1.0", 7, 0, false}), "");
  Seen live = play_frames(frame);
  recording::Totals totals{36, 40, 123, 2, 99};
  ASSERT_EQ(input_log_finish_recording(&totals), "");
  ASSERT_EQ(live.frames.size(), 35u);
  ASSERT_TRUE(live.closed);
  std::string space = " key " + std::to_string(KEY_SPACE << 8) + " ";
  EXPECT_EQ(std::count_if(live.frames.begin(), live.frames.end(),
                          [&](const std::string &f) { return f.find(space) != std::string::npos; }),
            1);

  ReplayOutcome outcome;
  EXPECT_EQ(replayed(file, frame, outcome), live);
  EXPECT_EQ(outcome.end, ReplayEnd::Complete) << outcome.problem;
  EXPECT_EQ(outcome.recorded, totals);
  EXPECT_EQ(outcome.frames, 35);

  // Asked for Up where the recording turned Right over: at that call.
  long right_from = 0;
  while (live.frames[right_from][1] != 'R') ++right_from;
  replayed(file, frame, outcome, right_from);
  EXPECT_EQ(outcome.end, ReplayEnd::OutOfStep);
  EXPECT_EQ(outcome.problem, "the game asked for key Up where the recording has key Right");
  // Asked for Up where Right was polled but did not change: at the frame.
  replayed(file, frame, outcome, right_from + 2);
  EXPECT_EQ(outcome.problem, "the game asked for a frame after 3 inputs, as recorded, but they were not the recorded ones");
  EXPECT_EQ(outcome.frames, right_from + 2);

  // Cut anywhere, a file replays to its cut and says so; it never hangs or
  // answers past it.
  std::vector<uint8_t> bytes = read_bytes(file);
  size_t frames_before = 0;
  for (size_t cut = 24; cut < bytes.size(); ++cut) {
    std::ofstream(scratch.file("cut.sfr"), std::ios::binary).write(reinterpret_cast<char *>(bytes.data()), cut);
    Seen seen = replayed(scratch.file("cut.sfr"), frame, outcome);
    EXPECT_EQ(outcome.end, ReplayEnd::CutShort) << cut << " of " << bytes.size() << ": " << outcome.problem;
    EXPECT_TRUE(seen.closed);
    EXPECT_GE(seen.frames.size(), frames_before);
    frames_before = seen.frames.size();
    seen.frames.resize(std::min(seen.frames.size(), live.frames.size()));
    EXPECT_TRUE(std::equal(seen.frames.begin(), seen.frames.end(), live.frames.begin())) << cut;
  }
  EXPECT_EQ(frames_before, live.frames.size());
  destroy_bitmap(frame);
}

TEST_F(RecordingTest, AFileThatCannotBeCreatedStopsTheProgramBeforeItsWindowOpens) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(record_game("/nonexistent/game.sfr", {}), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "swarmfire: /nonexistent/game.sfr: cannot be created: No such file or directory\n");
  EXPECT_FALSE(headless::started());
  EXPECT_EQ(headless::display(), nullptr);
}

}  // namespace
