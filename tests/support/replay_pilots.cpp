#include "tests/support/replay_pilots.h"

#include "frame/game_state.h"
#include "frame/program.h"
#include "screens/glyph_text.h"
#include "screens/title.h"
#include "world/enemies.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace replay {

namespace {

int centre_of_ship() { return player.x + 8; }

constexpr int LOOK_AHEAD = 70;

// Where the ship will be over the next ticks with one arrow held (or none),
// moved as the controls move it.
std::array<int, LOOK_AHEAD + 1> course(int direction) {
  std::array<int, LOOK_AHEAD + 1> x;
  int position = player.x, velocity = player.velocity, friction = player.friction_tick;
  x[0] = position;
  for (int t = 1; t <= LOOK_AHEAD; ++t) {
    if (++friction == 2) velocity -= (velocity > 0) - (velocity < 0), friction = 0;
    if (direction < 0 && velocity > -player.max_speed) --velocity;
    if (direction > 0 && velocity < player.max_speed) ++velocity;
    position = std::clamp(position + (reverse_ticks ? -velocity : velocity), 0, 290);
    x[t] = position;
  }
  return x;
}

// How badly the enemy shots now falling would meet the ship on a course,
// over the ticks each spends level with it: nearer meetings count more.
int danger(const std::array<int, LOOK_AHEAD + 1> &x) {
  int total = 0;
  for (const EnemyShot &s : enemy_shots) {
    if (!s.active || s.dy <= 0) continue;
    int first = std::max(0, (player.y - (s.y + s.height)) / s.dy);
    int last = (player.y + player.height - s.y) / s.dy;
    for (int t = first; t <= last && t <= LOOK_AHEAD; ++t) {
      int column = s.x + s.dx * t;
      if (column < x[t] + player.width + 3 && column + s.width > x[t] - 3) {
        total += 100 - t;
        break;
      }
    }
  }
  return total;
}

// The arrow (or none) whose course is safest, `wanted` when it is as safe.
unsigned dodge(unsigned wanted) {
  const unsigned arrows[3] = {LEFT, 0, RIGHT};
  int preferred = wanted & LEFT ? 0 : wanted & RIGHT ? 2 : 1;
  int risk[3];
  for (int k = 0; k < 3; ++k) risk[k] = danger(course(k - 1));
  int best = preferred;
  for (int k = 0; k < 3; ++k)
    if (risk[k] < risk[best]) best = k;
  return arrows[best];
}

// Under the lowest enemy; fires, one tick in two, while it is within a
// ship's width and a shot is free.
unsigned aim_and_fire(bool &fire) {
  int target = -1, lowest = -1000;
  for (int i = 0; i < enemy_count; ++i) {
    const Enemy &e = enemies[i];
    if (e.active == 1 && e.y > lowest) lowest = e.y, target = e.x + e.width / 2;
  }
  if (target < 0) return 0;
  unsigned keys = 0;
  if (target < centre_of_ship() - 4) keys |= LEFT;
  if (target > centre_of_ship() + 4) keys |= RIGHT;
  bool in_line = target > player.x - 8 && target < player.x + player.width + 8;
  fire = !fire && in_line && player.shots_in_flight < player.firepower;
  return fire ? keys | ALT : keys;
}

// What the game drivers share: start from the title, play, pass the waits,
// quit once back on the title.
struct GameSession {
  Steps start = start_steps(), quit = quit_steps();
  bool started = false, fire = false;
  long last_press = 0;

  Input step(const headless::Event &e, bool careful, int last_level) {
    if (on_title()) {
      if (!started) return start.next();
      return quit.next();
    }
    if (in_game()) {
      started = true;
      if (level > last_level) return {ESC, false};
      return {play_keys(careful, fire), false};
    }
    return started ? pass_waits(e, last_press) : Input{};
  }
};

}  // namespace

Input Steps::next() {
  if (done()) return {};
  Input input{steps_[next_].first, false};
  if (++ticks_ == steps_[next_].second) ++next_, ticks_ = 0;
  return input;
}

Steps start_steps() { return Steps({{0, 5}, {ALT, 3}, {0, 2}}); }
Steps quit_steps() { return Steps({{0, 5}, {DOWN, 3}, {0, 3}, {DOWN, 3}, {0, 3}, {ALT, 3}, {0, 2}}); }

bool on_title() { return title_data && !bonus_data && !headless::timer_installed(); }
bool in_game() { return headless::timer_installed() && demo_mode == 0; }

Input pass_waits(const headless::Event &e, long &last_press) {
  if (e.kind != headless::Wait::ReadKey && e.count - last_press < 60) return {};
  last_press = e.count;
  return {0, true};
}

unsigned play_keys(bool careful, bool &fire) {
  unsigned keys = aim_and_fire(fire);
  if (careful) keys = (keys & ALT) | dodge(keys & (LEFT | RIGHT));
  return keys;
}

Driver demo_watcher() {
  auto quit = std::make_shared<Steps>(quit_steps());
  auto demo_ticks = std::make_shared<long>(0);
  return [quit, demo_ticks](const headless::Event &) -> Input {
    if (demo_mode == -1 && headless::timer_installed()) return {0, ++*demo_ticks == 4000};
    if (*demo_ticks > 0 && on_title()) return quit->next();
    return {};
  };
}

Driver careless_game() {
  auto session = std::make_shared<GameSession>();
  return [session](const headless::Event &e) { return session->step(e, false, 12); };
}

Driver careful_game(int last_level) {
  auto session = std::make_shared<GameSession>();
  return [session, last_level](const headless::Event &e) { return session->step(e, true, last_level); };
}

}  // namespace replay
