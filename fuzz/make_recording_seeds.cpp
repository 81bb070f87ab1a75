// Writes the recording fuzzer's seeds into a folder: the stand-in game
// (fuzz/stand_in.h) recorded as it plays on live inputs from several
// sequences, ending by itself, by the close button, or cut short.
// Usage: make_recording_seeds FOLDER
#include "fuzz/stand_in.h"
#include "platform/platform.h"
#include "platform/recording/input_log.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_recording_seeds FOLDER\n");
    return 2;
  }
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(8);
  BITMAP *frame = create_bitmap(320, 240);
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    bool closes = seed % 3 == 1, cut = seed % 3 == 2;
    use_stand_in_platform(seed, closes ? 40 + 30 * seed : 0);
    std::string path = std::string(argv[1]) + "/stand-in-" + std::to_string(seed) + ".sfr";
    if (!input_log_record(path, {"1.0", seed, 0, false}).empty()) {
      std::perror(path.c_str());
      return 1;
    }
    try {
      run_stand_in_game(frame);
    } catch (const QuitRequested &) {
    }
    recording::Totals totals{static_cast<uint64_t>(input_log_frames()), seed, 0, 0, seed};
    input_log_finish_recording(cut ? nullptr : &totals);
  }
  destroy_bitmap(frame);
  return 0;
}
