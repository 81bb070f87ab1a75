// The monitors of the X screen and which of them the game is on. A desktop
// of two monitors is one X screen (3840 x 1080 side by side, say); the
// window and fullscreen are sized to one monitor of it, never across the
// seam between two. Shared by the real platform and its headless twin.
#pragma once

#include <array>

// A rectangle of the screen, in screen pixels.
struct ScreenRect {
  int x = 0, y = 0, w = 0, h = 0;
};

constexpr int MAX_MONITORS = 16;

// As the X server lists them (RandR 1.5); none when it lists none, and then
// the whole screen stands for the one monitor.
struct Monitors {
  std::array<ScreenRect, MAX_MONITORS> at{};
  int count = 0;
  int primary = -1;  // index of the primary monitor; -1: none is
};

// Adds one; a full list ignores it. The primary one says so.
void add_monitor(Monitors &monitors, ScreenRect rect, bool primary);

// The monitor holding the point, or the nearest one when none does (in a
// gap between monitors, off the screen); -1 when there are none.
int monitor_holding(const Monitors &monitors, int x, int y);

// The monitor the game opens on: the primary one, or else the one holding
// the pointer.
int starting_monitor(const Monitors &monitors, int pointer_x, int pointer_y);

// That monitor's rectangle; the whole screen for -1.
ScreenRect monitor_rect(const Monitors &monitors, int index, int screen_w, int screen_h);
