// Owners of what the game creates and loads through the library: a bitmap
// or a datafile is released when its owner goes, on every way out of a
// screen. The window's close button throws QuitRequested out of any wait,
// and the failures below are thrown too; the program frame catches them all.
#pragma once

#include "frame/catalogue.h"
#include "frame/datafile_check.h"

#include <allegro.h>

#include <memory>
#include <string>

// A datafile the game needs cannot be loaded; the program stops with one
// line naming the file and saying why.
struct MissingData {
  std::string file;
  std::string problem;
};

struct BitmapRelease {
  void operator()(BITMAP *bitmap) const { destroy_bitmap(bitmap); }
};
using OwnedBitmap = std::unique_ptr<BITMAP, BitmapRelease>;

// The library could not create a bitmap (memory ran out); the program stops
// with a message instead of drawing into nothing.
struct BitmapFailure {
  int width, height;
};

// A new memory bitmap at the library's colour depth; throws BitmapFailure
// when the library cannot make one.
OwnedBitmap new_bitmap(int width, int height);

// A datafile of the data folder, e.g. "title.dat", checked from one read of
// its bytes as at start-up; throws MissingData when it is gone or fails the
// check (a file replaced or damaged while the game runs).
OwnedDatafile load_game_datafile(const char *file);

// "title.dat: object 95 should be a bitmap" for a bounded access that
// failed (frame/catalogue.h), naming the file the datafile was loaded from.
std::string missing_object_problem(const MissingObject &missing);

// For the length of a scope: a datafile loaded and shown through the global
// pointer the screen's drawing reads (title_data, bonus_data, ending_data),
// which is cleared again when the scope ends.
class HeldDatafile {
 public:
  HeldDatafile(DATAFILE *&view, const char *file) : view_(view), data_(load_game_datafile(file)) {
    view_ = data_.get();
  }
  ~HeldDatafile() { view_ = nullptr; }
  HeldDatafile(const HeldDatafile &) = delete;
  HeldDatafile &operator=(const HeldDatafile &) = delete;

 private:
  DATAFILE *&view_;
  OwnedDatafile data_;
};
