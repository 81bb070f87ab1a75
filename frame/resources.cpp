#include "frame/resources.h"

#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "platform/platform.h"

OwnedBitmap new_bitmap(int width, int height) {
  OwnedBitmap bitmap(create_bitmap(width, height));
  if (!bitmap) throw BitmapFailure{width, height};
  return bitmap;
}

OwnedDatafile load_game_datafile(const char *file) {
  platform_loading_datafile();
  std::string problem;
  OwnedDatafile data = load_checked_datafile(data_folder(), file, problem);
  if (!data) {
    platform_datafile_refused();
    throw MissingData{file, problem};
  }
  return data;
}


std::string missing_object_problem(const MissingObject &missing) {
  const char *kind = missing.type == DAT_PALETTE ? "a palette"
                     : missing.type == DAT_SAMPLE ? "a sample"
                                                  : "a bitmap";
  const char *file = datafile_name_of(missing.data);
  return std::string(file ? file : "a datafile") + ": object " + std::to_string(missing.position) +
         " should be " + kind;
}
