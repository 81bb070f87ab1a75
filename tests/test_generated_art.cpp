// The generated datafiles as the game sees them: pictures at the sizes the
// code uses, formations that fit and grow harder, and palettes that hold the
// colours the code asks for and make its fixed colour choices look right.
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "platform/headless.h"
#include "world/enemy_kinds.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace level_object;

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
  std::vector<uint8_t> p = pixels_of(b);
  return int(p.size() - std::count(p.begin(), p.end(), 0));
}

void use_palette(const RGB *pal) {
  create_rgb_table(&rgb_table, pal, nullptr);
  rgb_map = &rgb_table;
}

// 8-bit components of palette entry i.
int red(const RGB *p, int i) { return p[i].r * 255 / 63; }
int green(const RGB *p, int i) { return p[i].g * 255 / 63; }
int blue(const RGB *p, int i) { return p[i].b * 255 / 63; }
int luminance(const RGB *p, int i) { return (3 * red(p, i) + 6 * green(p, i) + blue(p, i)) / 10; }

// Palette entry i shows (r, g, b), give or take what 6-bit entries allow.
bool shows_colour(const RGB *p, int i, int r, int g, int b) {
  return std::abs(red(p, i) - r) <= 8 && std::abs(green(p, i) - g) <= 8 && std::abs(blue(p, i) - b) <= 8;
}

// Objects [first, first + count) are all of this size and all different.
void expect_distinct_set(DATAFILE *d, int first, int count, int w, int h, const char *what) {
  std::set<std::vector<uint8_t>> distinct;
  for (int n = first; n < first + count; ++n) {
    EXPECT_TRUE(dat_bitmap(d, n)->w == w && dat_bitmap(d, n)->h == h) << what << " object " << n;
    distinct.insert(pixels_of(dat_bitmap(d, n)));
  }
  EXPECT_EQ(int(distinct.size()), count) << what;
}

}  // namespace

TEST_F(GeneratedArtTest, SpritesAndGlyphsAreAtTheSizesPlayUsesAndEnemiesMoveOnEveryFrame) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = load(level_files[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      const EnemyKind &k = enemy_kinds[kind];
      for (int f = 0; f < k.frame_count; ++f) {
        BITMAP *b = dat_bitmap(d, k.sprite_base + f);
        EXPECT_TRUE(b->w == k.width && b->h == k.height) << "kind " << kind << " frame " << f;
        EXPECT_GT(ink_count(b), k.width * k.height / 4) << "kind " << kind << " frame " << f;
        // The cycle changes from every frame to the next, the last to the first too.
        BITMAP *next = dat_bitmap(d, k.sprite_base + (f + 1) % k.frame_count);
        EXPECT_NE(pixels_of(b), pixels_of(next)) << "kind " << kind << " holds still from frame " << f;
      }
    }
    const ShotSize shot = enemy_shot_sizes[group];
    expect_distinct_set(d, ENEMY_SHOT, 2, shot.width, shot.height, "enemy shot");
    expect_distinct_set(d, CAPSULES, 9, 12, 12, "capsules");
    expect_distinct_set(d, SHIP_BLINK, 4, 16, 16, "blink, left, level and right");
    expect_distinct_set(d, ROCK, 5, 30, 16, "rock");
    expect_distinct_set(d, PLAYER_SHOT, 2, 7, 7, "player shot");
  }
  // The "PAUSE" label is 12 rows high and the pitch is 12: glyphs fit a
  // 12 x 12 box, and all 40 of a set differ.
  std::vector<std::pair<const char *, int>> sets = {{"bonus.dat", bonus_object::GLYPHS}};
  for (const char *f : level_files) sets.push_back({f, GLYPHS});
  for (auto [file, first] : sets) {
    DATAFILE *d = load(file);
    std::set<std::vector<uint8_t>> shapes;
    for (int k = 0; k < 40; ++k) {
      BITMAP *g = dat_bitmap(d, first + k);
      EXPECT_TRUE(g->w <= 12 && g->h <= 12 && ink_count(g) > 10) << file << " glyph " << k;
      shapes.insert(pixels_of(g));
    }
    EXPECT_EQ(shapes.size(), 40u) << file;
  }
}

TEST_F(GeneratedArtTest, FormationsFitTheScreenWithoutOverlapAndGrowHarder) {
  int previous_strength = 0;
  for (int level = 1; level <= 12; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    BITMAP *layout = dat_bitmap(load(level_files[(level - 1) / 3]), LAYOUTS + (level - 1) % 3);
    std::vector<std::array<int, 4>> boxes;  // x, y, w, h
    int strength = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 20; ++i) {
        int kind = getpixel(layout, i, j);
        if (!kind) continue;
        const EnemyKind &k = enemy_kinds[kind];
        int x = 12 * i, y = 16 * j - 10;
        EXPECT_TRUE(y >= 0 && x + k.width <= 320 && y + k.height <= 120) << "slot (" << i << ", " << j << ")";
        for (auto [ox, oy, ow, oh] : boxes)
          EXPECT_FALSE(x < ox + ow && ox < x + k.width && y < oy + oh && oy < y + k.height)
              << "slot (" << i << ", " << j << ") overlaps";
        boxes.push_back({x, y, k.width, k.height});
        strength += k.hit_points;
      }
    EXPECT_GT(strength, previous_strength) << "not harder than the level before";
    previous_strength = strength;
  }
}

TEST_F(GeneratedArtTest, PalettesHoldTheColoursAskedForAndBackgroundsLetGlowAndSpritesStandOut) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = load(level_files[group]);
    RGB *pal = dat_palette(d, level_object::PALETTE);
    EXPECT_TRUE(shows_colour(pal, 0, 0, 0, 0));
    use_palette(pal);
    compute_shade_colours();
    // Every shade the ramps ask makecol for is in the palette.
    for (int i = 0; i < 40; ++i)
      EXPECT_TRUE(shows_colour(pal, shade_colours[i], shade_rgb[i].r, shade_rgb[i].g, shade_rgb[i].b)) << "shade " << i;
    for (int grey : {255, 200, 150, 100}) EXPECT_TRUE(shows_colour(pal, makecol(grey, grey, grey), grey, grey, grey));
    // Over the window where the level starts, every glow index brightens
    // nearly every pixel it lies on, or halos and rings would not show.
    create_trans_table(&trans_table, pal, 24, 24, 24, nullptr);
    BITMAP *bg = dat_bitmap(d, BACKGROUND);
    for (int g : {220, 230, 235, 245}) {
      long brighter = 0, total = 0;
      for (int y = 719; y < 959; y += 2)
        for (int x = 0; x < 320; x += 2, ++total) {
          int under = getpixel(bg, x, y);
          brighter += luminance(pal, trans_table.data[g][under]) > luminance(pal, under);
        }
      EXPECT_GT(brighter * 100 / total, 95) << "glow index " << g;
      EXPECT_NE(trans_table.data[g][0], 0) << "glow index " << g << " over black";
    }
    // The lit pixels of everything that flies in front: both enemy kinds'
    // first frames, the ship, both kinds of shot and the capsules.
    std::vector<int> sprites = {enemy_kinds[group_first_kind(group)].sprite_base,
                                enemy_kinds[group_first_kind(group) + 1].sprite_base, ENEMY_SHOT, SHIP, PLAYER_SHOT};
    for (int n = CAPSULES; n < CAPSULES + 9; ++n) sprites.push_back(n);
    long sprite_sum = 0, sprite_count = 0;
    for (int n : sprites)
      for (uint8_t v : pixels_of(dat_bitmap(d, n)))
        if (v > 1) sprite_sum += luminance(pal, v), ++sprite_count;
    double sprite_mean = double(sprite_sum) / double(std::max(sprite_count, 1L));
    std::vector<int> background;
    double mean = 0;
    for (uint8_t v : pixels_of(bg)) mean += background.emplace_back(luminance(pal, v));
    mean /= double(background.size());
    std::sort(background.begin(), background.end());
    EXPECT_LT(mean * 3.0, sprite_mean);
    // Only stars are as bright as the sprites; 99 pixels in 100 are well below.
    EXPECT_LT(background[background.size() * 99 / 100], sprite_mean * 0.75);
  }
  // Depth stars ask for every grey from black to white.
  const std::pair<const char *, int> grey_palettes[] = {
      {"bonus.dat", bonus_object::PALETTE}, {"title.dat", title_object::OPTIONS_PALETTE}, {"enddat.dat", 0}};
  for (auto [file, object] : grey_palettes) {
    RGB *pal = dat_palette(load(file), object);
    use_palette(pal);
    for (int z = 0; z < 256; ++z) ASSERT_TRUE(shows_colour(pal, makecol(z, z, z), z, z, z)) << file << " z " << z;
  }
}
