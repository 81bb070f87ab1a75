#include "screens/results_common.h"

#include "frame/program_services.h"
#include "platform/platform.h"
#include "render/glyph_text.h"

#include <cstring>

namespace {

constexpr float SLIDE_STEP = 1.0f / SLIDE_FRAMES;  // of the way, each frame

}  // namespace

int results_column(const char *text) {
  return (PICTURE_WIDTH - 14 * static_cast<int>(std::strlen(text))) / 2;
}

void draw_results_lines(BITMAP *bitmap, const ResultsLine *lines, int count) {
  for (int i = 0; i < count; ++i)
    draw_glyph_text(bitmap, static_cast<int>(lines[i].position), lines[i].y, lines[i].text);
}

void slide_results_lines(ResultsLine *lines, int count) {
  for (int i = 0; i < count; ++i) {
    ResultsLine &line = lines[i];
    line.position += static_cast<float>(line.target - line.start) * SLIDE_STEP;
  }
}

int next_turn_angle(int angle) {
  angle += 4;
  return angle > 256 ? 0 : angle;
}

int hit_percentage(int hit, int fired) { return fired == 0 ? 0 : hit * 100 / fired; }
