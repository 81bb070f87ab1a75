// What the level results and final results screens share: lines of glyph
// text that slide in and come to rest, and the turned, scaled snapshot that
// ends both screens.
#pragma once

#include <allegro.h>

#include <cstdio>

// A line of results text: formatted into text, drawn at row y from the
// column its sliding position has reached on its way from start to target.
struct ResultsLine {
  char text[48];
  int y;
  float position;
  int start;
  int target;
};

// A line comes to rest in this many frames, going a fiftieth of the way
// from its start to its target each frame.
constexpr int SLIDE_FRAMES = 50;

// The column that centres a line, counting 14 pixels per character.
int results_column(const char *text);

template <typename... Args>
void format_line(ResultsLine &line, const char *format, Args... args) {
  std::snprintf(line.text, sizeof line.text, format, args...);
}

// Each line at its position truncated to a column.
void draw_results_lines(BITMAP *bitmap, const ResultsLine *lines, int count);
// Each line one frame's step further towards its target.
void slide_results_lines(ResultsLine *lines, int count);

// The next angle of a turning picture: 4 units on, back to 0 past a turn.
int next_turn_angle(int angle);

// The percentage of shots that hit; 0 when none was fired.
int hit_percentage(int hit, int fired);
