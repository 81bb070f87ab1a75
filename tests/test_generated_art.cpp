// The generated datafiles as the game sees them: every catalogued picture at
// the size the code uses, formations that fit and grow harder, and palettes
// that make the code's fixed colour choices look right.
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "platform/headless.h"
#include "world/enemy_kinds.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const char *const level_files[4] = {"level1.dat", "level4.dat", "level7.dat", "level10.dat"};

class GeneratedArtTest : public ::testing::Test {
 protected:
  std::vector<DATAFILE *> loaded;
  void SetUp() override { headless::init_library(); }
  void TearDown() override {
    for (DATAFILE *d : loaded) unload_datafile(d);
  }
  DATAFILE *load(const char *name) {
    DATAFILE *d = load_datafile(name);
    EXPECT_NE(d, nullptr) << name;
    loaded.push_back(d);
    return d;
  }
};

std::vector<uint8_t> pixels_of(BITMAP *b) {
  std::vector<uint8_t> p;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) p.push_back(uint8_t(getpixel(b, x, y)));
  return p;
}

int ink_count(BITMAP *b) {
  int n = 0;
  for (uint8_t v : pixels_of(b)) n += v != 0;
  return n;
}

// 8-bit components of palette entry i.
int red(const RGB *p, int i) { return p[i].r * 255 / 63; }
int green(const RGB *p, int i) { return p[i].g * 255 / 63; }
int blue(const RGB *p, int i) { return p[i].b * 255 / 63; }
int luminance(const RGB *p, int i) { return (3 * red(p, i) + 6 * green(p, i) + blue(p, i)) / 10; }

// Share of colour in each 15 degrees of the hue circle, each pixel weighted by
// how colourful it is (greys and black count for nothing).
using HueShares = std::array<double, 24>;
HueShares hue_shares(DATAFILE *d, const RGB *pal, const std::vector<int> &objects) {
  HueShares shares{};
  double total = 0;
  for (int n : objects)
    for (uint8_t v : pixels_of(dat_bitmap(d, n))) {
      int r = red(pal, v), g = green(pal, v), b = blue(pal, v);
      int top = std::max({r, g, b}), chroma = top - std::min({r, g, b});
      if (v <= 1 || !chroma) continue;
      float h = top == r ? float(g - b) / chroma : top == g ? 2.0f + float(b - r) / chroma : 4.0f + float(r - g) / chroma;
      shares[size_t((int(h * 60.0f) + 360) % 360 / 15)] += chroma;
      total += chroma;
    }
  for (double &x : shares) x /= total;
  return shares;
}

// How much two colourings have in common, 0 (nothing) to 1 (the same).
double overlap(const HueShares &a, const HueShares &b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::min(a[i], b[i]);
  return sum;
}

int dominant_hue(const HueShares &s) { return int(std::max_element(s.begin(), s.end()) - s.begin()); }

int changed_pixels(BITMAP *a, BITMAP *b) {
  std::vector<uint8_t> p = pixels_of(a), q = pixels_of(b);
  int n = 0;
  for (size_t i = 0; i < p.size(); ++i) n += p[i] != q[i];
  return n;
}

// Mean luminance and ink of the columns [from, to) of a sprite.
struct Side {
  double light;
  int ink;
};
Side side_of(BITMAP *b, const RGB *pal, int from, int to) {
  long sum = 0;
  int ink = 0;
  for (int y = 0; y < b->h; ++y)
    for (int x = from; x < to; ++x) {
      int v = getpixel(b, x, y);
      if (v > 1) sum += luminance(pal, v), ++ink;
    }
  return {ink ? double(sum) / ink : 0.0, ink};
}

void expect_size(BITMAP *b, int w, int h, const std::string &what) {
  EXPECT_EQ(b->w, w) << what;
  EXPECT_EQ(b->h, h) << what;
}

}  // namespace

TEST_F(GeneratedArtTest, EnemyFramesAreAtTheirKindsSizeAndAnimate) {
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      const EnemyKind &k = enemy_kinds[kind];
      std::set<std::vector<uint8_t>> distinct;
      for (int f = 0; f < k.frame_count; ++f) {
        BITMAP *b = dat_bitmap(d, k.sprite_base + f);
        expect_size(b, k.width, k.height, "kind " + std::to_string(kind));
        EXPECT_GT(ink_count(b), k.width * k.height / 4) << "kind " << kind << " frame " << f;
        distinct.insert(pixels_of(b));
      }
      EXPECT_GE(int(distinct.size()), (k.frame_count + 1) / 2) << "kind " << kind << " barely animates";
    }
  }
}

TEST_F(GeneratedArtTest, ShipShotsCapsulesAndRocksAreAtTheSizesPlayUses) {
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    const ShotSize shot = enemy_shot_sizes[group];
    for (int f = 0; f < 2; ++f) expect_size(dat_bitmap(d, 23 + f), shot.width, shot.height, "enemy shot");
    EXPECT_NE(pixels_of(dat_bitmap(d, 23)), pixels_of(dat_bitmap(d, 24)));
    for (int c = 26; c <= 34; ++c) expect_size(dat_bitmap(d, c), 12, 12, "capsule");
    for (int s = 79; s <= 82; ++s) expect_size(dat_bitmap(d, s), 16, 16, "ship");
    std::set<std::vector<uint8_t>> ships, rocks, capsules;
    for (int s = 79; s <= 82; ++s) ships.insert(pixels_of(dat_bitmap(d, s)));
    EXPECT_EQ(ships.size(), 4u) << "blink, left, level and right differ";
    for (int r = 83; r <= 87; ++r) {
      expect_size(dat_bitmap(d, r), 30, 16, "rock");
      rocks.insert(pixels_of(dat_bitmap(d, r)));
      if (r > 83) {
        EXPECT_LT(ink_count(dat_bitmap(d, r)), ink_count(dat_bitmap(d, r - 1))) << "hits chip the rock";
      }
    }
    EXPECT_EQ(rocks.size(), 5u);
    for (int c = 26; c <= 34; ++c) capsules.insert(pixels_of(dat_bitmap(d, c)));
    EXPECT_EQ(capsules.size(), 9u) << "every bonus looks different";
    for (int f = 0; f < 2; ++f) expect_size(dat_bitmap(d, 88 + f), 7, 7, "player shot");
    BITMAP *background = dat_bitmap(d, 25);
    EXPECT_EQ(background->w, 320);
    EXPECT_GE(background->h, 959);
  }
}

TEST_F(GeneratedArtTest, GlyphsFitTheTextBoxesAndAreAllDifferent) {
  // The "PAUSE" label is 12 rows high; the score row ends above the lives
  // icons at row 14; the pitch is 12.
  std::vector<std::pair<const char *, int>> sets = {{"bonus.dat", 9}};
  for (const char *f : level_files) sets.push_back({f, 35});
  for (auto [file, first] : sets) {
    DATAFILE *d = load(file);
    std::set<std::vector<uint8_t>> shapes;
    for (int k = 0; k < 40; ++k) {
      BITMAP *g = dat_bitmap(d, first + k);
      EXPECT_LE(g->w, 12) << file << " glyph " << k;
      EXPECT_LE(g->h, 12) << file << " glyph " << k;
      EXPECT_GT(ink_count(g), 10) << file << " glyph " << k;
      shapes.insert(pixels_of(g));
    }
    EXPECT_EQ(shapes.size(), 40u) << file;
  }
}

TEST_F(GeneratedArtTest, FormationsFitTheScreenWithoutOverlapAndGrowHarder) {
  int previous_strength = 0;
  for (int level = 1; level <= 12; ++level) {
    int group = (level - 1) / 3;
    DATAFILE *d = load(level_files[group]);
    BITMAP *layout = dat_bitmap(d, 75 + (level - 1) % 3);
    struct Box {
      int x, y, w, h;
    };
    std::vector<Box> boxes;
    int strength = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 20; ++i) {
        int kind = getpixel(layout, i, j);
        if (!kind) continue;
        ASSERT_TRUE(kind_in_group(kind, group)) << "level " << level;
        const EnemyKind &k = enemy_kinds[kind];
        Box b{12 * i, 16 * j - 10, k.width, k.height};
        EXPECT_GE(b.y, 0) << "level " << level << ": slot above the screen";
        EXPECT_LE(b.x + b.w, 320) << "level " << level;
        EXPECT_LE(b.y + b.h, 120) << "level " << level << ": formation reaches too low";
        for (const Box &o : boxes)
          EXPECT_FALSE(b.x < o.x + o.w && o.x < b.x + b.w && b.y < o.y + o.h && o.y < b.y + b.h)
              << "level " << level << ": slot (" << i << ", " << j << ") overlaps";
        boxes.push_back(b);
        strength += k.hit_points;
      }
    EXPECT_LE(boxes.size(), 40u) << "level " << level;
    EXPECT_GT(strength, previous_strength) << "level " << level << " is not harder than the one before";
    previous_strength = strength;
  }
}

TEST_F(GeneratedArtTest, LevelPalettesHoldTheShadeRampsAndStarGreys) {
  // The colours the shade ramps ask makecol for, bright to dark.
  const int steps[8] = {255, 200, 150, 100, 70, 50, 30, 10};
  const int red_steps[8] = {255, 200, 150, 100, 50, 20, 0, 0};
  for (const char *file : level_files) {
    DATAFILE *d = load(file);
    RGB *pal = dat_palette(d, 78);
    EXPECT_EQ(red(pal, 0) + green(pal, 0) + blue(pal, 0), 0) << file;
    create_rgb_table(&rgb_table, pal, nullptr);
    rgb_map = &rgb_table;
    compute_shade_colours();
    for (int s = 0; s < 8; ++s) {
      const int v = steps[s];
      const int want[5][3] = {{red_steps[s], 0, 0}, {0, v, 0}, {v, v, v}, {0, 0, v}, {v, v / 2, 0}};
      for (int r = 0; r < 5; ++r) {
        int i = shade_colours[r * 8 + s];
        EXPECT_NEAR(red(pal, i), want[r][0], 8) << file << " ramp " << r << " shade " << s;
        EXPECT_NEAR(green(pal, i), want[r][1], 8) << file << " ramp " << r << " shade " << s;
        EXPECT_NEAR(blue(pal, i), want[r][2], 8) << file << " ramp " << r << " shade " << s;
      }
    }
    for (int grey : {255, 200, 150, 100}) {
      int i = makecol(grey, grey, grey);
      EXPECT_NEAR(red(pal, i), grey, 8) << file;
      EXPECT_NEAR(blue(pal, i), grey, 8) << file;
    }
  }
}

TEST_F(GeneratedArtTest, BackgroundsAreDarkEnoughForTheSpritesToStandOut) {
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    RGB *pal = dat_palette(d, 78);
    // The lit pixels of everything that flies in front: both enemy kinds,
    // the ship, both kinds of shot and the capsules.
    std::vector<int> sprites;
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1})
      for (int f = 0; f < enemy_kinds[kind].frame_count; ++f) sprites.push_back(enemy_kinds[kind].sprite_base + f);
    for (int n : {23, 24, 81, 88, 89, 26, 27, 28, 29, 30, 31, 32, 33, 34}) sprites.push_back(n);
    long sprite_sum = 0, sprite_count = 0;
    for (int n : sprites)
      for (uint8_t v : pixels_of(dat_bitmap(d, n)))
        if (v > 1) sprite_sum += luminance(pal, v), ++sprite_count;
    ASSERT_GT(sprite_count, 0);
    double sprite_mean = double(sprite_sum) / double(sprite_count);
    std::vector<int> background;
    for (uint8_t v : pixels_of(dat_bitmap(d, 25))) background.push_back(luminance(pal, v));
    double mean = 0;
    for (int l : background) mean += l;
    mean /= double(background.size());
    std::sort(background.begin(), background.end());
    EXPECT_LT(mean * 3.0, sprite_mean) << level_files[group];
    // Only stars are as bright as the sprites; 99 pixels in 100 are well below.
    EXPECT_LT(background[background.size() * 99 / 100], sprite_mean * 0.75) << level_files[group];
  }
}

TEST_F(GeneratedArtTest, GlowColoursAreBrightAndShowThroughTheBlend) {
  for (const char *file : level_files) {
    DATAFILE *d = load(file);
    RGB *pal = dat_palette(d, 78);
    for (int g : {220, 230, 235, 245}) EXPECT_GE(luminance(pal, g), 120) << file << " index " << g;
    create_rgb_table(&rgb_table, pal, nullptr);
    rgb_map = &rgb_table;
    create_trans_table(&trans_table, pal, 24, 24, 24, nullptr);
    // Over the window where the level starts, every glow index must change
    // nearly every pixel it lies on, or halos and rings would not show.
    BITMAP *bg = dat_bitmap(d, 25);
    for (int g : {220, 230, 235, 245}) {
      long changed = 0, total = 0;
      for (int y = 719; y < 959; y += 2)
        for (int x = 0; x < 320; x += 2) {
          int under = getpixel(bg, x, y);
          changed += trans_table.data[g][under] != under;
          ++total;
        }
      EXPECT_GT(changed * 100 / total, 95) << file << " glow index " << g;
      // Light adds: on average what lies under the glow gets brighter.
      long before = 0, after = 0;
      for (int y = 719; y < 959; y += 2)
        for (int x = 0; x < 320; x += 2) {
          int under = getpixel(bg, x, y);
          before += luminance(pal, under);
          after += luminance(pal, trans_table.data[g][under]);
        }
      EXPECT_GT(after, before + 8 * total) << file << " glow index " << g << " darkens";
      EXPECT_NE(trans_table.data[g][0], 0) << file << " glow over black";
    }
  }
}

TEST_F(GeneratedArtTest, DepthStarPalettesHoldASmoothGrey) {
  const std::pair<const char *, int> palettes[] = {{"bonus.dat", 51}, {"title.dat", 21}, {"enddat.dat", 0}};
  for (auto [file, object] : palettes) {
    RGB *pal = dat_palette(load(file), object);
    create_rgb_table(&rgb_table, pal, nullptr);
    rgb_map = &rgb_table;
    for (int z = 0; z < 256; ++z) {
      int i = makecol(z, z, z);
      ASSERT_NEAR(red(pal, i), z, 8) << file << " z " << z;
      ASSERT_NEAR(green(pal, i), z, 8) << file << " z " << z;
      ASSERT_NEAR(blue(pal, i), z, 8) << file << " z " << z;
    }
  }
}

TEST_F(GeneratedArtTest, TheTitleScreenReadsAndItsPicturesFitTheirPlaces) {
  DATAFILE *t = load("title.dat");
  RGB *pal = dat_palette(t, 22);
  BITMAP *bg = dat_bitmap(t, 23);
  expect_size(bg, 320, 240, "title background");
  // "v 1.0" in index 250 at (280, 0): bright over a dark corner.
  int darkest_gap = 255;
  for (int y = 0; y < 8; ++y)
    for (int x = 280; x < 320; ++x)
      darkest_gap = std::min(darkest_gap, luminance(pal, 250) - luminance(pal, getpixel(bg, x, y)));
  EXPECT_GT(darkest_gap, 150);
  // The name stands large in the picture: many bright logo pixels up top.
  int bright = 0;
  for (int y = 10; y < 70; ++y)
    for (int x = 0; x < 320; ++x) bright += luminance(pal, getpixel(bg, x, y)) > 180;
  EXPECT_GT(bright, 1500);
  const int items[3][2] = {{165, 100}, {130, 140}, {165, 185}};
  for (int i = 0; i < 3; ++i) {
    BITMAP *normal = dat_bitmap(t, 2 * i), *lit = dat_bitmap(t, 2 * i + 1);
    EXPECT_LE(items[i][0] + lit->w, 320) << "menu item " << i;
    EXPECT_LE(items[i][1] + lit->h, 240) << "menu item " << i;
    EXPECT_NE(pixels_of(normal), pixels_of(lit));
  }
}

TEST_F(GeneratedArtTest, OptionRowsReadDimmedAndInTheSpotlight) {
  DATAFILE *t = load("title.dat");
  RGB *pal = dat_palette(t, 21);
  create_rgb_table(&rgb_table, pal, nullptr);
  rgb_map = &rgb_table;
  create_light_table(&trans_table, pal, 0, 0, 0, nullptr);
  const int label_x[5] = {75, 70, 90, 70, 35}, mark_x[5] = {205, 215, 200, 210, 242};
  const int mark_y[5][2] = {{17, 25}, {57, 65}, {115, 119}, {153, 160}, {208, 211}};
  for (int r = 0; r < 5; ++r) {
    EXPECT_LT(label_x[r] + dat_bitmap(t, 6 + 3 * r)->w, mark_x[r]) << "row " << r << " label runs into its mark";
    for (int m = 0; m < 2; ++m) {
      BITMAP *mark = dat_bitmap(t, 7 + m + 3 * r);
      EXPECT_LE(mark_x[r] + mark->w, 320) << "row " << r;
      EXPECT_LE(mark_y[r][m] + mark->h, 240) << "row " << r;
    }
    for (int n = 6 + 3 * r; n < 9 + 3 * r; ++n) {
      // Mean brightness of the lit pixels at the overlay's dim level (60)
      // and at the spotlight's centre (220).
      BITMAP *b = dat_bitmap(t, n);
      long dim = 0, spot = 0, count = 0, greyed = 0;
      for (int y = 0; y < b->h; ++y)
        for (int x = 0; x < b->w; ++x) {
          int v = getpixel(b, x, y);
          if (v <= 1) continue;
          int d = trans_table.data[60][v];
          dim += luminance(pal, d);
          spot += luminance(pal, trans_table.data[220][v]);
          ++count;
          // A coloured pixel stays coloured: its strongest channel stays
          // the strongest and keeps a lead over the weakest.
          int c[3] = {red(pal, v), green(pal, v), blue(pal, v)}, e[3] = {red(pal, d), green(pal, d), blue(pal, d)};
          int top = int(std::max_element(c, c + 3) - c);
          int spread = *std::max_element(c, c + 3) - *std::min_element(c, c + 3);
          int dim_spread = *std::max_element(e, e + 3) - *std::min_element(e, e + 3);
          if (spread > 60 && (e[top] < *std::max_element(e, e + 3) || dim_spread * 255 < spread * 60 / 2)) ++greyed;
        }
      ASSERT_GT(count, 0);
      EXPECT_LT(greyed * 20, count) << "object " << n << " turns grey when dimmed";
      EXPECT_GT(dim / count, 20) << "object " << n << " vanishes when dimmed";
      EXPECT_GT(spot / count, 90) << "object " << n << " is dull in the spotlight";
      EXPECT_GT(spot / count, 2 * (dim / count)) << "object " << n;
    }
  }
}

// Lowest row with ink, in screen rows, of a picture placed at y.
int ink_bottom(BITMAP *b, int y) {
  int bottom = -1;
  for (int j = 0; j < b->h; ++j)
    for (int i = 0; i < b->w; ++i)
      if (getpixel(b, i, j) > 0) bottom = j;
  return y + bottom;
}

TEST_F(GeneratedArtTest, EachOptionRowStandsOnOneLine) {
  // Label and marks are text of one height: standing on one line, the
  // row reads across (a two-line label puts its last line there).
  DATAFILE *t = load("title.dat");
  const int label_y[5] = {20, 65, 106, 155, 192};
  const int mark_y[5][2] = {{17, 25}, {57, 65}, {115, 119}, {153, 160}, {208, 211}};
  for (int r = 0; r < 5; ++r) {
    int label = ink_bottom(dat_bitmap(t, 6 + 3 * r), label_y[r]);
    for (int m = 0; m < 2; ++m)
      EXPECT_NEAR(ink_bottom(dat_bitmap(t, 7 + m + 3 * r), mark_y[r][m]), label, 1) << "row " << r << " mark " << m;
  }
}

TEST_F(GeneratedArtTest, EndingPicturesAndEveryObjectsName) {
  DATAFILE *e = load("enddat.dat");
  BITMAP *title = dat_bitmap(e, 9);
  EXPECT_NEAR(title->w, 131, 4);
  EXPECT_NEAR(title->h, 23, 3);
  std::set<std::vector<uint8_t>> pictures;
  for (int k = 1; k <= 8; ++k) {
    BITMAP *b = dat_bitmap(e, k);
    EXPECT_GT(ink_count(b), 300) << "picture " << k << " is too small to read while it spins";
    pictures.insert(pixels_of(b));
  }
  EXPECT_EQ(pictures.size(), 8u) << "eight different pictures drift across the ending";
  for (const char *file : {"sound.dat", "title.dat", "bonus.dat", "level1.dat", "enddat.dat"}) {
    DATAFILE *d = load(file);
    for (int n = 0; d[n].type != DAT_END; ++n)
      EXPECT_GT(std::strlen(get_datafile_property(&d[n], DAT_NAME)), 0u) << file << " object " << n;
  }
}

TEST_F(GeneratedArtTest, EnemyAnimationsMoveEveryFrameAndLoopWithoutAJump) {
  // Going from the last frame back to the first changes no more than a
  // step inside the cycle does, and no step shows the same picture twice.
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      const EnemyKind &k = enemy_kinds[kind];
      int largest_step = 0;
      for (int f = 0; f + 1 < k.frame_count; ++f) {
        int step = changed_pixels(dat_bitmap(d, k.sprite_base + f), dat_bitmap(d, k.sprite_base + f + 1));
        EXPECT_GT(step, 0) << "kind " << kind << " holds still from frame " << f;
        largest_step = std::max(largest_step, step);
      }
      int wrap = changed_pixels(dat_bitmap(d, k.sprite_base + k.frame_count - 1), dat_bitmap(d, k.sprite_base));
      EXPECT_GT(wrap, 0) << "kind " << kind;
      EXPECT_LE(wrap * 100, largest_step * 110) << "kind " << kind << " jumps when its cycle starts again";
    }
  }
}

TEST_F(GeneratedArtTest, EnemiesDifferInColourFromTheirPartnerAndFromTheShipsShot) {
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    RGB *pal = dat_palette(d, 78);
    HueShares shot = hue_shares(d, pal, {88, 89});
    HueShares kinds[2];
    for (int i = 0; i < 2; ++i) {
      const EnemyKind &k = enemy_kinds[group_first_kind(group) + i];
      std::vector<int> frames;
      for (int f = 0; f < k.frame_count; ++f) frames.push_back(k.sprite_base + f);
      kinds[i] = hue_shares(d, pal, frames);
      // A small enemy in the shot's colour would be taken for a shot.
      if (k.width <= 24) {
        EXPECT_LT(overlap(kinds[i], shot), 0.25) << "kind " << group_first_kind(group) + i;
      }
    }
    // Their main colours lie at least 30 degrees apart round the hue circle.
    int a = dominant_hue(kinds[0]), b = dominant_hue(kinds[1]);
    int apart = std::min((a - b + 24) % 24, (b - a + 24) % 24);
    EXPECT_GE(apart, 2) << level_files[group] << ": the two kinds are of one colour";
  }
}

TEST_F(GeneratedArtTest, TheShipKeepsItsLightOnTheLeftAndBanksIntoTheTurn) {
  DATAFILE *d = load("level1.dat");
  RGB *pal = dat_palette(d, 78);
  for (int s = 80; s <= 82; ++s) {
    BITMAP *ship = dat_bitmap(d, s);
    EXPECT_GT(side_of(ship, pal, 0, 8).light, side_of(ship, pal, 8, 16).light + 10) << "object " << s;
  }
  BITMAP *level = dat_bitmap(d, 81);
  // The wing on the inside of the turn dips and looks shorter.
  EXPECT_LT(side_of(dat_bitmap(d, 80), pal, 0, 8).ink, side_of(level, pal, 0, 8).ink - 4);
  EXPECT_LT(side_of(dat_bitmap(d, 82), pal, 8, 16).ink, side_of(level, pal, 8, 16).ink - 4);
  // Rolling towards the light from the left brightens the hull.
  EXPECT_GT(side_of(dat_bitmap(d, 80), pal, 0, 16).light, side_of(dat_bitmap(d, 82), pal, 0, 16).light);
}

// Pieces of a sprite: groups of drawn pixels that touch side by side.
int pieces(BITMAP *b) {
  std::vector<int> seen(size_t(b->w) * b->h, 0);
  int count = 0;
  for (int y0 = 0; y0 < b->h; ++y0)
    for (int x0 = 0; x0 < b->w; ++x0) {
      if (getpixel(b, x0, y0) <= 1 || seen[size_t(y0) * b->w + x0]) continue;
      ++count;
      std::vector<std::pair<int, int>> todo{{x0, y0}};
      seen[size_t(y0) * b->w + x0] = 1;
      while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= b->w || ny >= b->h || getpixel(b, nx, ny) <= 1) continue;
          if (!seen[size_t(ny) * b->w + nx]) seen[size_t(ny) * b->w + nx] = 1, todo.push_back({nx, ny});
        }
      }
    }
  return count;
}

TEST_F(GeneratedArtTest, EveryHitTakesAVisibleChunkOutOfAShieldRock) {
  DATAFILE *d = load("level1.dat");
  int whole = ink_count(dat_bitmap(d, 83));
  for (int hits = 1; hits <= 4; ++hits)
    EXPECT_GT(ink_count(dat_bitmap(d, 82 + hits)) - ink_count(dat_bitmap(d, 83 + hits)), whole / 25) << hits << " hits";
  // Uncracked stone is one piece; the fourth hit splits it.
  EXPECT_EQ(pieces(dat_bitmap(d, 83)), 1);
  EXPECT_GE(pieces(dat_bitmap(d, 87)), 2);
}

TEST_F(GeneratedArtTest, EnemyShotsAreBrightAndNotInThePlayersShotColour) {
  for (const char *file : level_files) {
    DATAFILE *d = load(file);
    RGB *pal = dat_palette(d, 78);
    EXPECT_LT(overlap(hue_shares(d, pal, {23, 24}), hue_shares(d, pal, {88, 89})), 0.2) << file;
    for (int n : {23, 24}) {
      int brightest = 0;
      for (uint8_t v : pixels_of(dat_bitmap(d, n))) brightest = std::max(brightest, luminance(pal, v));
      EXPECT_GT(brightest, 200) << file << " object " << n << " has no hot core";
    }
  }
}

TEST_F(GeneratedArtTest, TheLivesIconKeepsTheShipsShapeAtHalfSize) {
  DATAFILE *d = load("level1.dat");
  BITMAP *icon = create_bitmap(8, 8);
  clear_to_color(icon, 0);
  stretch_sprite(icon, dat_bitmap(d, 81), 0, 0, 8, 8);
  int lit = 0, nose_column = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      int v = getpixel(icon, x, y);
      lit += v > 1;
      nose_column += v > 1 && y < 3 && (x == 3 || x == 4);
    }
  destroy_bitmap(icon);
  EXPECT_GE(lit, 18) << "the icon falls apart";
  EXPECT_GE(nose_column, 2) << "the icon has lost its nose";
}
