// The window's icon as C++ source, compiled into the game: the icons of
// every size as the cardinals of _NET_WM_ICON (width, height, then one
// ARGB value per pixel, size after size), and one of them as XPM text for
// the library's own X11 icon (the window manager's hints).
#pragma once

#include "dist/icon.h"

#include <string>
#include <vector>

std::string window_icon_source(const std::vector<Icon> &icons, const Icon &xpm_icon);
