// Gallery scenes after play: a level's results, the game over, the final
// results with fireworks, and the ending.
#include "data/gallery/gallery.h"

#include "frame/game_over.h"
#include "frame/game_state.h"
#include "screens/ending.h"
#include "screens/final_results.h"
#include "screens/level_results.h"

namespace {
const char *const AFTER = "Between and after levels";
}

// 49 hits of 64 shots: 76 per cent, a bonus of 760 counted in 76 frames
// after the 50 of the slide-in; then the picture waits for a key.
void level_results_scene() {
  shots_fired = 64;
  shots_hit = 49;
  SceneScript()
      .capture(95, "level_results_counting", "Level results, counting the bonus", AFTER)
      .capture(150, "level_results", "Level results, waiting for a key", AFTER)
      .press(KEY_SPACE, 156)
      .install();
  show_level_results();
}

void game_over_scenes() {
  SceneScript()
      .capture(50, "game_over", "Game over: the caption at its largest", AFTER)
      .capture(85, "game_over_spin", "Game over: spinning away", AFTER)
      .press_on_key_wait(KEY_SPACE)
      .install();
  game_over();
  total_shots_fired = 812;
  total_shots_hit = 597;
  player.score = 6840;
  SceneScript()
      .capture(230, "final_results", "Final results with fireworks", AFTER)
      .press(KEY_SPACE, 236)
      .install();
  show_final_results();
}

void ending_scene() {
  SceneScript()
      .capture(150, "ending_early", "Ending: the pictures drift, the title grows", AFTER)
      .capture(420, "ending", "Ending: the title at full size", AFTER)
      .press(KEY_SPACE, 426)
      .install();
  show_ending();
}
