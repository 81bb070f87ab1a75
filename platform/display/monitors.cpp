#include "platform/display/monitors.h"

#include <climits>

namespace {

// Squared distance from the point to the rectangle (0 inside it).
long long distance_to(const ScreenRect &r, int x, int y) {
  long long dx = x < r.x ? r.x - x : x >= r.x + r.w ? x - (r.x + r.w - 1) : 0;
  long long dy = y < r.y ? r.y - y : y >= r.y + r.h ? y - (r.y + r.h - 1) : 0;
  return dx * dx + dy * dy;
}

}  // namespace

void add_monitor(Monitors &monitors, ScreenRect rect, bool primary) {
  if (monitors.count == MAX_MONITORS || rect.w <= 0 || rect.h <= 0) return;
  if (primary) monitors.primary = monitors.count;
  monitors.at[monitors.count++] = rect;
}

int monitor_holding(const Monitors &monitors, int x, int y) {
  int best = -1;
  long long nearest = LLONG_MAX;
  for (int i = 0; i < monitors.count; ++i) {
    long long d = distance_to(monitors.at[i], x, y);
    if (d < nearest) best = i, nearest = d;
  }
  return best;
}

int starting_monitor(const Monitors &monitors, int pointer_x, int pointer_y) {
  return monitors.primary >= 0 ? monitors.primary : monitor_holding(monitors, pointer_x, pointer_y);
}

ScreenRect monitor_rect(const Monitors &monitors, int index, int screen_w, int screen_h) {
  if (index < 0 || index >= monitors.count) return {0, 0, screen_w, screen_h};
  return monitors.at[index];
}
