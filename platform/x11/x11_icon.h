// The window's icon, made at build time from the ship of level1.dat (by
// dist/make_icons, into the build's generated folder).
#pragma once

#include <cstdint>

// _NET_WM_ICON's cardinals: for each size its width, its height, then one
// ARGB value per pixel, row by row.
extern const uint32_t window_icon_cardinals[];
extern const int window_icon_cardinal_count;
// One size as XPM text, for the library's X11 icon.
extern const char *const window_icon_xpm[];
