#include "frame/unseen_frames.h"

#include "frame/game_state.h"
#include "frame/replay_snapshots.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer.h"

#include <allegro.h>

namespace {

bool skipping = false;
bool undrawn = false;

bool frame_unseen() {
  if (level_end != LEVEL_PLAYING || !input_log_replaying()) return false;
  bool watched = input_log_watched();
  if (!skipping && !watched) return false;
  int waits = input_log_waits_to_next_frame({KEY_P, KEY_F12, recording::Q_FOCUS_LOST});
  if (waits < 0) return false;
  long long until = input_log_waits() + waits + 1;
  if (!watched) return true;
  return viewer_unseen_before(until) && !snapshot_due_by(until);
}

}  // namespace

void skip_unseen_frames(bool on) { skipping = on; }

void draw_unless_unseen(void (*draw)()) {
  undrawn = frame_unseen();
  if (!undrawn) draw();
}

bool last_frame_undrawn() { return undrawn; }
void frames_drawn_from_here() { undrawn = false; }
