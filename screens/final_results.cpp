// The end of a lost or abandoned game: the totals slide in from both sides,
// a rating is given, fireworks go off behind the picture until a key, and
// the picture zooms past the viewer.
#include "screens/final_results.h"

#include "combat/explosions.h"
#include "frame/frame_stats.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/effects.h"
#include "render/glyph_text.h"
#include "render/starfield.h"
#include "render/turned_picture.h"
#include "screens/results_common.h"
#include "world/explosion_motion.h"

namespace {

constexpr int LINES = 5;

// Each message needs a score strictly above its bound.
struct Rating {
  int above;
  const char *message;
};
constexpr Rating ratings[] = {
    {9000, "ONE OF THE BEST"},      {8000, "ALMOST THERE"},
    {7000, "FAST AND LETHAL"},      {6000, "PRACTICE MAKES PERFECT"},
    {5000, "GETTING BETTER"},       {4000, "STARTING TO LEARN"},
    {3000, "YOU CAN DO BETTER"},    {2000, "JUST A WASTE OF TIME"},
    {1000, "HEY. GET SERIOUS"},
};

// Lines 2 and 4 come in from the right edge, the others from the left.
bool from_right(int line) { return line % 2 == 1; }

int final_column(const char *text) { return results_column(text) + 8; }

void format_totals(ResultsLine *lines) {
  format_line(lines[0], "FINAL LEVEL: %d", level);
  format_line(lines[1], "SHOTS FIRED: %d", total_shots_fired);
  format_line(lines[2], "TARGETS HIT: %d", total_shots_hit);
  format_line(lines[3], "PERCENTAGE: %d%%", hit_percentage(total_shots_hit, total_shots_fired));
  format_line(lines[4], "SCORE: %d", player.score);
  const int rows[LINES] = {20, 60, 80, 100, 150};
  for (int i = 0; i < LINES; ++i) {
    lines[i].y = rows[i];
    lines[i].target = final_column(lines[i].text);
    lines[i].start = from_right(i) ? PICTURE_WIDTH : 0;
    lines[i].position = static_cast<float>(lines[i].start);
  }
}

void slide_in(ResultsLine *lines) {
  for (int frame = 0; frame < SLIDE_FRAMES; ++frame) {
    clear(back_buffer);
    step_stars();
    draw_stars(back_buffer);
    draw_results_lines(back_buffer, lines, LINES);
    slide_results_lines(lines, LINES);
    present_frame();
  }
}

void final_picture(const ResultsLine *lines, BITMAP *snapshot) {
  platform_clear_keybuf();
  clear(back_buffer);
  draw_results_lines(back_buffer, lines, LINES);
  const char *message = rating_message(player.score);
  draw_glyph_text(back_buffer, final_column(message), 180, message);
  blit(back_buffer, snapshot, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  step_stars();
  draw_stars(back_buffer);
  present_frame();
  note_final_results(player.score);
  platform_clear_keybuf();
}

// A firework when the counter passes a fresh random threshold of 10 to 34.
void maybe_launch_firework(int &counter) {
  ++counter;
  int threshold = 10 + random_number() % 25;
  if (counter <= threshold) return;
  int trail_style = random_number() % 2;
  int shade_ramp = random_number() % 4;
  int count = 40 + random_number() % 55;
  int y = random_number() % PICTURE_HEIGHT;
  int x = random_number() % PICTURE_WIDTH;
  start_explosion(x, y, count, shade_ramp, trail_style);
  counter = 0;
}

void fireworks_until_key(BITMAP *snapshot) {
  int counter = 0;
  do {
    maybe_launch_firework(counter);
    move_explosions();
    step_stars();
    draw_stars(back_buffer);
    for (int i = 0; i < MAX_EXPLOSIONS; ++i)
      if (explosions[i].active == 1) draw_explosion(i, back_buffer);
    draw_sprite(back_buffer, snapshot, 0, 0);
    present_frame();
    clear(back_buffer);
  } while (!platform_keypressed());
  platform_readkey();
}

// Grows from full size to just under six times: 51 frames.
void zoom_past(BITMAP *snapshot) {
  float scale = 1.0f;
  int angle = 0;
  do {
    draw_turned_picture(snapshot, itofix(angle), scale);
    angle = next_turn_angle(angle);
    step_stars();
    draw_stars(back_buffer);
    present_frame();
    clear(back_buffer);
    scale = static_cast<float>(scale + 0.1);
  } while (scale < 6.0);
}

}  // namespace

const char *rating_message(int score) {
  for (const Rating &r : ratings)
    if (score > r.above) return r.message;
  return "YOU MUST BE JOKING";
}

void show_final_results() {
  OwnedBitmap snapshot_owner = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  BITMAP *snapshot = snapshot_owner.get();
  platform_clear_screen();
  platform_set_palette(level_palette());
  init_stars();
  ResultsLine lines[LINES] = {};
  format_totals(lines);
  slide_in(lines);
  final_picture(lines, snapshot);
  fireworks_until_key(snapshot);
  zoom_past(snapshot);
}
