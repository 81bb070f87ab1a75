#include "frame/play_feed.h"

#include "frame/frame_stats.h"
#include "frame/game_state.h"
#include "platform/shared/files.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::FILE *open_feed() {
  static std::FILE *feed = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (const char *path = std::getenv("SWARMFIRE_PLAY_FEED")) feed = open_file(path, "wb");
  }
  return feed;
}

}  // namespace

void feed_play_frame() {
  if (demo_mode != DEMO_OFF) return;
  std::FILE *feed = open_feed();
  if (!feed) return;
  std::fprintf(feed, "%lld %d %d %d  %d %d %d %d %d  shots", frames_presented(), level, player.lives,
               level_end, player.x, player.velocity, player.friction_tick, player.max_speed,
               reverse_ticks > 0 ? 1 : 0);
  int shots = 0;
  for (const EnemyShot &s : enemy_shots) shots += s.active == 1;
  std::fprintf(feed, " %d", shots);
  for (const EnemyShot &s : enemy_shots)
    if (s.active == 1) std::fprintf(feed, "  %d %d %d %d %d %d", s.x, s.y, s.width, s.height, s.dx, s.dy);
  int alive = 0;
  for (int i = 0; i < enemy_count; ++i) alive += enemies[i].active == 1;
  std::fprintf(feed, "  enemies %d", alive);
  for (int i = 0; i < enemy_count; ++i)
    if (enemies[i].active == 1)
      std::fprintf(feed, "  %d %d %d %d", enemies[i].x, enemies[i].y, enemies[i].width, enemies[i].height);
  std::fprintf(feed, "  fired %d\n", shots_fired);
  std::fflush(feed);
}
