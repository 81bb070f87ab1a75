#include "frame/world_hash.h"

#include "frame/game_state.h"
#include "platform/shared/fnv1a.h"

#include <type_traits>

namespace {

struct Hasher {
  uint64_t h = FNV1A_BASIS;
  void bytes(const void *data, size_t n) { h = fnv1a(data, n, h); }
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

// How each type of the state of play is hashed: numbers and states by their
// bytes, records of plain ints as they lie, floats one by one.
void hash_value(Hasher &hs, int v) { hs.number(v); }
void hash_value(Hasher &hs, float v) { hs.number(v); }
void hash_value(Hasher &hs, uint32_t v) { hs.bytes(&v, sizeof v); }
void hash_value(Hasher &hs, uint64_t v) { hs.bytes(&v, sizeof v); }
void hash_value(Hasher &hs, const std::atomic<int> &v) { hs.number(v.load()); }
template <typename State>
  requires std::is_enum_v<State>
void hash_value(Hasher &hs, State v) {
  hs.number(static_cast<int>(v));
}
void hash_value(Hasher &hs, const Player &p) {
  static_assert(std::has_unique_object_representations_v<Player>);
  hs.bytes(&p, sizeof p);
}
template <size_t N>
void hash_value(Hasher &hs, const std::array<float, N> &a) {
  for (float f : a) hs.number(f);
}
template <typename Record, size_t N>
void hash_value(Hasher &hs, const std::array<Record, N> &a) {
  hs.records(a);
}
// The particles of an explosion matter only while it is active: a new one
// sets every particle it uses.
void hash_value(Hasher &hs, const ExplosionTable &table) {
  for (const Explosion &e : table) {
    for (int v : {e.active, e.live_particles, e.x, e.y, e.glow_radius, e.trail_style}) hs.number(v);
    if (e.active)
      for (const Particle &p : e.particles) hash_particle(hs, p);
  }
}

}  // namespace

uint64_t world_hash() {
  Hasher hs;
#define HASH_PLAY_STATE(type, name, start) hash_value(hs, name);
  PLAY_STATE(HASH_PLAY_STATE)
#undef HASH_PLAY_STATE
  return hs.h;
}
