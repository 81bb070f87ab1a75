#include "platform/display_modes.h"

#include <algorithm>

int fitting_window_scale(int desktop_w, int desktop_h) {
  if (desktop_w <= 0 || desktop_h <= 0) return 2;
  int scale = 1;
  while (scale < MAX_WINDOW_SCALE && PICTURE_WIDTH * (scale + 1) * 100 <= desktop_w * FITTING_PERCENT &&
         PICTURE_HEIGHT * (scale + 1) * 100 <= desktop_h * FITTING_PERCENT)
    ++scale;
  return scale;
}

namespace {

void add(ModeList &list, ModeKind kind, int width, int height) {
  if (list.count < static_cast<int>(list.tries.size())) list.tries[list.count++] = {kind, width, height};
}

}  // namespace

const ModeTry *first_mode_set(const ModeList &list, bool fullscreen_only, bool (*set)(const ModeTry &)) {
  for (int i = 0; i < list.count; ++i) {
    const ModeTry &mode = list.tries[i];
    if ((!fullscreen_only || is_fullscreen(mode.kind)) && set(mode)) return &mode;
  }
  return nullptr;
}

ModeList modes_to_try(const DisplayRequest &request, int desktop_w, int desktop_h) {
  ModeList list;
  if (request.fullscreen) {
    if (desktop_w > 0 && desktop_h > 0) {
      add(list, ModeKind::FullscreenWindow, desktop_w, desktop_h);
      add(list, ModeKind::Fullscreen, desktop_w, desktop_h);
    } else {
      add(list, ModeKind::Fullscreen, 640, 480);
    }
  }
  int fitting = fitting_window_scale(desktop_w, desktop_h);
  int scale = request.scale > 0 ? std::min(request.scale, MAX_WINDOW_SCALE) : fitting;
  if (request.fit) scale = std::min(scale, fitting);
  for (int s = scale; s >= 1; --s) add(list, ModeKind::Window, PICTURE_WIDTH * s, PICTURE_HEIGHT * s);
  add(list, ModeKind::Any, PICTURE_WIDTH, PICTURE_HEIGHT);
  add(list, ModeKind::Any, 640, 480);
  return list;
}

Placement place_picture(int screen_w, int screen_h) {
  int scale = std::max(1, std::min(screen_w / PICTURE_WIDTH, screen_h / PICTURE_HEIGHT));
  return {scale, std::max(0, (screen_w - PICTURE_WIDTH * scale) / 2),
          std::max(0, (screen_h - PICTURE_HEIGHT * scale) / 2)};
}
