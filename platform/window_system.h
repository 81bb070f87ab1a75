// What the window system gives the real platform (real_platform.cpp), which
// does the rest through the library the same on every system: on Linux the
// X11 window of x11/ (x11/x11_window_system.cpp).
#pragma once

#include "platform/display/display_policy.h"

#include <allegro.h>

#include <string>

// Before anything else: empty when the display can be reached, else one
// line saying what is missing and what to do.
std::string window_system_preflight();

// Around the library's start: before install_allegro, and once it runs.
void window_system_before_library();
void window_system_after_library();

// At the start of every wait: throws QuitRequested once the window or the
// connection to the display is gone.
void window_system_check();
// Whether F11 is held now, whichever window has the keyboard: its release
// may have gone to another window.
bool window_system_f11_held();
// Waits for the next deadline of the pacer, taking the window's input as it
// comes; the ticks of the logic timer passed.
int window_system_wait();
// The window's input that has come, taken without waiting.
void window_system_take_input();

// The display: the screen's monitors, the pointer, and the centre of the
// game's window while a window manager places it (false otherwise).
Monitors window_system_monitors();
bool window_system_pointer(int &x, int &y);
bool window_system_window_centre(int &x, int &y);
// Around set_gfx_mode: the window prepared for the mode, and placed once
// the mode is set.
void window_system_before_mode(const ModeTry &mode, const ModePlace &place);
void window_system_mode_set(const ModeTry &mode, const ModePlace &place);
// The mode is on: the window's identity given; w x h, the mode's size,
// becomes the size the window really got.
void window_system_mode_on(int &w, int &h);
// The picture in `area` of the mode's display, a window of w x h: from the
// library's screen bitmap in the palette given, or the window system's own
// buffers. `fit`: only the window's size changed.
void window_system_attach(const RGB *palette, const ScreenRect &area, int w, int h);
void window_system_fit(const RGB *palette, const ScreenRect &area, int w, int h);
void window_system_detach();
// True when the window has had another size since it was last asked.
bool window_system_window_resized(int &w, int &h);
// Right after a mode switch, the focus gone: whether it is asked back from
// the window manager (which kept it on a window of its own, or on none),
// or is the game's again; false when another client's window took it.
bool window_system_ask_focus_back();

// At shutdown: whether the connection to the display died (the library is
// then left unshut); what the window system holds, after the library went.
bool window_system_connection_lost();
void window_system_release();
