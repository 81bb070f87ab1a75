#include "frame/frame_stats.h"

#include "platform/platform.h"
#include "platform/shared/files.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long frames = 0;
long long all_frames = 0, all_steps = 0;
long long results_frame = -1;
int results_score = 0;
bool presented_any = false;
double first_at = 0, last_at = 0;
long play_frames[STEP_COUNT_ROWS] = {};
// Frames presented in each whole second from the first one on.
constexpr int SECONDS_KEPT = 600;
int by_second[SECONDS_KEPT] = {};

bool wanted() {
  static const bool set = std::getenv("SWARMFIRE_FRAME_STATS") != nullptr;
  return set;
}

double now_seconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

void write_stats(const char *path) {
  std::FILE *out = open_file(path, "wb");
  if (!out) return;
  double seconds = last_at - first_at;
  std::fprintf(out, "frames %ld\nseconds %.3f\nframes_per_second %.2f\n", frames, seconds,
               seconds > 0 ? (frames - 1) / seconds : 0.0);
  long total = 0;
  for (long n : play_frames) total += n;
  std::fprintf(out, "play_frames %ld\nsteps_per_play_frame", total);
  for (int k = 0; k < STEP_COUNT_ROWS; ++k)
    std::fprintf(out, " %d%s:%ld", k, k == STEP_COUNT_ROWS - 1 ? "+" : "", play_frames[k]);
  std::fprintf(out, "\nframes_by_second");
  for (int k = 0; k < SECONDS_KEPT && k < seconds; ++k) std::fprintf(out, " %d", by_second[k]);
  std::fprintf(out, "\n");
  if (results_frame >= 0)
    std::fprintf(out, "final_results_frame %lld\nfinal_results_score %d\n", results_frame, results_score);
  std::fclose(out);
}

void save_picture(const char *path) {
  PALETTE palette;
  get_palette(palette);
  if (BITMAP *picture = platform_screen()) save_bitmap(path, picture, palette);
}

}  // namespace

void note_frame_presented() {
  ++all_frames;
  presented_any = true;
  if (!wanted()) return;
  last_at = now_seconds();
  if (frames++ == 0) first_at = last_at;
  int second = static_cast<int>(last_at - first_at);
  if (second < SECONDS_KEPT) ++by_second[second];
}

void note_play_frame(int steps) {
  all_steps += steps;
  ++play_frames[steps < STEP_COUNT_ROWS - 1 ? steps : STEP_COUNT_ROWS - 1];
}

void note_final_results(int score) {
  results_frame = all_frames;
  results_score = score;
  if (const char *path = std::getenv("SWARMFIRE_RESULTS_PICTURE")) save_picture(path);
}

void write_frame_reports() {
  if (const char *stats = std::getenv("SWARMFIRE_FRAME_STATS")) write_stats(stats);
  const char *path = std::getenv("SWARMFIRE_LAST_FRAME");
  if (path && presented_any) save_picture(path);
}

void count_from_start() { all_frames = all_steps = 0; }

long long frames_presented() { return all_frames; }
long long logic_steps_run() { return all_steps; }

void set_frame_counts(long long frames, long long steps) {
  all_frames = frames;
  all_steps = steps;
}
