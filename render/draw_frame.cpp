// Placeholder frame: the ship as a block, the level and score as text.
#include "render/draw_frame.h"

#include "frame/game_state.h"
#include "frame/program.h"

void draw_frame() {
  clear(back_buffer);
  textprintf_ex(back_buffer, font, 2, 2, 15, -1, "LEVEL %d  SCORE %d", level, player.score);
  if (demo_mode == -1) textout_ex(back_buffer, font, "DEMO MODE", 0, 225, 15, -1);
  rectfill(back_buffer, player.x, player.y, player.x + 15, player.y + 15, 15);
  present_frame();
}
