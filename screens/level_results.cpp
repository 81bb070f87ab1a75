// After a completed level: the statistics slide in, the accuracy bonus is
// counted into the score, the picture waits for a key over the stars and
// then spins away.
#include "screens/level_results.h"

#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/glyph_text.h"
#include "render/starfield.h"
#include "render/turned_picture.h"
#include "screens/results_common.h"

namespace {

struct LevelResults {
  ResultsLine lines[4];
  int percentage;
  int bonus;
};

void format_statistics(LevelResults &r) {
  format_line(r.lines[0], "LEVEL %d", level);
  format_line(r.lines[1], "SHOTS FIRED: %d", shots_fired);
  format_line(r.lines[2], "TARGETS HIT: %d", shots_hit);
  format_line(r.lines[3], "PERCENTAGE: %d%%", r.percentage);
  const int rows[4] = {20, 60, 80, 100};
  for (int i = 0; i < 4; ++i) {
    r.lines[i].y = rows[i];
    r.lines[i].target = results_column(r.lines[i].text);
  }
}

void stars_over(BITMAP *bitmap) {
  step_stars();
  draw_stars(bitmap);
}

void draw_centred(int y, const char *format, int value) {
  ResultsLine line;
  format_line(line, format, value);
  draw_glyph_text(back_buffer, results_column(line.text), y, line.text);
}

void draw_bonus_and_score(const LevelResults &r, int remaining, int score) {
  clear(back_buffer);
  draw_results_lines(back_buffer, r.lines, 4);
  draw_centred(140, "BONUS: %d", remaining);
  draw_centred(160, "SCORE: %d", score);
}

void slide_in(LevelResults &r) {
  for (int frame = 0; frame < SLIDE_FRAMES; ++frame) {
    clear(back_buffer);
    draw_results_lines(back_buffer, r.lines, 4);
    slide_results_lines(r.lines, 4);
    stars_over(back_buffer);
    present_frame();
  }
}

// A key only cuts the count short; the whole bonus is awarded later.
void count_up(const LevelResults &r) {
  int counted = 0, remaining = r.bonus;
  do {
    draw_bonus_and_score(r, remaining, player.score + counted);
    stars_over(back_buffer);
    present_frame();
    if (platform_keypressed()) return;
    counted += 10;
    remaining -= 10;
  } while (counted < r.bonus);
}

void final_picture(const LevelResults &r, BITMAP *snapshot) {
  draw_bonus_and_score(r, 0, player.score + r.bonus);
  blit(back_buffer, snapshot, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  stars_over(back_buffer);
  present_frame();
  player.score += r.bonus;
  player.life_points += r.bonus;
  platform_clear_keybuf();
}

void idle_until_key(BITMAP *snapshot) {
  do {
    stars_over(back_buffer);
    draw_sprite(back_buffer, snapshot, 0, 0);
    present_frame();
    clear(back_buffer);
  } while (!platform_keypressed());
  platform_readkey();
}

// From full size down to just above a tenth, a turn every 64 frames: 91 frames.
void spin_away(BITMAP *snapshot) {
  float scale = 1.0f;
  int angle = 0;
  do {
    draw_turned_picture(snapshot, itofix(angle), scale);
    angle = next_turn_angle(angle);
    stars_over(back_buffer);
    present_frame();
    clear(back_buffer);
    scale = static_cast<float>(scale - 0.01);
  } while (scale > 0.1);
}

}  // namespace

void show_level_results() {
  OwnedBitmap snapshot_owner = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  BITMAP *snapshot = snapshot_owner.get();
  platform_clear_screen();
  platform_set_palette(level_palette());
  init_stars();

  LevelResults r = {};
  r.percentage = hit_percentage(shots_hit, shots_fired);
  // A flawless level doubles the bonus.
  r.bonus = r.percentage * (shots_hit == shots_fired ? 20 : 10);
  format_statistics(r);

  slide_in(r);
  platform_clear_keybuf();
  if (r.bonus > 0) count_up(r);
  final_picture(r, snapshot);
  idle_until_key(snapshot);
  spin_away(snapshot);
}
