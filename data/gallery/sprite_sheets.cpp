// Sprite sheets of the gallery: every animation and sprite of the level
// datafiles and the ending, enlarged from the generated files, a sequence
// to a row, each row also at its real size. The lives icon is stretched to
// 8 x 8 as play does.
#include "data/gallery/gallery.h"

#include "data/png_writer.h"
#include "frame/catalogue.h"
#include "world/enemy_kinds.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct SheetRow {
  std::string label;
  std::vector<BITMAP *> sprites;
  int scale;
};

// Nearest entry of a palette to a colour given in 6-bit parts.
int nearest(const RGB *pal, int r, int g, int b) {
  int best = 1, best_d = 1 << 30;
  for (int i = 1; i < 256; ++i) {
    int d = (pal[i].r - r) * (pal[i].r - r) + (pal[i].g - g) * (pal[i].g - g) + (pal[i].b - b) * (pal[i].b - b);
    if (d < best_d) best = i, best_d = d;
  }
  return best;
}

PngImage png_of(BITMAP *b, const RGB *pal) {
  PngImage img{b->w, b->h, std::vector<uint8_t>(size_t(b->w) * b->h * 3)};
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) {
      const RGB &c = pal[getpixel(b, x, y)];
      uint8_t *p = &img.rgb[(size_t(y) * b->w + x) * 3];
      p[0] = uint8_t(c.r * 255 / 63), p[1] = uint8_t(c.g * 255 / 63), p[2] = uint8_t(c.b * 255 / 63);
    }
  return img;
}

// Lays the rows out on a backdrop light enough to show the black outlines.
bool write_sheet(const std::string &path, const std::vector<SheetRow> &rows, const RGB *pal) {
  const int gap = 6, text = 10;
  int width = 0, height = gap;
  for (const SheetRow &r : rows) {
    int w = gap, h = 0, w1 = gap;
    for (BITMAP *s : r.sprites) w += s->w * r.scale + gap, w1 += s->w + gap, h = std::max(h, s->h * r.scale);
    width = std::max({width, w + w1, 8 * int(r.label.size()) + 2 * gap});
    height += text + h + gap;
  }
  BITMAP *sheet = create_bitmap(width, height);
  clear_to_color(sheet, nearest(pal, 10, 11, 16));
  int ink = nearest(pal, 63, 63, 63), y = gap;
  for (const SheetRow &r : rows) {
    textout_ex(sheet, font, r.label.c_str(), gap, y, ink, -1);
    y += text;
    int x = gap, h = 0;
    for (BITMAP *s : r.sprites) {
      stretch_sprite(sheet, s, x, y, s->w * r.scale, s->h * r.scale);
      x += s->w * r.scale + gap, h = std::max(h, s->h * r.scale);
    }
    for (BITMAP *s : r.sprites) draw_sprite(sheet, s, x, y), x += s->w + gap;
    y += h + gap;
  }
  bool ok = write_png(path, png_of(sheet, pal));
  destroy_bitmap(sheet);
  return ok;
}

std::vector<BITMAP *> objects(DATAFILE *d, int first, int count) {
  std::vector<BITMAP *> list;
  for (int n = first; n < first + count; ++n) list.push_back(dat_bitmap(d, n));
  return list;
}

bool level_sheet(const std::string &folder, int group, const char *file) {
  DATAFILE *d = load_datafile(file);
  if (!d) return false;
  std::vector<SheetRow> rows;
  for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
    const EnemyKind &k = enemy_kinds[kind];
    rows.push_back({"kind " + std::to_string(kind) + ": objects " + std::to_string(k.sprite_base) + " to " +
                        std::to_string(k.sprite_base + k.frame_count - 1),
                    objects(d, k.sprite_base, k.frame_count), k.width > 40 ? 3 : 6});
  }
  BITMAP *icon = create_bitmap(8, 8);
  clear_to_color(icon, 0);
  stretch_sprite(icon, dat_bitmap(d, level_object::SHIP), 0, 0, 8, 8);
  using namespace level_object;
  std::vector<BITMAP *> ship = objects(d, SHIP_BLINK, 4);
  ship.push_back(icon);
  rows.push_back({"ship: blink, left, level, right (79 to 82), lives icon", ship, 6});
  std::vector<BITMAP *> shots = objects(d, ENEMY_SHOT, 2), player = objects(d, PLAYER_SHOT, 2);
  shots.insert(shots.end(), player.begin(), player.end());
  rows.push_back({"enemy shot (23, 24), player shot (88, 89)", shots, 8});
  rows.push_back({"shield rock, undamaged to four hits (83 to 87)", objects(d, ROCK, 5), 4});
  rows.push_back({"capsules (26 to 34)", objects(d, CAPSULES, 9), 4});
  bool ok = write_sheet(folder + "/sprites_" + std::string(file).substr(0, std::string(file).find('.')) + ".png",
                        rows, dat_palette(d, level_object::PALETTE));
  destroy_bitmap(icon);
  unload_datafile(d);
  return ok;
}

bool ending_sheet(const std::string &folder) {
  DATAFILE *d = load_datafile("enddat.dat");
  if (!d) return false;
  using namespace ending_object;
  std::vector<SheetRow> rows{{"ending pictures (1 to 8)", objects(d, PICTURES, 8), 2},
                             {"closing title (9)", objects(d, TITLE, 1), 3}};
  bool ok = write_sheet(folder + "/sprites_enddat.png", rows, dat_palette(d, ending_object::PALETTE));
  unload_datafile(d);
  return ok;
}

}  // namespace

bool write_sprite_sheets(const std::string &folder) {
  bool ok = true;
  for (int g = 0; g < 4; ++g) ok = level_sheet(folder, g, LEVEL_FILES[g]) && ok;
  return ending_sheet(folder) && ok;
}
