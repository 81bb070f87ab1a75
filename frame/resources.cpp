#include "frame/resources.h"

#include "frame/data_path.h"
#include "frame/datafile_check.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/program.h"
#include "screens/ending.h"
#include "screens/glyph_text.h"
#include "screens/title.h"

OwnedBitmap new_bitmap(int width, int height) {
  OwnedBitmap bitmap(create_bitmap(width, height));
  if (!bitmap) throw BitmapFailure{width, height};
  return bitmap;
}

OwnedDatafile load_game_datafile(const char *file) {
  std::string problem;
  OwnedDatafile data(load_checked_datafile(data_folder(), file, problem));
  if (!data) throw MissingData{file, problem};
  return data;
}

namespace {

const char *loaded_from(const DATAFILE *data) {
  if (data && data == sound_data) return "sound.dat";
  if (data && data == title_data) return "title.dat";
  if (data && data == bonus_data) return "bonus.dat";
  if (data && data == ending_data) return "enddat.dat";
  if (data && data == level_data) return level_datafile(level);
  return "a datafile";
}

}  // namespace

std::string missing_object_problem(const MissingObject &missing) {
  const char *kind = missing.type == DAT_PALETTE ? "a palette"
                     : missing.type == DAT_SAMPLE ? "a sample"
                                                  : "a bitmap";
  return std::string(loaded_from(missing.data)) + ": object " + std::to_string(missing.position) +
         " should be " + kind;
}
