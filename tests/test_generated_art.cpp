// The generated datafiles as the game sees them: formations that fit and
// grow harder, and palettes that hold the colours the code asks makecol and
// the colour tables for, over backgrounds that let glow and sprites stand
// out; pictures at the sizes the code uses. (How the art reads is judged by
// eye on the contact sheets and the gallery.)
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "platform/headless/headless_controls.h"
#include "world/enemy_kinds.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace level_object;

// 8-bit value of a 6-bit component; the luminance the code's colour choices
// go by; whether an entry shows (r, g, b), give or take what 6 bits allow.
int eight_bit(int six_bit) { return six_bit * 255 / 63; }
int luminance(const RGB &c) { return (3 * eight_bit(c.r) + 6 * eight_bit(c.g) + eight_bit(c.b)) / 10; }
bool shows(const RGB &c, int r, int g, int b) {
  return std::abs(eight_bit(c.r) - r) <= 8 && std::abs(eight_bit(c.g) - g) <= 8 && std::abs(eight_bit(c.b) - b) <= 8;
}

bool within_12(BITMAP *b) { return b->w <= 12 && b->h <= 12; }

std::vector<uint8_t> pixels_of(BITMAP *b) {
  std::vector<uint8_t> p;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) p.push_back(uint8_t(getpixel(b, x, y)));
  return p;
}

class GeneratedArtTest : public ::testing::Test {
 protected:
  std::map<std::string, DATAFILE *> loaded;
  void SetUp() override { headless::init_library(); }
  void TearDown() override {
    for (auto &[name, d] : loaded) unload_datafile(d);
  }
  DATAFILE *art(const std::string &name) {
    DATAFILE *&d = loaded[name];
    if (!d) d = load_datafile(name.c_str());
    EXPECT_NE(d, nullptr) << name;
    return d;
  }
};

void use_palette(const RGB *pal) {
  create_rgb_table(&rgb_table, pal, nullptr);
  rgb_map = &rgb_table;
}

}  // namespace

// The sizes play's boxes and the glyph pitch take for granted (the start-up
// check reads only kinds, counts and the background's size): enemy frames,
// enemy shots, capsules, the ship's blink, left, level and right frames,
// rocks and player shots; glyphs within 12 x 12.
TEST_F(GeneratedArtTest, SpritesAndGlyphsAreAtTheSizesPlayUses) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(LEVEL_FILES[group]);
    DATAFILE *d = art(LEVEL_FILES[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      const EnemyKind &k = enemy_kinds[kind];
      for (int f = 0; f < k.frame_count; ++f) {
        BITMAP *b = dat_bitmap(d, k.sprite_base + f);
        EXPECT_TRUE(b->w == k.width && b->h == k.height) << "kind " << kind << " frame " << f;
      }
    }
    const ShotSize shot = enemy_shot_sizes[group];
    const int sets[5][4] = {{ENEMY_SHOT, 2, shot.width, shot.height}, {CAPSULES, 9, 12, 12},
                            {SHIP_BLINK, 4, 16, 16}, {ROCK, 5, 30, 16}, {PLAYER_SHOT, 2, 7, 7}};
    for (auto [first, count, w, h] : sets)
      for (int n = first; n < first + count; ++n)
        EXPECT_TRUE(dat_bitmap(d, n)->w == w && dat_bitmap(d, n)->h == h) << "object " << n;
    for (int n = GLYPHS; n < GLYPHS + 40; ++n) EXPECT_TRUE(within_12(dat_bitmap(d, n))) << "glyph " << n;
  }
  for (int n = bonus_object::GLYPHS; n < bonus_object::GLYPHS + 40; ++n)
    EXPECT_TRUE(within_12(dat_bitmap(art("bonus.dat"), n))) << "bonus glyph " << n;
}

TEST_F(GeneratedArtTest, FormationsFitTheScreenWithoutOverlapAndGrowHarder) {
  int previous_strength = 0;
  for (int level = 1; level <= 12; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    BITMAP *layout = dat_bitmap(art(LEVEL_FILES[(level - 1) / 3]), LAYOUTS + (level - 1) % 3);
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
    SCOPED_TRACE(LEVEL_FILES[group]);
    DATAFILE *d = art(LEVEL_FILES[group]);
    const RGB *pal = dat_palette(d, level_object::PALETTE);
    EXPECT_TRUE(shows(pal[0], 0, 0, 0));
    use_palette(pal);
    compute_shade_colours();
    // Every shade the ramps ask makecol for is in the palette.
    for (int i = 0; i < 40; ++i)
      EXPECT_TRUE(shows(pal[shade_colours[i]], shade_rgb[i].r, shade_rgb[i].g, shade_rgb[i].b)) << "shade " << i;
    for (int grey : {255, 200, 150, 100}) EXPECT_TRUE(shows(pal[makecol(grey, grey, grey)], grey, grey, grey));
    // Over the window where the level starts, every glow index brightens
    // nearly every pixel it lies on, or halos and rings would not show.
    create_trans_table(&trans_table, pal, 24, 24, 24, nullptr);
    BITMAP *bg = dat_bitmap(d, BACKGROUND);
    for (int g : {220, 230, 235, 245}) {
      long brighter = 0, total = 0;
      for (int y = 719; y < 959; y += 2)
        for (int x = 0; x < 320; x += 2, ++total) {
          int under = getpixel(bg, x, y);
          brighter += luminance(pal[trans_table.data[g][under]]) > luminance(pal[under]);
        }
      EXPECT_GT(brighter * 100 / total, 95) << "glow index " << g;
      EXPECT_NE(trans_table.data[g][0], 0) << "glow index " << g << " over black";
    }
    // The lit pixels of everything that flies in front: both enemy kinds'
    // first frames, the ship, both kinds of shot and the capsules.
    std::vector<BITMAP *> sprites;
    for (int k = 0; k < 9; ++k) sprites.push_back(dat_bitmap(d, CAPSULES + k));
    for (int n : {enemy_kinds[group_first_kind(group)].sprite_base,
                  enemy_kinds[group_first_kind(group) + 1].sprite_base, ENEMY_SHOT, SHIP, PLAYER_SHOT})
      sprites.push_back(dat_bitmap(d, n));
    long sprite_sum = 0, sprite_count = 0;
    for (BITMAP *b : sprites)
      for (uint8_t v : pixels_of(b))
        if (v > 1) sprite_sum += luminance(pal[v]), ++sprite_count;
    double sprite_mean = double(sprite_sum) / double(std::max(sprite_count, 1L));
    std::vector<int> background;
    double mean = 0;
    for (uint8_t v : pixels_of(bg)) mean += background.emplace_back(luminance(pal[v]));
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
    RGB *pal = dat_palette(art(file), object);
    use_palette(pal);
    for (int z = 0; z < 256; ++z) ASSERT_TRUE(shows(pal[makecol(z, z, z)], z, z, z)) << file << " z " << z;
  }
}
