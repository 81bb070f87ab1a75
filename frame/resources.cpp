#include "frame/resources.h"

#include "frame/data_path.h"

OwnedBitmap new_bitmap(int width, int height) { return OwnedBitmap(create_bitmap(width, height)); }

OwnedDatafile load_game_datafile(const char *file) {
  OwnedDatafile data(load_datafile(data_path(file).c_str()));
  if (!data) throw MissingData{file, "cannot be loaded"};
  return data;
}
