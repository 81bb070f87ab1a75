#include "tests/leak/live_resources.h"

#include <allegro.h>

#include <utility>

namespace {

LiveResources live;
int bitmaps_until_failure = -1;
std::function<void()> load_action;

BITMAP *counted(BITMAP *b) {
  live.created_bitmaps += b != nullptr;
  return b;
}

}  // namespace

extern "C" {

BITMAP *__real_create_bitmap(int width, int height);
BITMAP *__real_create_sub_bitmap(BITMAP *parent, int x, int y, int width, int height);
void __real_destroy_bitmap(BITMAP *bitmap);
DATAFILE *__real_load_datafile(const char *filename);
void __real_unload_datafile(DATAFILE *data);

BITMAP *__wrap_create_bitmap(int width, int height) {
  if (bitmaps_until_failure >= 0 && bitmaps_until_failure-- == 0) return nullptr;
  return counted(__real_create_bitmap(width, height));
}

BITMAP *__wrap_create_sub_bitmap(BITMAP *parent, int x, int y, int width, int height) {
  return counted(__real_create_sub_bitmap(parent, x, y, width, height));
}

void __wrap_destroy_bitmap(BITMAP *bitmap) {
  live.created_bitmaps -= bitmap != nullptr;
  __real_destroy_bitmap(bitmap);
}

DATAFILE *__wrap_load_datafile(const char *filename) {
  if (load_action) std::exchange(load_action, nullptr)();
  DATAFILE *d = __real_load_datafile(filename);
  live.datafiles += d != nullptr;
  return d;
}

void __wrap_unload_datafile(DATAFILE *data) {
  live.datafiles -= data != nullptr;
  __real_unload_datafile(data);
}

}  // extern "C"

LiveResources live_resources() { return live; }

void fail_bitmap_after(int calls) { bitmaps_until_failure = calls; }

void before_next_load(std::function<void()> action) { load_action = std::move(action); }
