#include "platform/sys/background_thread.h"
#include "platform/sys/monotonic_clock.h"
#include "platform/sys/threads.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>
#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace {

constexpr int MAX_FUNCTIONS = 16;
constexpr long long OTHERS_INTERVAL = 10 * NS_PER_MS;
// The others keep a 10 ms grid, but each runs in any wakeup up to this much
// before or after its deadline, so that they mostly ride on the sound
// driver's wakeups instead of waking the thread on their own.
constexpr long long OTHERS_SLACK = 4 * NS_PER_MS;
// The least time the thread sleeps between passes.
constexpr long long LEAST_GAP = NS_PER_MS;

struct Scheduled {
  bg_func function;
  bool sound;
  long long next;      // ns on the monotonic clock
  long long last_run;  // ns
};

// All below is guarded by `lock`, which the thread holds while it runs
// functions; it is recursive, so that a function may register, unregister
// or disable like any other caller. Both live for the whole run, so that
// the library may still disable and enable after the thread has stopped.
pthread_mutex_t lock = PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP;
pthread_cond_t enabled = PTHREAD_COND_INITIALIZER;  // interrupts enabled again, or stop
pthread_cond_t work = PTHREAD_COND_INITIALIZER;     // a function registered, or stop
Scheduled functions[MAX_FUNCTIONS];
int function_count = 0;
int disabled = 0;
bool stopping = false;
bool running = false;
bool sound_starting = false;
bool input_elsewhere = false;  // the others are the main thread's to run
long long sound_period = OTHERS_INTERVAL;    // of the card, ns
long long sound_interval = OTHERS_INTERVAL;  // a period, at most the others' interval
pthread_t thread;

bg_manager library_table;  // the library's own functions, for the fall back
bool taken_over = false;

long long interval_of(const Scheduled &s) { return s.sound ? sound_interval : OTHERS_INTERVAL; }
bool runs_here(const Scheduled &s) { return s.sound || !input_elsewhere; }

// When a function may run at the earliest, and when the thread wakes for it
// at the latest.
long long opens(const Scheduled &s) { return s.sound ? s.next : s.next - OTHERS_SLACK; }
long long closes(const Scheduled &s) { return s.sound ? s.next : s.next + OTHERS_SLACK; }

// Whether any function registered runs on this thread; with none it
// sleeps until one is registered, instead of waking for nothing.
bool any_here() {
  for (int i = 0; i < function_count; ++i)
    if (runs_here(functions[i])) return true;
  return false;
}

long long earliest_deadline() {
  long long next = now_ns() + OTHERS_INTERVAL;
  for (int i = 0; i < function_count; ++i)
    if (runs_here(functions[i]) && closes(functions[i]) < next) next = closes(functions[i]);
  return next;
}

// Each stays on its grid; one that fell behind starts it again from now.
void reschedule(Scheduled &s, long long now) {
  s.next += interval_of(s);
  if (closes(s) <= now) s.next = now + interval_of(s);
}

// The first function due at `now`, the sound driver's before the others
// (an input handler may wait a while for the display's lock); -1 if none.
int first_due(long long now) {
  for (int sound = 1; sound >= 0; --sound)
    for (int i = 0; i < function_count; ++i)
      if (functions[i].sound == sound && runs_here(functions[i]) && opens(functions[i]) <= now) return i;
  return -1;
}

bool still_registered(bg_func function) {
  for (int i = 0; i < function_count; ++i)
    if (functions[i].function == function) return true;
  return false;
}

// How many times a sound function runs now: the driver writes at most one
// period each time it runs, so once more for each period played since it
// last ran, and a pass that came late fills what the card played meanwhile.
int runs_due(Scheduled &s, long long now) {
  if (!s.sound) return 1;
  long long periods = (now - s.last_run) / sound_period;
  s.last_run = now;
  return 1 + static_cast<int>(periods < 0 ? 0 : periods > 7 ? 7 : periods);
}

// Runs every function due at `now`. The list is searched again after each
// call, as a function may change it.
void run_due(long long now) {
  for (;;) {
    int due = first_due(now);
    if (due < 0) return;
    bg_func function = functions[due].function;
    int runs = runs_due(functions[due], now);
    reschedule(functions[due], now);
    for (int i = 0; i < runs && still_registered(function); ++i) function(1);
  }
}

// The lock is let go between passes, and for at least a millisecond, so
// that a caller waiting to disable or unregister gets in even when the
// functions take longer than their intervals.
void *thread_main(void *) {
  pthread_mutex_lock(&lock);
  while (!stopping) {
    if (!any_here()) {
      pthread_cond_wait(&work, &lock);
      continue;
    }
    long long next = earliest_deadline(), soonest = now_ns() + LEAST_GAP;
    pthread_mutex_unlock(&lock);
    sleep_until(next > soonest ? next : soonest);
    pthread_mutex_lock(&lock);
    while (disabled > 0 && !stopping) pthread_cond_wait(&enabled, &lock);
    if (!stopping) run_due(now_ns());
  }
  pthread_mutex_unlock(&lock);
  return nullptr;
}

// --- The table's functions ----------------------------------------------

void use_library_thread() {
  _bg_man_pthreads = library_table;
  taken_over = false;
}

int start_background() {
  if (running) return 0;
  function_count = 0;
  disabled = 0;
  stopping = false;
  if (!start_thread(thread, thread_main, "background")) {
    use_library_thread();
    return _bg_man_pthreads.init ? _bg_man_pthreads.init() : -1;
  }
  running = true;
  return 0;
}

void stop_background() {
  if (!running) return;
  pthread_mutex_lock(&lock);
  stopping = true;
  pthread_cond_broadcast(&enabled);
  pthread_cond_broadcast(&work);
  pthread_mutex_unlock(&lock);
  pthread_join(thread, nullptr);
  running = false;
  function_count = 0;
}

int register_function(bg_func function) {
  pthread_mutex_lock(&lock);
  int result = -1;
  if (function_count < MAX_FUNCTIONS) {
    Scheduled &s = functions[function_count++];
    s.function = function;
    s.sound = sound_starting;
    s.last_run = now_ns();
    s.next = s.last_run + interval_of(s);
    result = 0;
    pthread_cond_broadcast(&work);
  }
  pthread_mutex_unlock(&lock);
  return result;
}

// Once it returns, the function is not running and will not run again.
int unregister_function(bg_func function) {
  pthread_mutex_lock(&lock);
  int kept = 0;
  for (int i = 0; i < function_count; ++i)
    if (functions[i].function != function) functions[kept++] = functions[i];
  int result = kept < function_count ? 0 : -1;
  function_count = kept;
  pthread_mutex_unlock(&lock);
  return result;
}

void enable_interrupts() {
  pthread_mutex_lock(&lock);
  if (disabled > 0 && --disabled == 0) pthread_cond_broadcast(&enabled);
  pthread_mutex_unlock(&lock);
}

// Waits for a pass already running to end (unless called from within it).
void disable_interrupts() {
  pthread_mutex_lock(&lock);
  ++disabled;
  pthread_mutex_unlock(&lock);
}

int interrupts_disabled() {
  pthread_mutex_lock(&lock);
  int result = disabled > 0;
  pthread_mutex_unlock(&lock);
  return result;
}

}  // namespace

void background_thread_take_over() {
  if (taken_over) return;
  library_table = _bg_man_pthreads;
  _bg_man_pthreads.multi_threaded = 1;
  _bg_man_pthreads.init = start_background;
  _bg_man_pthreads.exit = stop_background;
  _bg_man_pthreads.register_func = register_function;
  _bg_man_pthreads.unregister_func = unregister_function;
  _bg_man_pthreads.enable_interrupts = enable_interrupts;
  _bg_man_pthreads.disable_interrupts = disable_interrupts;
  _bg_man_pthreads.interrupts_disabled = interrupts_disabled;
  taken_over = true;
}

void background_thread_sound_starting(bool starting) {
  if (!running) return;
  pthread_mutex_lock(&lock);
  sound_starting = starting;
  pthread_mutex_unlock(&lock);
}

void background_thread_set_sound_period(long long ns) {
  if (!running || ns <= 0) return;
  pthread_mutex_lock(&lock);
  sound_period = ns;
  sound_interval = ns < OTHERS_INTERVAL ? ns : OTHERS_INTERVAL;
  long long soonest = now_ns() + sound_interval;
  for (int i = 0; i < function_count; ++i)
    if (functions[i].sound && functions[i].next > soonest) functions[i].next = soonest;
  pthread_mutex_unlock(&lock);
}

void background_thread_leave_input() {
  pthread_mutex_lock(&lock);
  input_elsewhere = true;
  pthread_mutex_unlock(&lock);
}

bool background_thread_running() { return running; }

bool library_defaults_asked() {
  const char *asked = std::getenv("SWARMFIRE_LIBRARY_DEFAULTS");
  return asked && *asked && std::string(asked) != "0";
}
