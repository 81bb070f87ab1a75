#include "frame/play_loops.h"

#include "frame/autopilot.h"
#include "frame/controls.h"
#include "frame/frame_stats.h"
#include "frame/game_over.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_feed.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "frame/replay_snapshots.h"
#include "frame/unseen_frames.h"
#include "platform/platform.h"
#include "render/draw_frame.h"
#include "screens/ending.h"
#include "screens/final_results.h"
#include "screens/level_results.h"
#include "world/world_tick.h"

void run_tick_loop(TickLoop &loop, void (*input_step)(), void (*world_step)(),
                   void (*draw)()) {
  frames_drawn_from_here();
  for (;;) {
    snapshot_or_resume(loop, last_frame_undrawn());
    // Ticks arrive only at the platform's waits, so one reading serves the
    // whole batch.
    const int due = game_ticks.load();
    if (loop.steps_done < due || loop.first_pass) {
      // After a stall (a suspended machine, a debugger) do not play
      // minutes of unseen game: drop what is more than a second behind.
      if (due - loop.steps_done > MAX_STEP_BACKLOG) loop.steps_done = due - MAX_STEP_BACKLOG;
      int steps = 0;
      while (loop.steps_done < due) {
        input_step();
        world_step();
        ++loop.steps_done;
        ++steps;
      }
      draw_unless_unseen(draw);
      present_frame();
      feed_play_frame();
      note_play_frame(steps);
      loop.first_pass = false;
    } else {
      platform_yield();
    }
    if (level_end != LEVEL_PLAYING) return;
  }
}

void reset_game() {
  game_ticks = 0;
  for (float &d : direction_table)
    d = static_cast<float>((random_number() % 100) * 0.04 - 2.0);
  player.score = 0;
  player.life_points = 0;
  total_shots_hit = 0;
  total_shots_fired = 0;
  player.lives = 3;
  player.max_speed = 2;
  player.weapon = 1;
  player.firepower = 3;
  level = 1;
}

namespace {

void add_level_to_totals() {
  total_shots_fired += shots_fired;
  total_shots_hit += shots_hit;
}

}  // namespace

// A kept state of a watched replay that waits to be put back
// (frame/replay_snapshots.h) takes the loops straight to their tick loop:
// what the game and the level start did is in it.
void run_game() {
  TickLoop loop;
  bool resumed = resuming();
  if (!resumed) {
    reset_game();
    platform_fade_out(16);
    platform_clear_screen();
  }
  for (;;) {
    if (resumed) {
      platform_install_timer(timer_tick);
      resumed = false;
    } else {
      level_start(level);
      platform_install_timer(timer_tick);
      draw_frame();
      present_frame();
      platform_fade_in(level_palette(), 16);
    }
    run_tick_loop(loop, controls_step, world_tick, draw_frame);
    platform_remove_timer(timer_tick);
    if (level_end == LEVEL_COMPLETE) {
      if (level == 12) {
        show_ending();
        return;
      }
      platform_fade_out(16);
      add_level_to_totals();
      show_level_results();
      ++level;
      continue;
    }
    add_level_to_totals();
    game_over();
    show_final_results();
    platform_clear_keybuf();
    return;
  }
}

void run_demo() {
  TickLoop loop;
  if (resuming()) {
    platform_install_timer(timer_tick);
  } else {
    reset_game();
    level = 1;
    level_start(1);
    platform_fade_out(16);
    platform_clear_screen();
    draw_frame();
    present_frame();
    platform_fade_in(level_palette(), 5);
    platform_clear_keybuf();
    platform_install_timer(timer_tick);
  }
  run_tick_loop(loop, autopilot_step, world_tick, draw_frame);
  platform_remove_timer(timer_tick);
  platform_clear_keybuf();
}
