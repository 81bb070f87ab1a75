// The state of play is listed once (frame/game_state.h): each global of the
// list counts in the world hash and goes back to its start with the reset,
// and every program-wide global of the game's code is in the list or is
// made from the datafiles.
#include "frame/game_state.h"
#include "frame/world_hash.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// The globals of the game's code that are no state of play: the drawing
// surfaces, what is loaded from the datafiles or computed from their
// palettes, and the datafiles' names.
const std::set<std::string> not_play_state = {
    "back_buffer", "glow_layer",  "sound_data",   "level_data",    "title_data",     "bonus_data",
    "ending_data", "rgb_table",   "trans_table",  "shade_colours",
};

// The names of the data the core library defines for the whole program
// (nm's B and D), each once.
std::set<std::string> core_globals() {
  std::set<std::string> names;
  FILE *nm = popen("nm --defined-only -C " SWARMFIRE_CORE_LIBRARY, "r");
  if (!nm) return names;
  char line[512], kind;
  char name[400];
  while (std::fgets(line, sizeof line, nm))
    if (std::sscanf(line, "%*s %c %399s", &kind, name) == 2 && (kind == 'B' || kind == 'D')) names.insert(name);
  pclose(nm);
  return names;
}

}  // namespace

// One bit of each global turned over: the hash sees it, and the reset puts
// it back.
TEST(PlayStateTest, EveryGlobalOfTheListIsHashedAndReset) {
  reset_play_state();
  const uint64_t fresh = world_hash();
  auto turn_a_bit = [&](const char *name, void *global) {
    *static_cast<unsigned char *>(global) ^= 1;
    EXPECT_NE(world_hash(), fresh) << name << " is not in the world hash";
    reset_play_state();
    EXPECT_EQ(world_hash(), fresh) << name << " is not reset";
  };
#define TURN_A_BIT(type, name, start) turn_a_bit(#name, static_cast<void *>(&name));
  PLAY_STATE(TURN_A_BIT)
#undef TURN_A_BIT
}

TEST(PlayStateTest, EveryGlobalOfTheGameIsInTheListOrMadeFromTheDatafiles) {
  std::set<std::string> listed = not_play_state;
#define LIST_NAME(type, name, start) listed.insert(#name);
  PLAY_STATE(LIST_NAME)
#undef LIST_NAME
  std::set<std::string> found = core_globals();
  ASSERT_GT(found.size(), 40u) << "nm found no globals in " SWARMFIRE_CORE_LIBRARY;
  for (const std::string &name : found) EXPECT_TRUE(listed.count(name)) << name << " is neither play state nor listed as a resource";
  for (const std::string &name : not_play_state) EXPECT_TRUE(found.count(name)) << name << " is gone: drop it from the list";
}
