#include "frame/datafile_check.h"

#include "frame/catalogue.h"
#include "frame/datafile_structure.h"
#include "world/enemy_kinds.h"
#include "world/enemy_records.h"

#include "platform/platform.h"
#include "platform/shared/datafile_bytes.h"
#include "platform/shared/printable.h"
#include "platform/shared/whole_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>


namespace {

using Kind = ObjectKind;

// A run of catalogued positions and what each must hold; `extra` (bitmaps)
// and `sample_extra` (samples) check what the code relies on beyond the kind
// (empty when all is well).
struct Requirement {
  int first, last;
  Kind kind;
  std::function<std::string(BITMAP *)> extra = nullptr;
  std::function<std::string(SAMPLE *)> sample_extra = nullptr;
};

using level_object::LAYOUT_COLUMNS, level_object::LAYOUT_ROWS;
// The screen's window on a level's background starts at its first row.
constexpr int background_rows = level_object::BACKGROUND_FIRST_ROW + PICTURE_HEIGHT;

const char *kind_word(Kind kind) {
  switch (kind) {
    case Kind::bitmap: return "a bitmap";
    case Kind::palette: return "a palette";
    case Kind::sample: return "a sample";
  }
  return "";
}

bool holds_kind(const DATAFILE &object, Kind kind) {
  switch (kind) {
    case Kind::bitmap:
      return object.type == DAT_BITMAP && bitmap_color_depth(static_cast<BITMAP *>(object.dat)) == 8;
    case Kind::palette: return object.type == DAT_PALETTE;
    case Kind::sample: return object.type == DAT_SAMPLE;
  }
  return false;
}

std::string exact_size(BITMAP *b, int w, int h) {
  if (b->w == w && b->h == h) return {};
  return "should be a " + std::to_string(w) + "x" + std::to_string(h) + " bitmap";
}

std::string background_size(BITMAP *b) {
  if (b->w == PICTURE_WIDTH && b->h >= background_rows) return {};
  return "should be a bitmap " + std::to_string(PICTURE_WIDTH) + " wide and at least " +
         std::to_string(background_rows) + " high";
}

// A layout picture: at least 20 x 15, only the group's two kinds, at most 40.
std::string layout_problem(BITMAP *b, int group) {
  int first = group_first_kind(group);
  std::string kinds = "kinds " + std::to_string(first) + " and " + std::to_string(first + 1);
  if (b->w < LAYOUT_COLUMNS || b->h < LAYOUT_ROWS)
    return "should be a layout picture of at least " + std::to_string(LAYOUT_COLUMNS) + "x" +
           std::to_string(LAYOUT_ROWS);
  int count = 0;
  for (int j = 0; j < LAYOUT_ROWS; ++j)
    for (int i = 0; i < LAYOUT_COLUMNS; ++i) {
      int kind = getpixel(b, i, j);
      if (kind == 0) continue;
      if (!kind_in_group(kind, group))
        return "holds enemy kind " + std::to_string(kind) + " at column " + std::to_string(i) +
               ", row " + std::to_string(j) + "; this group has " + kinds + " only";
      ++count;
    }
  if (count > MAX_ENEMIES)
    return "places " + std::to_string(count) + " enemies; at most " + std::to_string(MAX_ENEMIES) + " fit";
  return {};
}

// The mixer moves through a looped sample by its frequency over the mixing
// rate each frame; a loop shorter than one step would be read past its end.
// A tenth of a second keeps clear of that at any rate the library mixes at.
std::string loop_length(SAMPLE *s) {
  if (s->len * 10 >= static_cast<unsigned long>(s->freq)) return {};
  return "should be a sample of at least a tenth of a second (it plays looped)";
}

std::vector<Requirement> sound_catalogue() {
  return {{sound_object::ENEMY_DESTROYED, sound_object::CAPSULE_RELEASED, Kind::sample},
          {sound_object::TUNE, sound_object::TUNE, Kind::sample, nullptr, loop_length},
          {sound_object::GAME_OVER_TUNE, sound_object::VOLLEY, Kind::sample}};
}

std::vector<Requirement> title_catalogue() {
  return {{title_object::MENU_ITEMS, title_object::OPTION_ROWS + 14, Kind::bitmap},
          {title_object::OPTIONS_PALETTE, title_object::TITLE_PALETTE, Kind::palette},
          {title_object::BACKGROUND, title_object::BACKGROUND, Kind::bitmap,
           [](BITMAP *b) { return exact_size(b, PICTURE_WIDTH, PICTURE_HEIGHT); }}};
}

std::vector<Requirement> bonus_catalogue() {
  return {{bonus_object::ICONS, bonus_object::GLYPHS + 39, Kind::bitmap},
          {bonus_object::PALETTE, bonus_object::PALETTE, Kind::palette}};
}

std::vector<Requirement> ending_catalogue() {
  return {{ending_object::PALETTE, ending_object::PALETTE, Kind::palette},
          {ending_object::PICTURES, ending_object::TITLE, Kind::bitmap}};
}

std::vector<Requirement> level_catalogue(int group) {
  int first = group_first_kind(group);
  const EnemyKind &a = enemy_kinds[first];
  const EnemyKind &b = enemy_kinds[first + 1];
  auto layout = [group](BITMAP *bmp) { return layout_problem(bmp, group); };
  using namespace level_object;
  return {{a.sprite_base, a.sprite_base + a.frame_count - 1, Kind::bitmap},
          {b.sprite_base, b.sprite_base + b.frame_count - 1, Kind::bitmap},
          {ENEMY_SHOT, ENEMY_SHOT + 1, Kind::bitmap},
          {BACKGROUND, BACKGROUND, Kind::bitmap, background_size},
          {CAPSULES, GLYPHS + 39, Kind::bitmap},
          {LAYOUTS, LAYOUTS + 2, Kind::bitmap, layout},
          {level_object::PALETTE, level_object::PALETTE, Kind::palette},
          {SHIP_BLINK, PLAYER_SHOT + 1, Kind::bitmap}};
}

// The catalogue of a file by name; empty for a name that is not one of ours.
std::vector<Requirement> catalogue_of(const std::string &file) {
  if (file == SOUND_FILE) return sound_catalogue();
  if (file == TITLE_FILE) return title_catalogue();
  if (file == BONUS_FILE) return bonus_catalogue();
  if (file == ENDING_FILE) return ending_catalogue();
  for (int group = 0; group < 4; ++group)
    if (file == LEVEL_FILES[group]) return level_catalogue(group);
  return {};
}

int object_count(DATAFILE *data) {
  int n = 0;
  while (data[n].type != DAT_END) ++n;
  return n;
}

std::string object_problem(DATAFILE *data, int count, int n, const Requirement &r) {
  std::string object = "object " + std::to_string(n) + " ";
  if (n >= count)
    return object + "should be " + kind_word(r.kind) + " (the file holds " +
           std::to_string(count) + " objects)";
  if (!holds_kind(data[n], r.kind)) return object + "should be " + kind_word(r.kind);
  std::string extra;
  if (r.extra) extra = r.extra(static_cast<BITMAP *>(data[n].dat));
  if (r.sample_extra) extra = r.sample_extra(static_cast<SAMPLE *>(data[n].dat));
  return extra.empty() ? extra : object + extra;
}

std::string cannot_be_read(const std::string &why) { return "cannot be read (" + why + ")"; }

// The last datafile loaded from each of the eight files (by position in
// DATAFILE_NAMES) and the number of its load: of two records of one address
// the newer is the one still loaded there.
struct LoadRecord {
  const DATAFILE *data = nullptr;
  unsigned long number = 0;
};
LoadRecord load_records[8];
unsigned long loads_made = 0;

void note_load(const DATAFILE *data, const std::string &file) {
  for (int i = 0; i < 8; ++i)
    if (file == DATAFILE_NAMES[i]) load_records[i] = {data, ++loads_made};
}

}  // namespace

std::string read_datafile(const std::string &path, std::vector<uint8_t> &bytes) {
  WholeFile file = read_whole_file(path);
  if (file.failure == ReadFailure::CannotOpen && file.error == ENOENT)
    return "missing (no file " + printable(path) + "; SWARMFIRE_DATA may name the folder)";
  if (file.failure != ReadFailure::None) return cannot_be_read(file.why());
  bytes = std::move(file.bytes);
  return {};
}

const char *datafile_name_of(const DATAFILE *data) {
  const char *name = nullptr;
  unsigned long newest = 0;
  for (int i = 0; i < 8; ++i)
    if (data && load_records[i].data == data && load_records[i].number > newest) {
      name = DATAFILE_NAMES[i];
      newest = load_records[i].number;
    }
  return name;
}

std::vector<CataloguedObject> catalogued_objects(const std::string &file) {
  std::vector<CataloguedObject> objects;
  for (const Requirement &r : catalogue_of(file))
    for (int n = r.first; n <= r.last; ++n) objects.push_back({n, r.kind});
  return objects;
}

std::string catalogue_problem(const std::string &file, DATAFILE *data) {
  int count = object_count(data);
  for (const Requirement &r : catalogue_of(file))
    for (int n = r.first; n <= r.last; ++n) {
      std::string problem = object_problem(data, count, n, r);
      if (!problem.empty()) return problem;
    }
  return {};
}

OwnedDatafile load_checked_datafile(const std::string &folder, const std::string &file,
                                    std::string &problem) {
  std::vector<uint8_t> bytes;
  std::string path = folder + "/" + file;
  problem = read_datafile(path, bytes);
  if (!problem.empty()) return nullptr;
  problem = datafile_structure_problem(bytes);
  if (!problem.empty()) {
    problem = "cannot be read (" + problem + ")";
    return nullptr;
  }
  std::string why;
  OwnedDatafile data(load_datafile_from_bytes(bytes, path, why));
  if (!data) {
    problem = why.empty() ? "cannot be loaded" : "cannot be loaded (" + why + ")";
    return nullptr;
  }
  problem = catalogue_problem(file, data.get());
  if (!problem.empty()) return nullptr;
  note_load(data.get(), file);
  return data;
}

std::string datafile_problem(const std::string &folder, const std::string &file) {
  std::string problem;
  load_checked_datafile(folder, file, problem);
  return problem;
}

std::string datafiles_problem(const std::string &folder) {
  for (const char *file : DATAFILE_NAMES) {
    std::string problem = datafile_problem(folder, file);
    if (!problem.empty()) return std::string(file) + ": " + problem;
  }
  return {};
}
