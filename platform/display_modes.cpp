#include "platform/display_modes.h"

#include <algorithm>

int fitting_window_scale(int desktop_w, int desktop_h) {
  if (desktop_w <= 0 || desktop_h <= 0) return 2;
  int scale = 1;
  while (scale < MAX_WINDOW_SCALE && 320 * (scale + 1) * 100 <= desktop_w * 85 &&
         240 * (scale + 1) * 100 <= desktop_h * 85)
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
  for (int s = scale; s >= 1; --s) add(list, ModeKind::Window, 320 * s, 240 * s);
  add(list, ModeKind::Any, 320, 240);
  add(list, ModeKind::Any, 640, 480);
  return list;
}

Placement place_picture(int screen_w, int screen_h) {
  int scale = std::max(1, std::min(screen_w / 320, screen_h / 240));
  return {scale, std::max(0, (screen_w - 320 * scale) / 2), std::max(0, (screen_h - 240 * scale) / 2)};
}
