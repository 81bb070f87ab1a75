#include "platform/recording/viewer.h"

#include "platform/display/presenter.h"
#include "platform/platform_ops.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer_marks.h"
#include "platform/sys/monotonic_clock.h"

#include <allegro.h>

#include <algorithm>
#include <iterator>

namespace {


constexpr ViewerSpeed speeds[] = {{1, 4}, {1, 2}, {1, 1}, {2, 1}, {4, 1}, {8, 1}};
constexpr int NORMAL_SPEED = 2;
constexpr int FASTEST = static_cast<int>(std::size(speeds)) - 1;
constexpr long long SKIP_WAITS = 10 * 60;  // 10 s of the recording
constexpr int MARK_WAITS = 2 * 60;         // the mark shows for 2 s
// While a seek runs: its input taken at once and every 50 ms, and after
// its first 0.2 s the mark written every 0.1 s, so that it shows the seek
// moving.
constexpr long long INPUT_EVERY = 50 * NS_PER_MS;
constexpr long long PROGRESS_AFTER = 200 * NS_PER_MS;
constexpr long long PROGRESS_EVERY = 100 * NS_PER_MS;

struct Loop {
  int object = -1, volume = 0, pan = 0, frequency = 0;
};
constexpr int LOOPS_KEPT = 8;

struct Viewer {
  bool on = false;  // a watched replay has been seen at a wait
  int speed = NORMAL_SPEED;
  bool paused = false;
  bool step = false;          // "." while paused: one wait passes
  long long target = -1;      // a seek: waits pass at once until the clock is here
  long long shown_count = 0;  // ticking waits since the speed changed
  int mark_left = MARK_WAITS; // display waits the mark still shows for
  bool marked = false;        // the mark is on the display
  bool stop = false;          // Esc
  bool held = false;          // the display was held at the last wait
  bool sound = true;          // samples reach the device
  long long seek_since = 0;   // when the seek under way began (monotonic ns)
  long long input_at = 0;     // when its input was last taken
  long long progress_at = 0;  // when the mark was last written during it
  Loop loops[LOOPS_KEPT];
};

Viewer viewer;
Loop kept_loops[REPLAY_PLACES][LOOPS_KEPT];

bool seeking() { return viewer.target >= 0 && input_log_waits() < viewer.target; }
bool normal_speed() { return viewer.speed == NORMAL_SPEED; }

void draw_marks(BITMAP *onto) {
  draw_viewer_marks(onto, {input_log_waits(), input_log_length(), speeds[viewer.speed], viewer.paused});
}

// --- Sound ---------------------------------------------------------------

void set_sound(bool on) {
  if (on == viewer.sound) return;
  viewer.sound = on;
  const PlatformOps &ops = platform_ops_in_use();
  for (const Loop &l : viewer.loops) {
    if (l.object < 0) continue;
    if (on)
      ops.play_sample(l.object, l.volume, l.pan, l.frequency, 1);
    else
      ops.stop_sample(l.object);
  }
}

void forget_loops() {
  for (Loop &l : viewer.loops) l = Loop{};
}

// --- Seeking -------------------------------------------------------------

// Back to the start of the program, replayed at once up to `to`.
// Its input is taken at its first wait passed at once, then every 50 ms.
void seek_begins() {
  if (viewer.target >= 0) return;
  viewer.seek_since = now_ns();
  viewer.input_at = viewer.seek_since - INPUT_EVERY;
}

[[noreturn]] void rewind_to(long long to) {
  seek_begins();
  set_sound(false);
  forget_loops();
  viewer.target = to;
  viewer.held = true;
  presenter_hold(true);
  platform_keep_display_for_rewind();
  throw ReplayRewind{};
}

// To wait `to` of the recording: back by a rewind, ahead by running on. A
// seek cut shorter while it runs goes back too: the frames up to its old
// end may have passed undrawn.
void seek_to(long long to) {
  long long now = input_log_waits();
  if (to < now || (seeking() && to < viewer.target)) rewind_to(to);
  if (to > now) seek_begins();
  viewer.target = to > now ? to : -1;
}

// From the moment sought so far (or now), `by` waits on or back.
void seek_by(long long by) {
  long long from = viewer.target >= 0 ? viewer.target : input_log_waits();
  seek_to(std::max(0LL, from + by));
}

// --- Keys ----------------------------------------------------------------

void change_speed(int by) {
  viewer.speed = std::clamp(viewer.speed + by, 0, FASTEST);
  viewer.shown_count = 0;
}

void act_on_key(int k) {
  int scancode = k >> 8, ascii = k & 0xff;
  viewer.mark_left = MARK_WAITS;
  if (scancode == KEY_SPACE || scancode == KEY_P) {
    viewer.paused = !viewer.paused;
  } else if (ascii == '.' || scancode == KEY_STOP) {
    viewer.step = viewer.paused;
    viewer.paused = true;
  } else if (ascii == '+' || ascii == '=' || scancode == KEY_PLUS_PAD) {
    change_speed(1);
  } else if (ascii == '-' || scancode == KEY_MINUS || scancode == KEY_MINUS_PAD) {
    change_speed(-1);
  } else if (scancode == KEY_RIGHT) {
    seek_by(SKIP_WAITS);
  } else if (scancode == KEY_LEFT) {
    seek_by(-SKIP_WAITS);
  } else if (scancode == KEY_HOME) {
    seek_to(0);
  } else if (scancode == KEY_ESC) {
    viewer.stop = true;
  } else if ((scancode == KEY_ENTER || scancode == KEY_ENTER_PAD) && input_log_take_over()) {
    viewer.paused = false;
  }
}

void read_keys() {
  const PlatformOps &ops = platform_ops_in_use();
  while (ops.keypressed()) act_on_key(ops.readkey());
}

// --- The display ---------------------------------------------------------

// The mark on the display or off it, as it stands after one more wait of
// the display; written at once unless a frame is about to be presented.
void update_marks(bool presenting) {
  if (viewer.mark_left > 0) --viewer.mark_left;
  bool show = viewer.mark_left > 0 || viewer.paused;
  if (!show && !viewer.marked) return;
  presenter_set_overlay(show ? draw_marks : nullptr);
  viewer.marked = show;
  if (!presenting) presenter_refresh();
}

// One sixtieth of the display with nothing of the recording passing; a
// stop signal ends the game here as at any wait.
void wait_on_display() {
  update_marks(false);
  platform_check_stop_signal();
  platform_ops_in_use().vsync();
  read_keys();
}

// The mark as it stands, on the display over the picture it holds.
void show_progress() {
  viewer.mark_left = MARK_WAITS;
  viewer.marked = true;
  presenter_set_overlay(draw_marks);
  presenter_hold(false);
  presenter_hold(true);
}

// Now and then during a seek: the keys that came meanwhile acted on (Esc,
// another seek), the platform's own (F11, the close button), and the mark.
void during_seek() {
  long long now = now_ns();
  if (now - viewer.input_at < INPUT_EVERY) return;
  viewer.input_at = now;
  platform_ops_in_use().between_waits();
  read_keys();
  if (now - viewer.seek_since < PROGRESS_AFTER || now - viewer.progress_at < PROGRESS_EVERY) return;
  viewer.progress_at = now;
  if (viewer.held) show_progress();
}

// Paused at a wait of the recording: until play goes on, a step, a seek,
// the take-over or Esc.
void hold() {
  while (viewer.paused && !viewer.step && !seeking() && !viewer.stop) {
    set_sound(false);
    wait_on_display();
  }
  viewer.step = false;
}

// Whether this ticking wait passes unseen at a speed above 1x: all but
// every n-th.
bool skipped_at_speed() {
  int times = speeds[viewer.speed].times;
  return times > 1 && viewer.shown_count++ % times != 0;
}

void hold_display(bool held) {
  if (held == viewer.held) return;
  viewer.held = held;
  presenter_hold(held);
}

// Back to plain play, the player having taken over: the display and the
// sound as they are without the viewer.
void leave() {
  viewer.on = viewer.paused = viewer.marked = false;
  viewer.target = -1;
  presenter_set_overlay(nullptr);
  hold_display(false);
  set_sound(true);
}

}  // namespace

long long viewer_seek_target() { return viewer.target; }

void viewer_keep_loops(int slot) { std::copy(std::begin(viewer.loops), std::end(viewer.loops), kept_loops[slot]); }

void viewer_go_to_loops(int slot) {
  std::copy(std::begin(kept_loops[slot]), std::end(kept_loops[slot]), viewer.loops);
}

bool viewer_unseen_before(long long waits) {
  return input_log_watched() && seeking() && waits <= viewer.target;
}

void viewer_start() { viewer = Viewer{}; }

void viewer_stop() {
  presenter_set_overlay(nullptr);
  presenter_hold(false);
  viewer = Viewer{};
}

bool viewer_before_wait(Wait kind, bool &stop) {
  if (!input_log_watched()) {
    if (viewer.on) leave();
    return false;
  }
  viewer.on = true;
  read_keys();
  if (seeking()) during_seek();
  bool at_once = seeking();
  if (!at_once) viewer.target = -1;
  if (!at_once && viewer.paused && ticking(kind)) {
    hold_display(false);
    hold();
    at_once = seeking();
  }
  if (!at_once) at_once = ticking(kind) ? skipped_at_speed() : speeds[viewer.speed].times > 1;
  hold_display(at_once);
  set_sound(!at_once && normal_speed() && !viewer.paused);
  if (!at_once) {
    if (ticking(kind))
      for (int k = 1; k < speeds[viewer.speed].per; ++k) wait_on_display();
    update_marks(kind == Wait::Present);
  }
  stop = viewer.stop;
  return at_once;
}

bool viewer_plays_sample(int object, int volume, int pan, int frequency, int loop) {
  if (loop) {
    Loop *free = nullptr;
    for (Loop &l : viewer.loops)
      if (l.object == object || (!free && l.object < 0)) free = &l;
    if (free) *free = Loop{object, volume, pan, frequency};
  }
  return viewer.sound;
}

void viewer_sample_stopped(int object) {
  for (Loop &l : viewer.loops)
    if (l.object == object) l = Loop{};
}

