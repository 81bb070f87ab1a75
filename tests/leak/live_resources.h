// Counts of what the game holds: the bitmaps it created itself and the
// datafiles it loaded (which hold its art and sound). The leak session is
// linked with -Wl,--wrap for create_bitmap, create_sub_bitmap,
// destroy_bitmap, load_datafile and unload_datafile, so every call the
// game makes passes through here; the faults below are made here too.
#pragma once

#include <functional>

struct LiveResources {
  int created_bitmaps = 0;   // create_bitmap and create_sub_bitmap, not yet destroyed
  int datafiles = 0;         // loaded and not unloaded
  bool operator==(const LiveResources &) const = default;
};

LiveResources live_resources();

// Makes create_bitmap fail (as when memory runs out): the call after `calls`
// more from now returns nullptr, once; -1 takes the fault back.
void fail_bitmap_after(int calls);

// Runs the action once, just before the library reads the next datafile.
void before_next_load(std::function<void()> action);
