#include "platform/sys/stop_signals.h"

#include <signal.h>
#include <string.h>

#include <atomic>

namespace {

std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Only the first counts: a logout sends SIGTERM and SIGHUP back to back.
void note_signal(int signal) {
  int none = 0;
  received.compare_exchange_strong(none, signal);
}

constexpr int stop_signals[] = {SIGTERM, SIGINT, SIGHUP};

}  // namespace

void stop_signals_install() {
  struct sigaction action = {};
  action.sa_handler = note_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : stop_signals) sigaction(signal, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
}

int stop_signal_received() { return received.load(); }

std::string stop_signal_name(int signal) {
  const char *abbreviation = sigabbrev_np(signal);
  std::string name = abbreviation ? std::string("SIG") + abbreviation : "signal " + std::to_string(signal);
  return name + " (" + strsignal(signal) + ")";
}

void stop_signal_reraise() {
  int signal = received.load();
  if (signal == 0) return;
  ::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
}
