// The platform's background thread, driven through the library's table as
// the library drives it: registered functions run on the thread, on their
// own schedules, never while interrupts are disabled (nested, and waiting
// for a pass in progress), never after they are unregistered, and the
// thread stops and is joined at exit.
#include "platform/sys/background_thread.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <allegro/platform/aintunix.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> calls{0}, sound_calls{0}, threaded_seen{-1};
std::atomic<bool> in_pass{false};

void counted(int threaded) { threaded_seen = threaded, ++calls; }
void sound_update(int) { ++sound_calls; }

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A long pass that disables and enables from within, as library code may.
void slow(int) {
  in_pass = true;
  _bg_man_pthreads.disable_interrupts();
  pause_ms(30);
  _bg_man_pthreads.enable_interrupts();
  in_pass = false;
}

// Whether `condition` comes to hold within five seconds.
template <class Condition>
bool eventually(Condition condition) {
  for (int i = 0; i < 500 && !condition(); ++i) pause_ms(10);
  return condition();
}

int threads() {
  auto tasks = std::filesystem::directory_iterator("/proc/self/task");
  return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

}  // namespace

TEST(BackgroundThread, RunsFunctionsOnlyWhileEnabledAndStopsCleanly) {
  int threads_before = threads();
  background_thread_take_over();
  bg_manager &table = _bg_man_pthreads;
  ASSERT_EQ(table.init(), 0);
  ASSERT_TRUE(background_thread_running());
  EXPECT_EQ(threads(), threads_before + 1);

  table.register_func(counted);
  background_thread_sound_starting(true);
  table.register_func(sound_update);
  background_thread_sound_starting(false);
  background_thread_set_sound_period(1'000'000);
  EXPECT_TRUE(eventually([] { return calls >= 3; }));
  EXPECT_EQ(threaded_seen, 1);
  // The sound driver's function on its own, faster schedule.
  EXPECT_TRUE(eventually([] { return sound_calls >= calls + 20; })) << sound_calls << " " << calls;

  // Disabled twice: nothing runs until the second enable.
  table.disable_interrupts();
  table.disable_interrupts();
  EXPECT_TRUE(table.interrupts_disabled());
  int held = calls, sound_held = sound_calls;
  pause_ms(40);
  table.enable_interrupts();
  EXPECT_TRUE(table.interrupts_disabled());
  pause_ms(40);
  EXPECT_TRUE(calls == held && sound_calls == sound_held) << calls << " " << sound_calls;
  table.enable_interrupts();
  EXPECT_FALSE(table.interrupts_disabled());
  EXPECT_TRUE(eventually([&] { return calls > held && sound_calls > sound_held; }));

  // Disabling waits for a pass in progress to end.
  table.register_func(slow);
  ASSERT_TRUE(eventually([] { return in_pass.load(); }));
  table.disable_interrupts();
  EXPECT_FALSE(in_pass);
  table.enable_interrupts();

  // Unregistered: not running, and never again.
  table.unregister_func(slow);
  table.unregister_func(counted);
  EXPECT_FALSE(in_pass);
  held = calls;
  pause_ms(40);
  EXPECT_EQ(calls, held);

  table.exit();
  EXPECT_FALSE(background_thread_running());
  EXPECT_EQ(threads(), threads_before);
}
