// The keyboard focus right after the game's own mode switch: a window
// manager may keep it on a window of its own (mutter, now and then, once
// the window comes back), and the game's keys then go nowhere. Only the
// real platform calls this.
#pragma once

// The focus is not on the game's window: when it is on a window of the
// window manager's own, or on none, it is asked back (the manager's
// _NET_ACTIVE_WINDOW as an application asks, or else XSetInputFocus) and
// true is returned; a window of another client keeps it (false). True too
// when the focus is the game's again.
bool x11_ask_focus_back();
