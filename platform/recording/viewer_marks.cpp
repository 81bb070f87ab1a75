#include "platform/recording/viewer_marks.h"

#include "platform/platform.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int BAND_TOP = 226;
constexpr int TEXT_Y = 228;
constexpr int BAR_Y = 237;

std::string speed_text(const ViewerSpeed &s) {
  if (s.per > 1) return "1/" + std::to_string(s.per) + "x";
  return std::to_string(s.times) + "x";
}

}  // namespace

std::string time_of_waits(long long waits) {
  long long seconds = std::max(0LL, waits) / 60;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
  return text;
}

void draw_viewer_marks(BITMAP *onto, const ViewerMarks &m) {
  PALETTE palette;
  get_palette(palette);
  int black = bestfit_color(palette, 0, 0, 0), white = bestfit_color(palette, 63, 63, 63);
  int red = bestfit_color(palette, 63, 12, 12), grey = bestfit_color(palette, 24, 24, 24);
  rectfill(onto, 0, BAND_TOP, PICTURE_WIDTH - 1, PICTURE_HEIGHT - 1, black);
  textout_ex(onto, font, "REPLAY", 4, TEXT_Y, red, -1);
  std::string state = m.paused ? "PAUSED" : "";
  if (m.speed.times != 1 || m.speed.per != 1) {
    if (!state.empty()) state += ' ';
    state += speed_text(m.speed);
  }
  textout_centre_ex(onto, font, state.c_str(), PICTURE_WIDTH / 2, TEXT_Y, white, -1);
  std::string clock = time_of_waits(m.now) + " / " + time_of_waits(m.length);
  textout_right_ex(onto, font, clock.c_str(), PICTURE_WIDTH - 4, TEXT_Y, white, -1);
  hline(onto, 0, BAR_Y, PICTURE_WIDTH - 1, grey);
  long long done = m.length > 0 ? std::min(m.now, m.length) * PICTURE_WIDTH / m.length : 0;
  if (done > 0) rectfill(onto, 0, BAR_Y - 1, static_cast<int>(done) - 1, BAR_Y, red);
}
