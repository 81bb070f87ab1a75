// Windows: Ctrl+C and Ctrl+Break in the console the game was started from,
// the console closing, a logoff and a shutdown come as console events. The
// first two are noted and the game stops at its next wait; for the others
// Windows ends the process as soon as the handler returns, so the handler
// waits for the game to have finished (a recording written whole) first.
#include "platform/sys/stop_signals.h"

#include <signal.h>
#include <windows.h>

#include <atomic>

namespace {

std::atomic<int> received{0};
HANDLE finished = nullptr;  // set once the game has shut down

// Windows gives a closing console five seconds.
constexpr DWORD LONGEST_WAIT_MS = 4500;

void note_signal(int signal) {
  int none = 0;
  received.compare_exchange_strong(none, signal);
}

BOOL WINAPI on_console_event(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT: note_signal(SIGINT); return TRUE;
    case CTRL_BREAK_EVENT: note_signal(SIGBREAK); return TRUE;
    default:
      note_signal(SIGTERM);
      WaitForSingleObject(finished, LONGEST_WAIT_MS);
      return TRUE;
  }
}

}  // namespace

void stop_signals_install() {
  if (!finished) finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(on_console_event, TRUE);
}

int stop_signal_received() { return received.load(); }

std::string stop_signal_name(int signal) {
  switch (signal) {
    case SIGINT: return "Ctrl+C";
    case SIGBREAK: return "Ctrl+Break";
    case SIGTERM: return "the console's close, a logoff or a shutdown";
    default: return "signal " + std::to_string(signal);
  }
}

// The process ends with the status the game gave (128 + the signal).
void stop_signal_reraise() {
  if (finished) SetEvent(finished);
}
