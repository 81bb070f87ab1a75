// The window as the desktop knows it: its class "swarmfire", "Swarmfire"
// (which a dock or taskbar ties to the installed desktop entry's
// StartupWMClass), the ship as its icon, and the process it belongs to.
#pragma once

// The class and the library's X11 icon: before the library starts, as it
// makes its window then (set later, the class lands on an inner window).
void x11_identity_before_library();
// _NET_WM_ICON, _NET_WM_PID and WM_CLIENT_MACHINE on the window of the
// mode just set.
void x11_identity_after_mode();
