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
#include <cstring>
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

int changed_pixels(BITMAP *a, BITMAP *b) {
  std::vector<uint8_t> p = pixels_of(a), q = pixels_of(b);
  int n = 0;
  for (size_t i = 0; i < p.size(); ++i) n += p[i] != q[i];
  return n;
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

void expect_colour(const RGB *pal, int i, int r, int g, int b, const std::string &what) {
  EXPECT_NEAR(red(pal, i), r, 8) << what;
  EXPECT_NEAR(green(pal, i), g, 8) << what;
  EXPECT_NEAR(blue(pal, i), b, 8) << what;
}

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

std::vector<int> frames_of(int kind) {
  std::vector<int> frames;
  for (int f = 0; f < enemy_kinds[kind].frame_count; ++f) frames.push_back(enemy_kinds[kind].sprite_base + f);
  return frames;
}

void expect_size(BITMAP *b, int w, int h, const std::string &what) {
  EXPECT_EQ(b->w, w) << what;
  EXPECT_EQ(b->h, h) << what;
}

// Objects [first, first + count) are all of this size and all different.
void expect_distinct_set(DATAFILE *d, int first, int count, int w, int h, const std::string &what) {
  std::set<std::vector<uint8_t>> distinct;
  for (int n = first; n < first + count; ++n) {
    expect_size(dat_bitmap(d, n), w, h, what);
    distinct.insert(pixels_of(dat_bitmap(d, n)));
  }
  EXPECT_EQ(int(distinct.size()), count) << what;
}

}  // namespace

TEST_F(GeneratedArtTest, EnemiesAreAtTheirKindsSizeAndLoopEveryFrameWithoutAJump) {
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = load(level_files[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      SCOPED_TRACE("kind " + std::to_string(kind));
      const EnemyKind &k = enemy_kinds[kind];
      int largest_step = 0;
      for (int f = 0; f < k.frame_count; ++f) {
        BITMAP *b = dat_bitmap(d, k.sprite_base + f);
        expect_size(b, k.width, k.height, "frame " + std::to_string(f));
        EXPECT_GT(ink_count(b), k.width * k.height / 4) << "frame " << f;
        if (f + 1 == k.frame_count) break;
        int step = changed_pixels(b, dat_bitmap(d, k.sprite_base + f + 1));
        EXPECT_GT(step, 0) << "holds still from frame " << f;
        largest_step = std::max(largest_step, step);
      }
      // Back from the last frame to the first changes no more than a step.
      int wrap = changed_pixels(dat_bitmap(d, k.sprite_base + k.frame_count - 1), dat_bitmap(d, k.sprite_base));
      EXPECT_GT(wrap, 0);
      EXPECT_LE(wrap * 100, largest_step * 110) << "jumps when its cycle starts again";
    }
  }
}

TEST_F(GeneratedArtTest, ShipShotsCapsulesAndRocksAreAtTheSizesPlayUses) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = load(level_files[group]);
    const ShotSize shot = enemy_shot_sizes[group];
    expect_distinct_set(d, ENEMY_SHOT, 2, shot.width, shot.height, "enemy shot");
    expect_distinct_set(d, CAPSULES, 9, 12, 12, "capsules");
    expect_distinct_set(d, SHIP_BLINK, 4, 16, 16, "blink, left, level and right");
    expect_distinct_set(d, ROCK, 5, 30, 16, "rock");
    expect_distinct_set(d, PLAYER_SHOT, 2, 7, 7, "player shot");
    // Every hit takes a visible chunk out of the stone.
    int whole = ink_count(dat_bitmap(d, ROCK));
    for (int hits = 1; hits <= 4; ++hits)
      EXPECT_GT(ink_count(dat_bitmap(d, ROCK + hits - 1)) - ink_count(dat_bitmap(d, ROCK + hits)), whole / 25)
          << hits << " hits";
  }
}

TEST_F(GeneratedArtTest, GlyphsFitTheTextBoxesAndAreAllDifferent) {
  // The "PAUSE" label is 12 rows high; the score row ends above the lives
  // icons at row 14; the pitch is 12.
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
    int group = (level - 1) / 3;
    BITMAP *layout = dat_bitmap(load(level_files[group]), LAYOUTS + (level - 1) % 3);
    struct Box {
      int x, y, w, h;
    };
    std::vector<Box> boxes;
    int strength = 0;
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 20; ++i) {
        int kind = getpixel(layout, i, j);
        if (!kind) continue;
        const EnemyKind &k = enemy_kinds[kind];
        Box b{12 * i, 16 * j - 10, k.width, k.height};
        EXPECT_GE(b.y, 0) << "slot above the screen";
        EXPECT_LE(b.x + b.w, 320);
        EXPECT_LE(b.y + b.h, 120) << "formation reaches too low";
        for (const Box &o : boxes)
          EXPECT_FALSE(b.x < o.x + o.w && o.x < b.x + b.w && b.y < o.y + o.h && o.y < b.y + b.h)
              << "slot (" << i << ", " << j << ") overlaps";
        boxes.push_back(b);
        strength += k.hit_points;
      }
    EXPECT_GT(strength, previous_strength) << "not harder than the level before";
    previous_strength = strength;
  }
}

TEST_F(GeneratedArtTest, LevelPalettesHoldTheShadeRampsStarGreysAndBrightGlow) {
  // The colours the shade ramps ask makecol for, bright to dark.
  const int steps[8] = {255, 200, 150, 100, 70, 50, 30, 10};
  const int red_steps[8] = {255, 200, 150, 100, 50, 20, 0, 0};
  for (const char *file : level_files) {
    SCOPED_TRACE(file);
    DATAFILE *d = load(file);
    RGB *pal = dat_palette(d, level_object::PALETTE);
    expect_colour(pal, 0, 0, 0, 0, "index 0");
    use_palette(pal);
    compute_shade_colours();
    for (int s = 0; s < 8; ++s) {
      const int v = steps[s];
      const int want[5][3] = {{red_steps[s], 0, 0}, {0, v, 0}, {v, v, v}, {0, 0, v}, {v, v / 2, 0}};
      for (int r = 0; r < 5; ++r)
        expect_colour(pal, shade_colours[r * 8 + s], want[r][0], want[r][1], want[r][2],
                      "ramp " + std::to_string(r) + " shade " + std::to_string(s));
    }
    for (int grey : {255, 200, 150, 100}) expect_colour(pal, makecol(grey, grey, grey), grey, grey, grey, "star grey");
    // Over the window where the level starts, every glow index lights
    // nearly every pixel it lies on, or halos and rings would not show.
    create_trans_table(&trans_table, pal, 24, 24, 24, nullptr);
    BITMAP *bg = dat_bitmap(d, BACKGROUND);
    for (int g : {220, 230, 235, 245}) {
      long changed = 0, total = 0, before = 0, after = 0;
      for (int y = 719; y < 959; y += 2)
        for (int x = 0; x < 320; x += 2) {
          int under = getpixel(bg, x, y), blended = trans_table.data[g][under];
          changed += blended != under;
          before += luminance(pal, under);
          after += luminance(pal, blended);
          ++total;
        }
      EXPECT_GT(changed * 100 / total, 95) << "glow index " << g;
      EXPECT_GT(after, before + 8 * total) << "glow index " << g << " darkens";
      EXPECT_NE(trans_table.data[g][0], 0) << "glow index " << g << " over black";
    }
  }
}

TEST_F(GeneratedArtTest, DepthStarPalettesHoldASmoothGrey) {
  const std::pair<const char *, int> palettes[] = {
      {"bonus.dat", bonus_object::PALETTE}, {"title.dat", title_object::OPTIONS_PALETTE}, {"enddat.dat", 0}};
  for (auto [file, object] : palettes) {
    RGB *pal = dat_palette(load(file), object);
    use_palette(pal);
    for (int z = 0; z < 256; ++z) {
      int i = makecol(z, z, z);
      ASSERT_TRUE(std::abs(red(pal, i) - z) <= 8 && std::abs(green(pal, i) - z) <= 8 && std::abs(blue(pal, i) - z) <= 8)
          << file << " z " << z;
    }
  }
}

TEST_F(GeneratedArtTest, BackgroundsAreDarkEnoughForTheSpritesToStandOut) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = load(level_files[group]);
    RGB *pal = dat_palette(d, level_object::PALETTE);
    // The lit pixels of everything that flies in front: both enemy kinds,
    // the ship, both kinds of shot and the capsules.
    std::vector<int> sprites = frames_of(group_first_kind(group)), second = frames_of(group_first_kind(group) + 1);
    sprites.insert(sprites.end(), second.begin(), second.end());
    for (int n : {ENEMY_SHOT, ENEMY_SHOT + 1, SHIP, PLAYER_SHOT, PLAYER_SHOT + 1}) sprites.push_back(n);
    for (int n = CAPSULES; n < CAPSULES + 9; ++n) sprites.push_back(n);
    long sprite_sum = 0, sprite_count = 0;
    for (int n : sprites)
      for (uint8_t v : pixels_of(dat_bitmap(d, n)))
        if (v > 1) sprite_sum += luminance(pal, v), ++sprite_count;
    ASSERT_GT(sprite_count, 0);
    double sprite_mean = double(sprite_sum) / double(sprite_count);
    std::vector<int> background;
    double mean = 0;
    for (uint8_t v : pixels_of(dat_bitmap(d, BACKGROUND))) {
      background.push_back(luminance(pal, v));
      mean += background.back();
    }
    mean /= double(background.size());
    std::sort(background.begin(), background.end());
    EXPECT_LT(mean * 3.0, sprite_mean);
    // Only stars are as bright as the sprites; 99 pixels in 100 are well below.
    EXPECT_LT(background[background.size() * 99 / 100], sprite_mean * 0.75);
  }
}

TEST_F(GeneratedArtTest, EnemiesAndTheirShotsAreNotInTheColourOfThePlayersShot) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = load(level_files[group]);
    RGB *pal = dat_palette(d, level_object::PALETTE);
    HueShares shot = hue_shares(d, pal, {PLAYER_SHOT, PLAYER_SHOT + 1});
    HueShares kinds[2];
    for (int i = 0; i < 2; ++i) {
      int kind = group_first_kind(group) + i;
      kinds[i] = hue_shares(d, pal, frames_of(kind));
      // A small enemy in the shot's colour would be taken for a shot.
      if (enemy_kinds[kind].width <= 24) {
        EXPECT_LT(overlap(kinds[i], shot), 0.25) << "kind " << kind;
      }
    }
    // The two kinds' main colours lie at least 30 degrees apart.
    int a = dominant_hue(kinds[0]), b = dominant_hue(kinds[1]);
    EXPECT_GE(std::min((a - b + 24) % 24, (b - a + 24) % 24), 2) << "the two kinds are of one colour";
    EXPECT_LT(overlap(hue_shares(d, pal, {ENEMY_SHOT, ENEMY_SHOT + 1}), shot), 0.2);
    for (int n : {ENEMY_SHOT, ENEMY_SHOT + 1}) {
      int brightest = 0;
      for (uint8_t v : pixels_of(dat_bitmap(d, n))) brightest = std::max(brightest, luminance(pal, v));
      EXPECT_GT(brightest, 200) << "enemy shot " << n << " has no hot core";
    }
  }
}

// Mean luminance of the lit pixels of columns [from, to) of a sprite, and
// how many there are.
std::pair<double, int> light_of(BITMAP *b, const RGB *pal, int from, int to) {
  long sum = 0;
  int ink = 0;
  for (int y = 0; y < b->h; ++y)
    for (int x = from; x < to; ++x)
      if (int v = getpixel(b, x, y); v > 1) sum += luminance(pal, v), ++ink;
  return {ink ? double(sum) / ink : 0.0, ink};
}

TEST_F(GeneratedArtTest, TheShipKeepsItsLightOnTheLeftBanksIntoTheTurnAndReadsAtHalfSize) {
  DATAFILE *d = load("level1.dat");
  RGB *pal = dat_palette(d, level_object::PALETTE);
  BITMAP *left = dat_bitmap(d, SHIP_LEFT), *level = dat_bitmap(d, SHIP), *right = dat_bitmap(d, SHIP_RIGHT);
  for (BITMAP *ship : {left, level, right})
    EXPECT_GT(light_of(ship, pal, 0, 8).first, light_of(ship, pal, 8, 16).first + 10);
  // The wing on the inside of the turn dips and looks shorter; rolling
  // towards the light from the left brightens the hull.
  EXPECT_LT(light_of(left, pal, 0, 8).second, light_of(level, pal, 0, 8).second - 4);
  EXPECT_LT(light_of(right, pal, 8, 16).second, light_of(level, pal, 8, 16).second - 4);
  EXPECT_GT(light_of(left, pal, 0, 16).first, light_of(right, pal, 0, 16).first);
  // The lives icon is the ship stretched to 8 x 8: it keeps its nose.
  BITMAP *icon = create_bitmap(8, 8);
  clear_to_color(icon, 0);
  stretch_sprite(icon, level, 0, 0, 8, 8);
  int lit = 0, nose = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      lit += getpixel(icon, x, y) > 1;
      nose += getpixel(icon, x, y) > 1 && y < 3 && (x == 3 || x == 4);
    }
  destroy_bitmap(icon);
  EXPECT_GE(lit, 18) << "the icon falls apart";
  EXPECT_GE(nose, 2) << "the icon has lost its nose";
}

TEST_F(GeneratedArtTest, TheTitleScreenReadsAndItsPicturesFitTheirPlaces) {
  DATAFILE *t = load("title.dat");
  RGB *pal = dat_palette(t, title_object::TITLE_PALETTE);
  BITMAP *bg = dat_bitmap(t, title_object::BACKGROUND);
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

// Lowest row with ink, in screen rows, of a picture placed at y.
int ink_bottom(BITMAP *b, int y) {
  int bottom = -1;
  for (int j = 0; j < b->h; ++j)
    for (int i = 0; i < b->w; ++i)
      if (getpixel(b, i, j) > 0) bottom = j;
  return y + bottom;
}

TEST_F(GeneratedArtTest, OptionRowsStandOnOneLineAndReadDimmedAndInTheSpotlight) {
  DATAFILE *t = load("title.dat");
  RGB *pal = dat_palette(t, title_object::OPTIONS_PALETTE);
  use_palette(pal);
  create_light_table(&trans_table, pal, 0, 0, 0, nullptr);
  const int label_x[5] = {75, 70, 90, 70, 35}, label_y[5] = {20, 65, 106, 155, 192};
  const int mark_x[5] = {205, 215, 200, 210, 242};
  const int mark_y[5][2] = {{17, 25}, {57, 65}, {115, 119}, {153, 160}, {208, 211}};
  for (int r = 0; r < 5; ++r) {
    SCOPED_TRACE("row " + std::to_string(r));
    BITMAP *label = dat_bitmap(t, title_object::OPTION_ROWS + 3 * r);
    EXPECT_LT(label_x[r] + label->w, mark_x[r]) << "label runs into its mark";
    for (int m = 0; m < 2; ++m) {
      BITMAP *mark = dat_bitmap(t, title_object::OPTION_ROWS + 1 + m + 3 * r);
      EXPECT_LE(mark_x[r] + mark->w, 320);
      EXPECT_LE(mark_y[r][m] + mark->h, 240);
      EXPECT_NEAR(ink_bottom(mark, mark_y[r][m]), ink_bottom(label, label_y[r]), 1) << "mark " << m;
    }
    for (int n = title_object::OPTION_ROWS + 3 * r; n < title_object::OPTION_ROWS + 3 + 3 * r; ++n) {
      // Mean brightness of the lit pixels at the overlay's dim level (60)
      // and at the spotlight's centre (220); a coloured pixel stays
      // coloured when dimmed: its strongest channel stays the strongest
      // and keeps a lead over the weakest.
      BITMAP *b = dat_bitmap(t, n);
      long dim = 0, spot = 0, count = 0, greyed = 0;
      for (uint8_t v : pixels_of(b)) {
        if (v <= 1) continue;
        int d = trans_table.data[60][v];
        dim += luminance(pal, d);
        spot += luminance(pal, trans_table.data[220][v]);
        ++count;
        int c[3] = {red(pal, v), green(pal, v), blue(pal, v)}, e[3] = {red(pal, d), green(pal, d), blue(pal, d)};
        int top = int(std::max_element(c, c + 3) - c);
        int spread = *std::max_element(c, c + 3) - *std::min_element(c, c + 3);
        int dim_spread = *std::max_element(e, e + 3) - *std::min_element(e, e + 3);
        if (spread > 60 && (e[top] < *std::max_element(e, e + 3) || dim_spread * 255 < spread * 60 / 2)) ++greyed;
      }
      ASSERT_GT(count, 0);
      EXPECT_LT(greyed * 20, count) << "object " << n << " turns grey when dimmed";
      EXPECT_GT(dim / count, 20) << "object " << n << " vanishes when dimmed";
      EXPECT_GT(spot / count, std::max(90L, 2 * (dim / count))) << "object " << n << " is dull in the spotlight";
    }
  }
}

TEST_F(GeneratedArtTest, EndingPicturesAndEveryObjectsName) {
  DATAFILE *e = load("enddat.dat");
  BITMAP *title = dat_bitmap(e, ending_object::TITLE);
  EXPECT_NEAR(title->w, 131, 4);
  EXPECT_NEAR(title->h, 23, 3);
  std::set<std::vector<uint8_t>> pictures;
  for (int k = ending_object::PICTURES; k < ending_object::PICTURES + 8; ++k) {
    EXPECT_GT(ink_count(dat_bitmap(e, k)), 300) << "picture " << k << " is too small to read while it spins";
    pictures.insert(pixels_of(dat_bitmap(e, k)));
  }
  EXPECT_EQ(pictures.size(), 8u) << "eight different pictures drift across the ending";
  for (const char *file : {"sound.dat", "title.dat", "bonus.dat", "level1.dat", "enddat.dat"}) {
    DATAFILE *d = load(file);
    for (int n = 0; d[n].type != DAT_END; ++n)
      EXPECT_GT(std::strlen(get_datafile_property(&d[n], DAT_NAME)), 0u) << file << " object " << n;
  }
}
