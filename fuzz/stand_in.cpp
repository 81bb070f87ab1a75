#include "fuzz/stand_in.h"

#include "platform/platform.h"
#include "platform/platform_ops.h"

#include <deque>

namespace {

// --- The platform ------------------------------------------------------------

struct Live {
  uint32_t state = 1;
  long close_at = 0;
  long waits = 0;
  bool held[KEY_MAX] = {};
  bool focus_lost = false;
  std::deque<int> buffer;
};

Live live;

uint32_t draw(uint32_t n) {
  live.state = live.state * 1664525u + 1013904223u;
  return (live.state >> 8) % n;
}

// The keys the stand-in game asks about, held and let go now and then (the
// two that end it together, seldom).
struct LiveKey {
  int scancode;
  uint32_t one_in;
};
const LiveKey keys[] = {{KEY_LEFT, 8}, {KEY_RIGHT, 8}, {KEY_P, 30},  {KEY_ESC, 40},
                        {KEY_Q, 60},   {KEY_ENTER, 60}, {KEY_SPACE, 10}};

void change_inputs() {
  for (const LiveKey &k : keys)
    if (draw(k.one_in) == 0) live.held[k.scancode] = !live.held[k.scancode];
  if (draw(40) == 0) live.focus_lost = !live.focus_lost;
  if (draw(8) == 0) live.buffer.push_back(static_cast<int>(draw(128)) << 8 | static_cast<int>(draw(128)));
}

void begin_wait() {
  if (live.close_at > 0 && ++live.waits >= live.close_at) throw QuitRequested{};
  if (live.close_at == 0) ++live.waits;
  change_inputs();
}

void timed_wait(Wait kind) {
  begin_wait();
  platform_ticks_due(kind, static_cast<int>(draw(3)));
}

std::string nothing() { return {}; }
void none() {}
int opened(const DisplayRequest &) { return 0; }
void present(BITMAP *) { timed_wait(Wait::Present); }
void yield() { timed_wait(Wait::Yield); }
void key_wait() { timed_wait(Wait::KeyWait); }
void fade_from(const RGB *, int) { begin_wait(); }
void fade_to_black(int) { begin_wait(); }
void set_colours(const RGB *) {}
bool key_held(int scancode) { return live.held[scancode]; }
bool key_waiting() { return !live.buffer.empty(); }
int read_key() {
  int k = live.buffer.empty() ? 0 : live.buffer.front();
  if (!live.buffer.empty()) live.buffer.pop_front();
  return k;
}
void empty_buffer() { live.buffer.clear(); }
bool focus_gone() { return live.focus_lost; }
void set_bank(DATAFILE *) {}
void play(int, int, int, int, int) {}
void stop(int) {}

const PlatformOps stand_in_platform = {
    .preflight = nothing,
    .start_up = nothing,
    .shut_down = none,
    .open_display = opened,
    .last_error = nothing,
    .present = present,
    .yield = yield,
    .key_wait = key_wait,
    .vsync = begin_wait,
    .fade_in = fade_from,
    .fade_out = fade_to_black,
    .set_palette = set_colours,
    .key = key_held,
    .keypressed = key_waiting,
    .readkey = read_key,
    .clear_keybuf = empty_buffer,
    .focus_lost = focus_gone,
    .set_sound_bank = set_bank,
    .play_sample = play,
    .stop_sample = stop,
};

// --- The game ------------------------------------------------------------

int ticks = 0;
void tick() { ++ticks; }

// As the pause: until P, waiting for time.
void pause() {
  platform_remove_timer(tick);
  platform_clear_keybuf();
  while (!platform_key(KEY_P)) platform_yield();
  platform_clear_keybuf();
  platform_install_timer(tick);
}

// As a screen between levels: a fade, a key, a fade.
void interlude() {
  platform_remove_timer(tick);
  platform_fade_out(16);
  platform_clear_keybuf();
  platform_readkey();
  platform_fade_in(black_palette, 16);
  platform_install_timer(tick);
}

// One logic step; false when Q and Enter say the game is over.
bool step() {
  bool left = platform_key(KEY_LEFT), right = platform_key(KEY_RIGHT);
  if (platform_key(KEY_P) || platform_focus_lost()) pause();
  if (platform_key(KEY_ESC)) interlude();
  if (left && right) platform_vsync();
  return !(platform_key(KEY_Q) && platform_key(KEY_ENTER));
}

}  // namespace

void use_stand_in_platform(uint32_t seed, long close_at) {
  live = Live{};
  live.state = seed;
  live.close_at = close_at;
  platform_use(stand_in_platform);
}

long stand_in_waits() { return live.waits; }

void run_stand_in_game(BITMAP *frame) {
  ticks = 0;
  int steps = 0;
  platform_install_timer(tick);
  for (;;) {
    // As the tick loop: the steps due, at most a second behind.
    if (ticks - steps > 60) steps = ticks - 60;
    while (steps < ticks) {
      ++steps;
      if (!step()) {
        platform_remove_timer(tick);
        return;
      }
    }
    if (platform_keypressed()) platform_readkey();
    platform_present(frame);
  }
}
