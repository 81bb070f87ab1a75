// Entry point of the real game.
#include "frame/command_line.h"
#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "frame/program.h"
#include "frame/recorded_run.h"
#include "platform/platform.h"
#include "platform/shared/printable.h"
#include "platform/sys/standard_streams.h"
#include "platform/sys/stop_signals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// The eight datafiles of the data folder, read with the library started
// without any driver, so no display is needed yet.
std::string datafiles_here_problem() {
  std::string problem = data_folder_problem();
  if (!problem.empty()) return problem;
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  problem = datafiles_problem(data_folder());
  allegro_exit();
  return problem;
}

// Status 0 once the text has reached standard output; else 1, and why on
// standard error (a full disk, a closed stream).
int print(const std::string &text, const char *what) {
  std::fputs(text.c_str(), stdout);
  std::string problem = standard_output_problem();
  if (problem.empty()) return 0;
  std::fprintf(stderr, "swarmfire: cannot write %s: %s\n", what, problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char **argv) {
  arguments_in_utf8(argc, argv);
  standard_streams_open();
  stop_signals_install();
  CommandLine line = parse_command_line(argc, argv);
  if (!line.error.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", printable(line.error).c_str());
    return 2;
  }
  if (line.help) return print(usage_text(), "the help");
  if (line.version) return print(std::string("swarmfire ") + GAME_VERSION + "\n", "the version");
  // A recording is verified without display or sound, by the headless twin.
  if (line.recording == Recording::Verify)
    platform_use_headless();
  else
    platform_use_display();
  // With a recording file, what is wrong with the file is told before
  // what is wrong with the display.
  std::string problem = datafiles_here_problem();
  if (problem.empty() && line.recording == Recording::None) problem = platform_preflight();
  if (!problem.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", problem.c_str());
    return 1;
  }
  int status = 0;
  switch (line.recording) {
    case Recording::Record: status = record_game(line.recording_file, line.display); break;
    case Recording::Play:
      status = play_recording(line.recording_file, line.display, line.display_given, line.take_over_file);
      break;
    case Recording::Verify: status = verify_recording(line.recording_file); break;
    case Recording::None: status = game_main(line.display); break;
  }
  // Stopped by a signal: ended by it, now that all is finished and closed.
  stop_signal_reraise();
  platform_exit(status);
}
END_OF_MAIN()
