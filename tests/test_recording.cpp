// Recording and replaying at the seam: a replay gives the game the answers,
// buffered keys, ticks and close of the recording, and stops at the first
// call that is not the recorded one; a file cut anywhere replays up to its
// cut; a recording that cannot be written, or would replace what is no
// recording, stops the program before its window opens; an earlier file
// stays until the recording is whole; a replay writes no file.
#include "data/replay_datafiles.h"
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "frame/recorded_run.h"
#include "platform/headless/key_script.h"
#include "platform/platform.h"
#include "platform/recording/input_log.h"
#include "platform/recording/recording_reader.h"
#include "platform/recording/recording_writer.h"
#include "platform/shared/whole_file.h"
#include "platform/sys/stop_signals.h"
#include "tests/support/headless_game.h"
#include "tests/support/replay.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

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
// one, a fade and the pause's wait for time. Up replaces Right at one frame.
Seen play_frames(BITMAP *frame, long odd_frame = -1) {
  Seen seen;
  ticks = 0;
  platform_install_timer(count_tick);
  try {
    for (long f = 0; f < 40; ++f) {
      std::string told;
      told += platform_key(KEY_LEFT) ? 'L' : '-';
      told += platform_key(f == odd_frame ? KEY_UP : KEY_RIGHT) ? 'R' : '-';
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
// 0 to 2 ticks a frame, the close button at frame 35; and `also`.
void live_input(std::function<void(const headless::Event &)> also = nullptr) {
  KeyScript()
      .hold(KEY_LEFT, 5, 9)
      .hold(KEY_RIGHT, 8, 30)
      .press(KEY_SPACE, 12)
      .on_event([also](const headless::Event &e) {
        headless_twin.ticks_per_frame = static_cast<int>(e.frame % 3);
        if (e.frame == 35) headless::request_close();
        if (also) also(e);
      })
      .install();
}

Seen replayed(const std::string &file, BITMAP *frame, ReplayOutcome &outcome, long odd_frame = -1) {
  headless::reset();
  recording::Header header;
  EXPECT_EQ(input_log_replay(file, header, false), "");
  Seen seen = play_frames(frame, odd_frame);
  outcome = input_log_finish_replay();
  return seen;
}

// What `run` writes on stderr, through a pipe (a file would meet the file
// size limit of the test that uses it).
std::string stderr_of(const std::function<void()> &run) {
  int ends[2];
  EXPECT_EQ(pipe(ends), 0);
  int saved = dup(STDERR_FILENO);
  dup2(ends[1], STDERR_FILENO);
  close(ends[1]);
  run();
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = read(ends[0], chunk, sizeof chunk)) > 0;) text.append(chunk, size_t(n));
  close(ends[0]);
  return text;
}

using RecordingTest = HeadlessTest;

const recording::Header header_1_0{"1.0", 7, 0, false};
const recording::Totals totals{36, 40, 123, 2, 99};

// A stand-in's run recorded whole into best.sfr: what it was told, and the
// file's bytes.
class RecordedTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    frame = create_bitmap(320, 240);
    clear(frame);
    live_input();
    ASSERT_EQ(input_log_record(file, header_1_0), "");
    live = play_frames(frame);
    ASSERT_EQ(input_log_finish_recording(&totals), "");
    ASSERT_EQ(live.frames.size(), 35u);
    ASSERT_TRUE(live.closed);
    bytes = read_whole_file(file).bytes;
  }
  void TearDown() override {
    destroy_bitmap(frame);
    HeadlessTest::TearDown();
  }
  ScratchFolder scratch;
  const std::string file = scratch.file("best.sfr"), part = file + "." + std::to_string(getpid()) + ".part";
  BITMAP *frame = nullptr;
  Seen live;
  std::vector<uint8_t> bytes;
};

TEST_F(RecordedTest, AReplayFollowsTheRecordingAndStopsAtTheFirstCallOutOfStep) {
  EXPECT_FALSE(fs::exists(part));
  std::string space = " key " + std::to_string(KEY_SPACE << 8) + " ";
  EXPECT_EQ(std::ranges::count_if(live.frames, [&](const std::string &f) { return f.find(space) != f.npos; }), 1);

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
}

// Cut anywhere, a file replays to its cut and says so; it never hangs or
// answers past it.
TEST_F(RecordedTest, AFileCutAnywhereReplaysToItsCut) {
  ReplayOutcome outcome;
  size_t frames_before = 0;
  for (size_t cut = 24; cut < bytes.size(); ++cut) {
    std::ofstream(scratch.file("cut.sfr"), std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), cut);
    Seen seen = replayed(scratch.file("cut.sfr"), frame, outcome);
    EXPECT_EQ(outcome.end, ReplayEnd::CutShort) << cut << " of " << bytes.size() << ": " << outcome.problem;
    EXPECT_TRUE(seen.closed);
    EXPECT_GE(seen.frames.size(), frames_before);
    frames_before = seen.frames.size();
    seen.frames.resize(std::min(seen.frames.size(), live.frames.size()));
    EXPECT_TRUE(std::equal(seen.frames.begin(), seen.frames.end(), live.frames.begin())) << cut;
  }
  EXPECT_EQ(frames_before, live.frames.size());
}

// Another recording into the same name, its writes failing after the header
// (past the file size limit, SIGXFSZ ignored as the game does): told at the
// first flush (every 30 waits), the game goes on, the earlier file stays.
TEST_F(RecordedTest, AWriteThatFailsIsToldAtOnceAndTheEarlierFileStays) {
  stop_signals_install();
  headless::reset();
  live_input([](const headless::Event &e) {
    if (e.frame == 33) std::fputs("frame 33\n", stderr);
  });
  ASSERT_EQ(input_log_record(file, header_1_0), "");
  EXPECT_EQ(read_whole_file(file).bytes, bytes);
  rlimit was;
  getrlimit(RLIMIT_FSIZE, &was);
  const rlimit limit{fs::file_size(part), was.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limit);
  Seen seen;
  std::string told = stderr_of([&] { seen = play_frames(frame); });
  EXPECT_EQ(seen.frames.size(), 35u);
  EXPECT_EQ(input_log_finish_recording(&totals), "File too large");
  setrlimit(RLIMIT_FSIZE, &was);
  EXPECT_LT(told.find("swarmfire: " + file + ": the recording stops here (File too large); the game goes on unrecorded\n"),
            told.find("frame 33"))
      << told;
  EXPECT_EQ(read_whole_file(file).bytes, bytes);
  EXPECT_FALSE(fs::exists(part));
}

// A writer opened over one still open gives the open one up, its part file
// with it; a name near the folder's limit on names gets a part file whose
// name is cut to fit.
TEST_F(RecordedTest, AWriterOverAnOpenOneGivesItUpAndALongNameStillRecords) {
  std::string other = scratch.file("other.sfr");
  recording::Writer writer;
  ASSERT_EQ(recording::open_writer(writer, other, header_1_0), "");
  ASSERT_EQ(recording::open_writer(writer, file, header_1_0), "");
  EXPECT_FALSE(fs::exists(other + "." + std::to_string(getpid()) + ".part"));
  EXPECT_EQ(recording::close_writer(writer, nullptr, false), "");
  EXPECT_EQ(read_whole_file(file).bytes, bytes);
  EXPECT_FALSE(fs::exists(part));

  const std::string longest = scratch.file(std::string(250, 'n') + ".sfr");
  ASSERT_EQ(recording::open_writer(writer, longest, header_1_0), "");
  EXPECT_EQ(fs::path(writer.part).filename().string().size(), 255u);
  EXPECT_EQ(recording::close_writer(writer, nullptr), "");
  EXPECT_TRUE(fs::exists(longest));
}

// Strings from a file reach the terminal escaped, the controls of the text's
// direction too (U+202E, U+2069); a number of more than 32
// bits is damage, whatever numbers follow it.
std::vector<uint8_t> recording_of(const std::string &version, const std::vector<uint8_t> &records) {
  std::vector<uint8_t> bytes = {'S', 'W', 'A', 'R', 'M', 'R', 'E', 'C', 1, 0, uint8_t(version.size())};
  for (char c : version) bytes.push_back(uint8_t(c));
  bytes.insert(bytes.end(), 8 + 2, 0);  // digest, scale, fullscreen
  bytes.insert(bytes.end(), records.begin(), records.end());
  return bytes;
}

TEST_F(RecordingTest, AForgedVersionIsPrintedEscapedAndAnOverlongNumberIsDamage) {
  ScratchFolder scratch;
  write_bytes(scratch.file("forged.sfr"), recording_of("Z\u00fc \u00a0\r\x1b[2Ka.sfr: ok\xc2\x9b\xff\x7f\u202e\u2069", {}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(verify_recording(scratch.file("forged.sfr")), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "swarmfire: " + scratch.file("forged.sfr") +
                ": was recorded with swarmfire Z\u00fc \u00a0\\x0d\\x1b[2Ka.sfr: ok\\xc2\\x9b\\xff\\x7f"
                "\\xe2\\x80\\xae\\xe2\\x81\\xa9; this is "
                "swarmfire 1.0\n");

  // A segment's end whose tick count runs on past five bytes, its call
  // count short and sound.
  recording::Reader reader;
  recording::Header header;
  ASSERT_EQ(recording::read_recording(reader, recording_of("1.0", {3, 0, 0x81, 0x80, 0x80, 0x80, 0x80, 0, 0, 0}), header),
            "");
  EXPECT_EQ(recording::next_record(reader).type, recording::Record::Damaged);
  EXPECT_EQ(reader.damage, "damaged at byte 24: a number longer than 32 bits");
}

// A file of repeats stands for far more play than its size: its length
// is counted from the repeats' numbers (a megabyte, 33 million frames, in
// milliseconds; walking them took seconds, and a crafted 64 MB file a
// minute and a half), and the copies the count and a rewind take share the
// file's bytes.
TEST_F(RecordingTest, ARecordingsLengthIsCountedWithoutWalkingItsRepeats) {
  std::vector<uint8_t> records = {3, 0, 1, 0, 0, 0};  // one frame of one tick
  const long long repeats = 1 << 19;
  for (long long i = 0; i < repeats; ++i) records.insert(records.end(), {5, 64});
  records.insert(records.end(), {5, 3});
  recording::Header header;
  ASSERT_EQ(input_log_replay_bytes(recording_of("1.0", records), header), "");
  EXPECT_EQ(input_log_length(), 1 + repeats * 64 + 3);

  recording::Reader reader;
  ASSERT_EQ(recording::read_recording(reader, recording_of("1.0", {3, 0, 1, 0, 0, 0, 5, 64, 5, 2}), header), "");
  recording::Reader copy = reader;
  EXPECT_EQ(copy.bytes.get(), reader.bytes.get());
  // Stepping and skipping agree, and add the same ticks.
  int stepped = 0;
  while (recording::next_record(reader).type == recording::Record::End) ++stepped;
  int skipped = 0;
  while (recording::next_record(copy).type == recording::Record::End) skipped += 1 + recording::skip_repeats(copy);
  EXPECT_EQ(stepped, 1 + 64 + 2);
  EXPECT_EQ(skipped, stepped);
  EXPECT_EQ(copy.ticks, reader.ticks);
}

// F12 held in a recorded game: the game wrote dump.pcx; neither watching
// nor checking the recording does. And the window of a recording made at
// --scale 8 (on a desktop that holds it) fits the desktop it is watched on.
TEST_F(RecordingTest, AReplayWritesNoScreenshotAndItsWindowFitsTheDesktop) {
  ScratchFolder scratch;
  const fs::path start = fs::current_path();
  fs::current_path(scratch.path);
  headless::set_desktop(3840, 2160);
  long shot_at = -1;
  KeyScript()
      .hold(KEY_ALT, 3, 4)
      .on_event([&](const headless::Event &e) {
        if (headless::timer_installed() && shot_at < 0) shot_at = e.frame + 5;
        headless::hold(KEY_F12, shot_at > 0 && e.frame >= shot_at && e.frame < shot_at + 3);
        if (shot_at > 0 && e.frame >= shot_at + 10) headless::request_close();
      })
      .install();
  const std::string file = scratch.file("shot.sfr");
  EXPECT_EQ(record_game(file, {8}), 0);
  EXPECT_EQ(headless_twin.display->w, 320 * 8);
  EXPECT_TRUE(fs::remove("dump.pcx"));

  std::string line;
  EXPECT_EQ(replay::verify(file, line).status, 0) << line;
  EXPECT_FALSE(fs::exists("dump.pcx"));
  headless::reset();
  reset_world_state();
  headless::set_desktop(1920, 1080);
  EXPECT_EQ(play_recording(file, {}, false), 0);
  EXPECT_FALSE(fs::exists("dump.pcx"));
  EXPECT_EQ(headless_twin.display->w, 320 * 3);
  fs::current_path(start);
}

// A level's datafile refused in play: the game stops with its line, and
// the recording ends whole, with the refusal where it came; its replay, on
// the files it was made with, stops at that load too and verifies.
TEST_F(RecordingTest, ADatafileRefusedInPlayEndsTheRecordingWholeAndItsReplayStopsThere) {
  ReplayData data;
  ScratchFolder scratch;
  const std::string level_file = std::string(std::getenv("SWARMFIRE_DATA")) + "/" + LEVEL_FILES[0];
  const std::vector<uint8_t> level_bytes = read_whole_file(level_file).bytes;
  KeyScript()
      .hold(KEY_ALT, 3, 4)
      .on_event([&](const headless::Event &e) {
        if (e.frame == 2) write_bytes(level_file, {'n', 'o'});
      })
      .install();
  const std::string file = scratch.file("refused.sfr");
  std::string told = stderr_of([&] { EXPECT_EQ(record_game(file, {}), 1); });
  EXPECT_EQ(told, "swarmfire: level1.dat: cannot be read (truncated at byte 2)\n");
  write_bytes(level_file, level_bytes);
  std::string line;
  EXPECT_EQ(replay::verify(file, line).status, 0) << line;
  EXPECT_NE(line.find(": ok"), std::string::npos) << line;
}

TEST_F(RecordingTest, AFileThatCannotBeCreatedOrIsNoRecordingStopsTheProgramBeforeItsWindowOpens) {
  // Notes under a careless name (one that would fool a terminal, too), a
  // FIFO, a folder: each left as it is; a FIFO is never waited on.
  ScratchFolder scratch;
  const std::string notes = scratch.file("notes\x1b[8m.txt"), fifo = scratch.file("fifo.sfr");
  write_bytes(notes, {'h', 'i'});
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  testing::internal::CaptureStderr();
  // A name longer than the folder takes would be lost only at the end, as
  // its part file's name is cut to fit.
  const std::string too_long = scratch.file(std::string(127 * 2 - 2, 'n') + "\u00e9.sfr");
  for (const std::string &file : {std::string("/nonexistent/game.sfr"), too_long, notes, fifo, scratch.path})
    EXPECT_EQ(record_game(file, {}), 1) << file;
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "swarmfire: /nonexistent/game.sfr: cannot be created: No such file or directory\n"
            "swarmfire: " + too_long + ": cannot be created: File name too long\n"
            "swarmfire: " + scratch.path + "/notes\\x1b[8m.txt: exists and is not a Swarmfire recording; it is left as it is\n" +
                "swarmfire: " + fifo + ": is not a regular file; it is left as it is\n" +
                "swarmfire: " + scratch.path + ": is not a regular file; it is left as it is\n");
  EXPECT_EQ(read_whole_file(notes).bytes, (std::vector<uint8_t>{'h', 'i'}));
  recording::Header header;
  EXPECT_EQ(input_log_replay(fifo, header, false), "cannot be read: not a regular file");

  EXPECT_FALSE(headless_twin.started);
  EXPECT_EQ(headless_twin.display, nullptr);
}

}  // namespace
