#include "platform/display/display_modes.h"

#include <algorithm>

namespace {

// The largest whole scale whose 320s x 240s window fits within `percent`
// of the monitor's width and height (1 at least); `unknown` when its size
// is (0 x 0).
int scale_within(const ScreenRect &monitor, int percent, int unknown) {
  if (monitor.w <= 0 || monitor.h <= 0) return unknown;
  int scale = 1;
  while (scale < MAX_WINDOW_SCALE && PICTURE_WIDTH * (scale + 1) * 100 <= monitor.w * percent &&
         PICTURE_HEIGHT * (scale + 1) * 100 <= monitor.h * percent)
    ++scale;
  return scale;
}

void add(ModeList &list, ModeKind kind, int width, int height) {
  if (list.count < static_cast<int>(list.tries.size())) list.tries[list.count++] = {kind, width, height};
}

}  // namespace

int window_scale(const DisplayRequest &request, const ScreenRect &monitor) {
  int fitting = scale_within(monitor, FITTING_PERCENT, 2);
  if (request.scale <= 0) return fitting;
  int scale = std::min(request.scale, scale_within(monitor, 100, MAX_WINDOW_SCALE));
  return request.fit ? std::min(scale, fitting) : scale;
}

const ModeTry *first_mode_set(const ModeList &list, bool fullscreen_only, bool (*set)(const ModeTry &)) {
  for (int i = 0; i < list.count; ++i) {
    const ModeTry &mode = list.tries[i];
    if ((!fullscreen_only || is_fullscreen(mode.kind)) && set(mode)) return &mode;
  }
  return nullptr;
}

ModeList modes_to_try(const DisplayRequest &request, const ScreenRect &monitor, int screen_w, int screen_h) {
  ModeList list;
  if (request.fullscreen) {
    if (monitor.w > 0 && monitor.h > 0) add(list, ModeKind::FullscreenWindow, monitor.w, monitor.h);
    if (screen_w > 0 && screen_h > 0)
      add(list, ModeKind::Fullscreen, screen_w, screen_h);
    else
      add(list, ModeKind::Fullscreen, 640, 480);
  }
  int scale = window_scale(request, monitor);
  for (int s = scale; s >= 1; --s) add(list, ModeKind::Window, PICTURE_WIDTH * s, PICTURE_HEIGHT * s);
  add(list, ModeKind::Any, PICTURE_WIDTH, PICTURE_HEIGHT);
  add(list, ModeKind::Any, 640, 480);
  return list;
}

WindowPlace window_place(const ModeTry &mode, const ScreenRect &monitor) {
  if (mode.kind == ModeKind::FullscreenWindow) return {true, monitor.x, monitor.y};
  if (mode.kind == ModeKind::Fullscreen) return {false, 0, 0};
  return {true, monitor.x + std::max(0, (monitor.w - mode.width) / 2),
          monitor.y + std::max(0, (monitor.h - mode.height) / 2)};
}

ScreenRect picture_area(const ModeTry &mode, const ScreenRect &monitor, int window_w, int window_h) {
  if (mode.kind == ModeKind::Fullscreen && monitor.w > 0 && monitor.h > 0 &&
      monitor.x + monitor.w <= mode.width && monitor.y + monitor.h <= mode.height)
    return monitor;
  return {0, 0, std::min(mode.width, window_w), std::min(mode.height, window_h)};
}

Placement place_picture(const ScreenRect &area) {
  int scale = std::max(1, std::min(area.w / PICTURE_WIDTH, area.h / PICTURE_HEIGHT));
  return {scale, area.x + std::max(0, (area.w - PICTURE_WIDTH * scale) / 2),
          area.y + std::max(0, (area.h - PICTURE_HEIGHT * scale) / 2)};
}
