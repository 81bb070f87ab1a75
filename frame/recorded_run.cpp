#include "frame/recorded_run.h"

#include "frame/catalogue.h"
#include "frame/command_line.h"
#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "frame/frame_stats.h"
#include "frame/fresh_state.h"
#include "frame/program.h"
#include "frame/replay_snapshots.h"
#include "frame/unseen_frames.h"
#include "frame/world_hash.h"
#include "platform/recording/input_log.h"
#include "platform/recording/recording_writer.h"
#include "platform/recording/viewer.h"
#include "platform/recording/viewer_marks.h"
#include "platform/shared/files.h"
#include "platform/shared/fnv1a.h"
#include "platform/shared/printable.h"
#include "platform/sys/standard_streams.h"

#include <cinttypes>
#include <cstdio>

namespace {

// The digest of the eight datafiles' names, sizes and bytes, in their
// order; empty, or the first that cannot be read and why.
std::string datafiles_digest(uint64_t &digest) {
  digest = FNV1A_BASIS;
  std::string folder = data_folder();
  for (const char *name : DATAFILE_NAMES) {
    std::vector<uint8_t> bytes;
    std::string problem = read_datafile(folder + "/" + name, bytes);
    if (!problem.empty()) return std::string(name) + ": " + problem;
    uint64_t size = bytes.size();
    digest = fnv1a(name, std::char_traits<char>::length(name), digest);
    digest = fnv1a(&size, sizeof size, digest);
    digest = fnv1a(bytes.data(), bytes.size(), digest);
  }
  return {};
}

recording::Totals run_totals() {
  GameFigures game = last_game_figures();
  recording::Totals t;
  t.frames = static_cast<uint64_t>(frames_presented());
  t.steps = static_cast<uint64_t>(logic_steps_run());
  t.score = game.score;
  t.level = game.level;
  t.world_hash = world_hash();
  return t;
}

// The run's figures, and how long the game lasted (its waits, 60 a second).
std::string figures(const recording::Totals &t, long long waits) {
  char text[192];
  std::snprintf(text, sizeof text,
                "score %d, level %d, %" PRIu64 " frames, %" PRIu64 " steps, world hash %016" PRIx64 ", %s long", t.score,
                t.level, t.frames, t.steps, t.world_hash, time_of_waits(waits).c_str());
  return text;
}

// The recorded figures that differ from the run's, or empty.
std::string differences(const recording::Totals &run, const recording::Totals &recorded) {
  std::string differ;
  auto note = [&](bool same, const std::string &what) {
    if (!same) differ += (differ.empty() ? "" : ", ") + what;
  };
  char hash[32];
  std::snprintf(hash, sizeof hash, "%016" PRIx64, recorded.world_hash);
  note(run.score == recorded.score, "score " + std::to_string(recorded.score));
  note(run.level == recorded.level, "level " + std::to_string(recorded.level));
  note(run.frames == recorded.frames, std::to_string(recorded.frames) + " frames");
  note(run.steps == recorded.steps, std::to_string(recorded.steps) + " steps");
  note(run.world_hash == recorded.world_hash, std::string("world hash ") + hash);
  return differ;
}

void complain(const std::string &file, const std::string &problem) {
  std::fprintf(stderr, "swarmfire: %s: %s\n", printable(file).c_str(), problem.c_str());
}

// Empty when a display can be opened (always, headless), else the one line.
bool display_ready() {
  std::string problem = platform_preflight();
  if (problem.empty()) return true;
  std::fprintf(stderr, "swarmfire: %s\n", problem.c_str());
  return false;
}

// Empty when this game with these datafiles can replay a recording with
// this header.
std::string header_problem(const recording::Header &header) {
  if (header.game_version != GAME_VERSION)
    return "was recorded with swarmfire " + printable(header.game_version) + "; this is swarmfire " + GAME_VERSION;
  uint64_t digest = 0;
  std::string problem = datafiles_digest(digest);
  if (!problem.empty()) return "cannot be checked against the datafiles: " + problem;
  if (header.data_digest != digest)
    return "was recorded with other datafiles than those in " + printable(data_folder());
  return {};
}

std::string start_replay(const std::string &file, recording::Header &header, bool watch_escape) {
  std::string problem = input_log_replay(file, header, watch_escape);
  if (problem.empty()) problem = header_problem(header);
  if (!problem.empty()) input_log_off();
  return problem;
}

std::string at_frame(const ReplayOutcome &outcome) {
  return "at frame " + std::to_string(outcome.frames) + " (" + time_of_waits(outcome.waits) + ")";
}

// A replay that did not run its course, in one line on stderr.
int replay_failed(const std::string &file, const ReplayOutcome &outcome) {
  switch (outcome.end) {
    case ReplayEnd::OutOfStep: complain(file, "out of step " + at_frame(outcome) + ": " + outcome.problem); break;
    case ReplayEnd::Damaged: complain(file, "is " + outcome.problem + " (" + at_frame(outcome) + ")"); break;
    case ReplayEnd::CutShort: complain(file, "is cut short " + at_frame(outcome) + " (it has no trailer)"); break;
    default: break;
  }
  return 1;
}

// The status, once the line printed has reached standard output; else 1
// with the reason (a closed pipe, a full disk).
int told(int status) {
  std::string problem = standard_output_problem();
  if (problem.empty()) return status;
  std::fprintf(stderr, "swarmfire: cannot write the result: %s\n", problem.c_str());
  return 1;
}

// The recording closed after the run: with the run's figures when it ended
// cleanly. The status, or 1 when the file could not be written whole.
int finish_recording(const std::string &file, int status) {
  recording::Totals totals = run_totals();
  std::string problem = input_log_finish_recording(program_ended_cleanly() ? &totals : nullptr);
  if (problem.empty()) return status;
  complain(file, "not saved, the recording could not be written whole: " + problem);
  return status != 0 ? status : 1;
}

// The replay watched from its start to its end, begun again from the start
// whenever the viewer seeks back.
int watch(const DisplayRequest &display, const std::string &take_over_file) {
  viewer_start();
  forget_snapshots();
  int status = 1;
  for (;;) {
    try {
      status = game_main(display);
      break;
    } catch (const ReplayRewind &) {
      reset_world_state();
      std::string problem = input_log_rewind();
      if (!problem.empty()) complain(take_over_file, "cannot be written any more: " + problem);
      choose_snapshot_for_seek();
    }
  }
  forget_snapshots();
  viewer_stop();
  return status;
}

// With --record: where the player's take-over goes, a recording of this
// display's request with the watched recording's datafiles.
std::string record_take_over(const std::string &file, const recording::Header &watched, const DisplayRequest &display) {
  std::string problem = recording::replace_problem(file);
  if (!problem.empty()) return problem;
  return input_log_record_replay(file, {GAME_VERSION, watched.data_digest, display.scale, display.fullscreen});
}

}  // namespace

int record_game(const std::string &file, const DisplayRequest &display) {
  std::string problem = recording::replace_problem(file);
  if (!problem.empty()) {
    complain(file, problem);
    return 1;
  }
  if (!display_ready()) return 1;
  recording::Header header{GAME_VERSION, 0, display.scale, display.fullscreen};
  problem = datafiles_digest(header.data_digest);
  if (!problem.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", problem.c_str());
    return 1;
  }
  problem = input_log_record(file, header);
  if (!problem.empty()) {
    complain(file, problem);
    return 1;
  }
  return finish_recording(file, game_main(display));
}

int play_recording(const std::string &file, const DisplayRequest &display, bool display_given,
                   const std::string &take_over_file) {
  // A take-over into the file watched would replace it.
  if (!take_over_file.empty() && same_file(file, take_over_file)) {
    complain(take_over_file, "is the recording --play shows; a take-over goes into another file (see swarmfire --help)");
    return 2;
  }
  recording::Header header;
  std::string problem = start_replay(file, header, true);
  if (!problem.empty()) {
    complain(file, problem);
    return 1;
  }
  // The recorded window, no larger than this desktop takes.
  DisplayRequest recorded{header.scale, header.fullscreen};
  recorded.fit = true;
  const DisplayRequest &shown = display_given ? display : recorded;
  if (!take_over_file.empty()) problem = record_take_over(take_over_file, header, shown);
  if (!problem.empty()) {
    complain(take_over_file, problem);
    input_log_off();
    return 1;
  }
  if (!display_ready()) {
    input_log_off();
    return 1;
  }
  int status = watch(shown, take_over_file);
  if (input_log_taken_over()) return finish_recording(take_over_file, status);
  ReplayOutcome outcome = input_log_finish_replay();
  bool watched = outcome.end == ReplayEnd::Complete || outcome.end == ReplayEnd::Stopped;
  if (!take_over_file.empty() && status == 0 && watched) {
    complain(take_over_file, outcome.end == ReplayEnd::Stopped
                                 ? "not written: Esc or the close button stopped the replay before Return took over from it"
                                 : "not written: the recording ended before Return took over from it");
    return 1;
  }
  if (status != 0 || outcome.end == ReplayEnd::Stopped) return status;
  if (outcome.end != ReplayEnd::Complete) return replay_failed(file, outcome);
  std::string differ = differences(run_totals(), outcome.recorded);
  if (differ.empty()) return 0;
  complain(file, "played out otherwise than recorded (" + figures(run_totals(), outcome.waits) + "; recorded: " +
                     differ + ")");
  return 1;
}

int verify_recording(const std::string &file) {
  recording::Header header;
  std::string problem = start_replay(file, header, false);
  if (!problem.empty()) {
    complain(file, problem);
    return 1;
  }
  skip_unseen_frames(true);
  int status = game_main();
  skip_unseen_frames(false);
  ReplayOutcome outcome = input_log_finish_replay();
  if (status != 0) return status;
  if (outcome.end == ReplayEnd::OutOfStep || outcome.end == ReplayEnd::Damaged)
    return replay_failed(file, outcome);
  std::string line = printable(file) + ": " + figures(run_totals(), outcome.waits);
  if (outcome.end == ReplayEnd::CutShort) {
    std::printf("%s: cut short %s (the recording has no trailer)\n", line.c_str(), at_frame(outcome).c_str());
    return told(1);
  }
  std::string differ = differences(run_totals(), outcome.recorded);
  if (differ.empty())
    std::printf("%s: ok\n", line.c_str());
  else
    std::printf("%s: differs from the recording: %s\n", line.c_str(), differ.c_str());
  return told(differ.empty() ? 0 : 1);
}
