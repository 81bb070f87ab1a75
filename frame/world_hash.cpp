#include "frame/world_hash.h"

#include "frame/controls.h"
#include "frame/game_state.h"
#include "frame/program.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "render/starfield.h"
#include "screens/depth_stars.h"
#include "screens/ending.h"
#include "screens/title.h"

#include <type_traits>

namespace {

// FNV-1a over 64 bits.
struct Hasher {
  uint64_t h = 14695981039346656037ull;
  void bytes(const void *data, size_t n) {
    const auto *p = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  void number(int v) { bytes(&v, sizeof v); }
  void number(float v) { bytes(&v, sizeof v); }
  // Records of plain ints only: no padding, so their bytes are their state.
  template <typename Record, size_t N>
  void records(const std::array<Record, N> &a) {
    static_assert(std::has_unique_object_representations_v<Record>);
    bytes(a.data(), sizeof(Record) * N);
  }
};

void hash_particle(Hasher &hs, const Particle &p) {
  for (float f : {p.x, p.y, p.dx, p.dy, p.speed}) hs.number(f);
  for (int v : {p.ramp, int(p.active), p.life, p.trail_len}) hs.number(v);
  hs.bytes(p.trail_x, sizeof p.trail_x);
  hs.bytes(p.trail_y, sizeof p.trail_y);
}

// The particles of an explosion matter only while it is active: a new one
// sets every particle it uses.
void hash_explosions(Hasher &hs) {
  for (const Explosion &e : explosions) {
    for (int v : {e.active, e.live_particles, e.x, e.y, e.glow_radius, e.trail_style}) hs.number(v);
    if (e.active)
      for (const Particle &p : e.particles) hash_particle(hs, p);
  }
  hs.number(active_explosions);
  hs.number(direction_cursor);
}

void hash_game_state(Hasher &hs) {
  hs.bytes(&random_state, sizeof random_state);
  hs.bytes(&random_draws, sizeof random_draws);
  static_assert(std::has_unique_object_representations_v<Player>);
  hs.bytes(&player, sizeof player);
  for (int v : {level, int(level_end), shots_fired, shots_hit, total_shots_fired, total_shots_hit,
                reverse_ticks, scroll_y, scroll_tick, demo_steer, fire_held, int(game_ticks),
                int(demo_mode)})
    hs.number(v);
  for (float d : direction_table) hs.number(d);
  for (int v : {option_glow, option_scroll, option_music, option_stars, option_shot_collisions,
                option_effects, option_background})
    hs.number(v);
}

void hash_screens(Hasher &hs) {
  hs.records(depth_stars);
  hs.records(ending_sprites);
  for (int v : {ending_spin, ending_spin_tick}) hs.number(v);
  hs.number(ending_title_scale);
  hs.bytes(option_marks, sizeof option_marks);
  for (int v : {option_cursor, option_key_held}) hs.number(v);
}

}  // namespace

uint64_t world_hash() {
  Hasher hs;
  hash_game_state(hs);
  hs.records(enemies);
  hs.records(enemy_shots);
  for (int v : {enemy_count, enemies_destroyed, shot_timer, dive_timer, freeze_ticks}) hs.number(v);
  hs.records(exhaust);
  hs.records(player_shots);
  hs.records(capsules);
  hs.records(shield_rocks);
  hs.records(stars);
  hash_explosions(hs);
  hash_screens(hs);
  return hs.h;
}
