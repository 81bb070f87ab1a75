#include "tests/support/headless_game.h"

#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/random.h"

#include <memory>

void reset_program_globals() {
  random_state = 1;
  random_draws = 0;
  player = Player{};
  level = 1;
  level_end = 0;
  shots_fired = shots_hit = total_shots_fired = total_shots_hit = 0;
  reverse_ticks = scroll_y = scroll_tick = 0;
  direction_table.fill(0.0f);
  demo_steer = 0;
  game_ticks = 0;
  demo_mode = 0;
  option_glow = option_scroll = option_music = option_stars = 1;
  option_shot_collisions = option_effects = option_background = 1;
  fire_held = 0;
}

void make_frame_bitmaps() {
  if (!back_buffer) back_buffer = create_bitmap(320, 240);
  if (!glow_layer) glow_layer = create_bitmap(320, 240);
  clear(back_buffer);
  clear(glow_layer);
}

void HeadlessTest::SetUp() {
  headless::reset();
  reset_program_globals();
}

void HeadlessTest::TearDown() { headless::reset(); }

KeyScript &KeyScript::hold(int scancode, long first, long last) {
  holds_.push_back({scancode, first, last});
  return *this;
}

KeyScript &KeyScript::press(int scancode, long frame) {
  presses_.push_back({scancode, frame, false});
  return *this;
}

KeyScript &KeyScript::on_event(std::function<void(const headless::Event &)> action) {
  actions_.push_back(std::move(action));
  return *this;
}

void KeyScript::apply(const headless::Event &event) {
  for (const Hold &h : holds_) headless::hold(h.scancode, false);
  for (const Hold &h : holds_)
    if (event.frame >= h.first && event.frame <= h.last) headless::hold(h.scancode, true);
  for (Press &p : presses_)
    if (!p.done && event.frame >= p.frame) {
      headless::press(p.scancode);
      p.done = true;
    }
  for (auto &action : actions_) action(event);
}

void KeyScript::install() {
  auto self = std::make_shared<KeyScript>(*this);
  headless::set_hook([self](const headless::Event &e) { self->apply(e); });
}
