#include "frame/replay_snapshots.h"

#include "frame/colour_tables.h"
#include "frame/frame_stats.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/program_services.h"
#include "platform/platform.h"
#include "platform/recording/input_log.h"
#include "platform/recording/viewer.h"
#include "screens/title.h"

#include <allegro.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>

namespace {

// The explosions are a megabyte of the state (100 records of 10 KB), and
// few of their records change between two kept states: a record that did
// not is shared with the state kept before it. The records kept are
// counted, and bounded with the states.
using SharedExplosions = std::array<std::shared_ptr<const Explosion>, MAX_EXPLOSIONS>;
constexpr long long MOST_EXPLOSION_RECORDS = 1200;  // 12 MB
long long explosion_records = 0;
const SharedExplosions *sharing_with = nullptr;  // the latest kept state's

bool shared_as_is(int i, const Explosion &e) {
  return sharing_with && (*sharing_with)[i] && std::memcmp((*sharing_with)[i].get(), &e, sizeof e) == 0;
}

std::shared_ptr<const Explosion> explosion_record(const Explosion &e) {
  auto *copy = new Explosion;
  std::memcpy(copy, &e, sizeof e);
  ++explosion_records;
  return std::shared_ptr<const Explosion>(copy, [](const Explosion *p) {
    --explosion_records;
    delete p;
  });
}

// The play state's list as one record; the explosions shared.
template <class T>
struct Kept {
  using type = T;
};
template <>
struct Kept<ExplosionTable> {
  using type = SharedExplosions;
};

struct PlayState {
#define PLAY_STATE_MEMBER(kind, name, start) Kept<kind>::type name;
  PLAY_STATE(PLAY_STATE_MEMBER)
#undef PLAY_STATE_MEMBER
};

template <class T>
void copy_value(T &to, const T &from) {
  to = from;
}
void copy_value(std::atomic<int> &to, const std::atomic<int> &from) { to.store(from.load()); }
void copy_value(SharedExplosions &to, const ExplosionTable &from) {
  for (int i = 0; i < MAX_EXPLOSIONS; ++i) to[i] = shared_as_is(i, from[i]) ? (*sharing_with)[i] : explosion_record(from[i]);
}
void copy_value(ExplosionTable &to, const SharedExplosions &from) {
  for (int i = 0; i < MAX_EXPLOSIONS; ++i) std::memcpy(&to[i], from[i].get(), sizeof to[i]);
}

int explosion_records_to_make() {
  int count = 0;
  for (int i = 0; i < MAX_EXPLOSIONS; ++i) count += !shared_as_is(i, explosions[i]);
  return count;
}

void keep_play_state(PlayState &s) {
#define KEEP_PLAY_STATE(type, name, start) copy_value(s.name, name);
  PLAY_STATE(KEEP_PLAY_STATE)
#undef KEEP_PLAY_STATE
}

void put_back_play_state(const PlayState &s) {
#define PUT_BACK_PLAY_STATE(type, name, start) copy_value(name, s.name);
  PLAY_STATE(PUT_BACK_PLAY_STATE)
#undef PUT_BACK_PLAY_STATE
}

// The colour tables as they were: few sets in a game (a level group's,
// the options screen's), each kept once and shared.
struct ColourTables {
  RGB_MAP rgb;
  COLOR_MAP trans;
};
constexpr int TABLE_SETS = 8;

struct Snapshot {
  long long waits = -1;  // the recording's clock; -1 while the slot is free
  PlayState state;
  TickLoop loop;
  int tables = 0;
  bool rgb_map_on = false, color_map_on = false;
  std::array<int, 40> shades;
  PALETTE palette;
  uint8_t picture[PICTURE_HEIGHT][PICTURE_WIDTH];
  long long frames = 0, steps = 0;
};

// Ten seconds between kept states at first.
constexpr long long FIRST_SPACING = 10 * 60;

struct Store {
  std::unique_ptr<Snapshot> slots[REPLAY_PLACES];
  std::unique_ptr<ColourTables> tables[TABLE_SETS];
  long long spacing = FIRST_SPACING;
  int chosen = -1;
  long long restored = 0;
};
Store store;

Snapshot *latest_snapshot() {
  Snapshot *latest = nullptr;
  for (const auto &s : store.slots)
    if (s && s->waits >= 0 && (!latest || s->waits > latest->waits)) latest = s.get();
  return latest;
}

long long latest_kept() {
  const Snapshot *latest = latest_snapshot();
  return latest ? latest->waits : -1;
}

void let_go(Snapshot &s) {
  s.waits = -1;
  for (auto &e : s.state.explosions) e.reset();
}

bool due_at(long long waits, bool level_starts) {
  if (!input_log_keeps_places()) return false;
  long long latest = latest_kept();
  if (latest < 0) return true;
  return waits - latest >= (level_starts ? store.spacing / 2 : store.spacing);
}

// Every second kept state let go (by their clock), the spacing doubled.
void thin_out() {
  int order[REPLAY_PLACES], count = 0;
  for (int i = 0; i < REPLAY_PLACES; ++i)
    if (store.slots[i] && store.slots[i]->waits >= 0) order[count++] = i;
  std::sort(order, order + count, [](int a, int b) { return store.slots[a]->waits < store.slots[b]->waits; });
  for (int k = 1; k < count; k += 2) let_go(*store.slots[order[k]]);
  store.spacing *= 2;
}

int free_slot() {
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < REPLAY_PLACES; ++i) {
      if (!store.slots[i]) store.slots[i] = std::make_unique<Snapshot>();
      if (store.slots[i]->waits < 0) return i;
    }
    thin_out();
  }
  return -1;
}

// The set of colour tables in use, kept once; -1 when all sets are taken
// by others.
int tables_in_use() {
  for (int i = 0; i < TABLE_SETS; ++i) {
    auto &t = store.tables[i];
    if (!t) {
      t = std::make_unique<ColourTables>();
      std::memcpy(&t->rgb, &rgb_table, sizeof rgb_table);
      std::memcpy(&t->trans, &trans_table, sizeof trans_table);
      return i;
    }
    if (std::memcmp(&t->rgb, &rgb_table, sizeof rgb_table) == 0 &&
        std::memcmp(&t->trans, &trans_table, sizeof trans_table) == 0)
      return i;
  }
  return -1;
}

void keep(const TickLoop &loop) {
  int tables = tables_in_use();
  if (tables < 0) return;
  Snapshot *latest = latest_snapshot();
  sharing_with = latest ? &latest->state.explosions : nullptr;
  while (latest && explosion_records + explosion_records_to_make() > MOST_EXPLOSION_RECORDS) {
    thin_out();
    latest = latest_snapshot();
    sharing_with = latest ? &latest->state.explosions : nullptr;
  }
  int slot = free_slot();
  if (slot < 0) return;
  Snapshot &s = *store.slots[slot];
  s.waits = input_log_waits();
  keep_play_state(s.state);
  sharing_with = nullptr;
  s.loop = loop;
  s.tables = tables;
  s.rgb_map_on = rgb_map == &rgb_table;
  s.color_map_on = color_map == &trans_table;
  s.shades = shade_colours;
  get_palette(s.palette);
  BITMAP *screen = platform_screen();
  for (int y = 0; y < PICTURE_HEIGHT; ++y) std::memcpy(s.picture[y], screen->line[y], PICTURE_WIDTH);
  s.frames = frames_presented();
  s.steps = logic_steps_run();
  input_log_keep_place(slot);
  viewer_keep_loops(slot);
}

void resume(TickLoop &loop) {
  const int slot = store.chosen;
  const Snapshot &s = *store.slots[slot];
  store.chosen = -1;
  ++store.restored;
  put_back_play_state(s.state);
  load_level_group();
  const ColourTables &t = *store.tables[s.tables];
  std::memcpy(&rgb_table, &t.rgb, sizeof rgb_table);
  std::memcpy(&trans_table, &t.trans, sizeof trans_table);
  rgb_map = s.rgb_map_on ? &rgb_table : nullptr;
  color_map = s.color_map_on ? &trans_table : nullptr;
  shade_colours = s.shades;
  platform_set_palette(s.palette);
  BITMAP *screen = platform_screen();
  for (int y = 0; y < PICTURE_HEIGHT; ++y) {
    std::memcpy(screen->line[y], s.picture[y], PICTURE_WIDTH);
    std::memcpy(back_buffer->line[y], s.picture[y], PICTURE_WIDTH);
  }
  set_frame_counts(s.frames, s.steps);
  loop = s.loop;
  input_log_go_to_place(slot);
  viewer_go_to_loops(slot);
}

}  // namespace

void forget_snapshots() {
  for (auto &s : store.slots) s.reset();
  for (auto &t : store.tables) t.reset();
  store.spacing = FIRST_SPACING;
  store.chosen = -1;
  store.restored = 0;
}

void snapshot_or_resume(TickLoop &loop, bool picture_undrawn) {
  if (store.chosen >= 0) {
    resume(loop);
    return;
  }
  if (!picture_undrawn && due_at(input_log_waits(), loop.first_pass)) keep(loop);
}

bool snapshot_due_by(long long waits) { return due_at(waits, false); }

bool choose_snapshot_for_seek() {
  store.chosen = -1;
  long long target = viewer_seek_target();
  if (target < 0 || !input_log_keeps_places()) return false;
  for (int i = 0; i < REPLAY_PLACES; ++i) {
    const auto &s = store.slots[i];
    if (s && s->waits >= 0 && s->waits <= target && (store.chosen < 0 || s->waits > store.slots[store.chosen]->waits))
      store.chosen = i;
  }
  return store.chosen >= 0;
}

bool resuming() { return store.chosen >= 0; }

int resumed_title_choice() {
  return store.slots[store.chosen]->state.demo_mode == DEMO_RUNNING ? TITLE_DEMO : TITLE_START_GAME;
}

long long snapshots_restored() { return store.restored; }

int snapshots_kept() {
  int kept = 0;
  for (const auto &s : store.slots) kept += s && s->waits >= 0;
  return kept;
}

size_t snapshots_bytes() {
  size_t bytes = explosion_records * sizeof(Explosion);
  for (const auto &s : store.slots) bytes += s ? sizeof(Snapshot) : 0;
  for (const auto &t : store.tables) bytes += t ? sizeof(ColourTables) : 0;
  return bytes;
}
