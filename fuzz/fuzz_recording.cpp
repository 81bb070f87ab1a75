// libFuzzer target: any bytes as a recording, read and replayed through the
// platform seam's input log, the stand-in game (fuzz/stand_in.h) asking
// for its inputs. Whatever the bytes, the replay must end (a recording's
// end, a cut, a damage or a call out of step) without a crash or a
// sanitizer report, and within the waits its length allows: a record or
// a share of a repeat for each.
#include "fuzz/stand_in.h"
#include "platform/platform.h"
#include "platform/recording/input_log.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

BITMAP *frame;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(8);
  frame = create_bitmap(320, 240);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  use_stand_in_platform(1);
  recording::Header header;
  if (!input_log_replay_bytes(std::vector<uint8_t>(data, data + size), header).empty()) return 0;
  try {
    run_stand_in_game(frame);
  } catch (const QuitRequested &) {
  }
  ReplayOutcome outcome = input_log_finish_replay();
  long most = static_cast<long>(size) * recording::MOST_REPEATS;
  if (outcome.frames > most) {
    std::fprintf(stderr, "%ld bytes replayed %lld frames\n", static_cast<long>(size), outcome.frames);
    std::abort();
  }
  return 0;
}
