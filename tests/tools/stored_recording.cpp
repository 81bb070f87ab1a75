// A stored game of tests/replays played from its keys on the datafiles it
// was stored with, and recorded at the seam into a recording file, as
// swarmfire --record would: for the viewer's seek benchmark, which watches
// it on the same datafiles (seek_times --stand-in).
// Usage: stored_recording STORED.txt OUT.sfr
#include "data/replay_datafiles.h"
#include "platform/headless/headless_controls.h"
#include "tests/support/replay.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: stored_recording STORED.txt OUT.sfr\n");
    return 2;
  }
  replay::Recording stored;
  std::string problem;
  if (!replay::from_file(argv[1], stored, problem)) {
    std::fprintf(stderr, "stored_recording: %s: %s\n", argv[1], problem.c_str());
    return 1;
  }
  ReplayData data;
  headless::reset();
  replay::Outcome outcome = replay::replay(stored, argv[2]);
  return outcome.status == 0 ? 0 : 1;
}
