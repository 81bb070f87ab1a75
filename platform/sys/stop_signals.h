// The signals that end a session from outside: SIGTERM (shutdown, logout,
// kill), SIGINT (Ctrl+C) and SIGHUP (the terminal or session gone). Their
// handler only notes the signal; the seam stops the game at its next wait
// as the close button does, so that a recording is finished, and the
// program ends by the same signal once it has shut down.
//
// SIGPIPE and SIGXFSZ are ignored: a write to a closed pipe or past the
// file size limit fails with EPIPE or EFBIG and is reported as any other
// failed write.
#pragma once

#include <string>

// At the very start of the program, and again once the library has put
// its own handlers in place.
void stop_signals_install();

// The first stop signal received, or 0.
int stop_signal_received();

// "SIGTERM (Terminated)".
std::string stop_signal_name(int signal);

// Once everything is shut down: ends the process by the signal received
// (the shell then sees 128 + the signal), or returns when there was none.
void stop_signal_reraise();
