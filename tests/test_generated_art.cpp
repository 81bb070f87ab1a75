// The generated datafiles as the game sees them: pictures at the sizes the
// code uses, formations that fit and grow harder, palettes that hold the
// colours the code asks for and make its fixed colour choices look right,
// and art that reads at a glance.
//
// Readability is measured in the palettes the game shows the pictures in.
// Colours are told apart by their CIEDE2000 difference (CIELAB from sRGB,
// D65); light from dark by the WCAG contrast ratio. The colours "of" a
// sprite are the palette entries that each cover a share of its ink (the
// black outline aside); for the sprites that must be told apart (shots,
// capsules, digits, the ship) only those between L* 25 and 90 count:
// near-black is the outline and shadow every sprite has, near-white the hot
// core and glint every lit one has.
#include "frame/catalogue.h"
#include "frame/colour_tables.h"
#include "tests/support/headless_controls.h"
#include "world/enemy_kinds.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace level_object;

const char *const level_files[4] = {"level1.dat", "level4.dat", "level7.dat", "level10.dat"};

// Floors. 20 CIEDE2000 units is a plainly different colour even on a sprite
// a few pixels wide seen for a moment; 3:1 is the WCAG least for large text.
// The options overlay leaves 60/255 of a colour outside its spotlight and
// finds the result in 5-bit steps, so that white itself comes out as
// (56, 56, 56), 1.8:1 on black: dimmed labels must come near that.
constexpr double DIFFERENT = 20.0, LEGIBLE = 3.0, DIM_LABEL = 1.7;

// Linear light of a 6-bit palette component (sRGB decoding).
double linear(int six_bit) {
  double c = six_bit / 63.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double relative_luminance(const RGB &c) { return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b); }

double contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

struct Lab {
  double L, a, b;
};

Lab lab(const RGB &c) {
  double r = linear(c.r), g = linear(c.g), b = linear(c.b);
  double f[3] = {(0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047, 0.2126 * r + 0.7152 * g + 0.0722 * b,
                 (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883};
  for (double &t : f) t = t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  return {116.0 * f[1] - 16.0, 500.0 * (f[0] - f[1]), 200.0 * (f[1] - f[2])};
}

// CIEDE2000, as Sharma, Wu and Dalal set it out.
double delta_e(const Lab &x, const Lab &y) {
  const double deg = M_PI / 180.0;
  auto c7 = [](double c) { return std::sqrt(std::pow(c, 7.0) / (std::pow(c, 7.0) + std::pow(25.0, 7.0))); };
  double g = 0.5 * (1.0 - c7((std::hypot(x.a, x.b) + std::hypot(y.a, y.b)) / 2.0));
  double a1 = (1.0 + g) * x.a, a2 = (1.0 + g) * y.a;
  double c1 = std::hypot(a1, x.b), c2 = std::hypot(a2, y.b);
  auto hue = [deg](double b, double a) {
    return a == 0.0 && b == 0.0 ? 0.0 : std::fmod(std::atan2(b, a) / deg + 360.0, 360.0);
  };
  double h1 = hue(x.b, a1), h2 = hue(y.b, a2), dh = h2 - h1, h = h1 + h2;
  if (c1 * c2 == 0.0) {
    dh = 0.0;
  } else {
    dh += dh > 180.0 ? -360.0 : dh < -180.0 ? 360.0 : 0.0;
    h = std::fabs(h1 - h2) <= 180.0 ? h / 2.0 : (h + (h < 360.0 ? 360.0 : -360.0)) / 2.0;
  }
  double l = (x.L + y.L) / 2.0 - 50.0, c = (c1 + c2) / 2.0;
  double t = 1.0 - 0.17 * std::cos((h - 30.0) * deg) + 0.24 * std::cos(2.0 * h * deg) +
             0.32 * std::cos((3.0 * h + 6.0) * deg) - 0.20 * std::cos((4.0 * h - 63.0) * deg);
  double dl = (y.L - x.L) / (1.0 + 0.015 * l * l / std::sqrt(20.0 + l * l));
  double dc = (c2 - c1) / (1.0 + 0.045 * c);
  double dhh = 2.0 * std::sqrt(c1 * c2) * std::sin(dh / 2.0 * deg) / (1.0 + 0.015 * c * t);
  double rt = -2.0 * c7(c) * std::sin(60.0 * std::exp(-std::pow((h - 275.0) / 25.0, 2.0)) * deg);
  return std::sqrt(dl * dl + dc * dc + dhh * dhh + rt * dc * dhh);
}

// 8-bit value of a 6-bit component; the luminance the code's colour choices
// go by; whether an entry shows (r, g, b), give or take what 6 bits allow.
int eight_bit(int six_bit) { return six_bit * 255 / 63; }
int luminance(const RGB &c) { return (3 * eight_bit(c.r) + 6 * eight_bit(c.g) + eight_bit(c.b)) / 10; }
bool shows(const RGB &c, int r, int g, int b) {
  return std::abs(eight_bit(c.r) - r) <= 8 && std::abs(eight_bit(c.g) - g) <= 8 && std::abs(eight_bit(c.b) - b) <= 8;
}

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

std::vector<BITMAP *> objects(DATAFILE *d, int first, int count) {
  std::vector<BITMAP *> b;
  for (int n = first; n < first + count; ++n) b.push_back(dat_bitmap(d, n));
  return b;
}

size_t distinct(DATAFILE *d, int first, int count) {
  std::set<std::vector<uint8_t>> pictures;
  for (BITMAP *b : objects(d, first, count)) pictures.insert(pixels_of(b));
  return pictures.size();
}

std::vector<BITMAP *> kind_frames(DATAFILE *d, int kind) {
  return objects(d, enemy_kinds[kind].sprite_base, enemy_kinds[kind].frame_count);
}

// The entries that each cover at least `share` of the bitmaps' ink; for
// `telling`, only those with an L* in [25, 90).
std::vector<int> colours_of(const std::vector<BITMAP *> &bitmaps, double share, const RGB *pal, bool telling) {
  std::map<int, long> count;
  long ink = 0;
  for (BITMAP *b : bitmaps)
    for (uint8_t v : pixels_of(b))
      if (v > 1) ++count[v], ++ink;
  std::vector<int> colours;
  for (auto [v, n] : count) {
    double l = lab(pal[v]).L;
    if (n >= share * double(ink) && (!telling || (l >= 25.0 && l < 90.0))) colours.push_back(v);
  }
  return colours;
}

// The closest pair of two sets of colours must lie DIFFERENT apart.
void expect_apart(const RGB *pal, const std::vector<int> &as, const std::vector<int> &bs, const std::string &what) {
  double closest = 1e9;
  int pair[2] = {-1, -1};
  for (int a : as)
    for (int b : bs)
      if (double d = delta_e(lab(pal[a]), lab(pal[b])); d < closest) closest = d, pair[0] = a, pair[1] = b;
  EXPECT_FALSE(as.empty()) << what << ": no colour to tell";
  EXPECT_GE(closest, DIFFERENT) << what << ": entries " << pair[0] << " and " << pair[1];
}

// Every drawn pixel at the edge of what is drawn (touching the transparent
// or the bitmap's border, diagonally too when asked) is dark: the outline
// is closed.
bool outline_closed(BITMAP *b, const RGB *pal, bool diagonal) {
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x) {
      int v = getpixel(b, x, y);
      if (!v || lab(pal[v]).L < 20.0) continue;
      for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
          if ((diagonal || !i || !j) && getpixel(b, x + i, y + j) <= 0) return false;
    }
  return true;
}

// Turns the sprite by each angle (256 to a turn) as the game does and
// checks its outline on the screen, on a ground of colour 0.
void expect_outline_survives_turning(BITMAP *sprite, const RGB *pal, int step, const std::string &what) {
  BITMAP *canvas = create_bitmap(sprite->w * 2, sprite->h * 2);
  for (int angle = 0; angle < 256; angle += step) {
    clear(canvas);
    rotate_sprite(canvas, sprite, sprite->w / 2, sprite->h / 2, itofix(angle));
    EXPECT_TRUE(outline_closed(canvas, pal, false)) << what << " turned by " << angle;
  }
  destroy_bitmap(canvas);
}

// Horizontal middle of the drawn pixels that are not black in rows
// [top, bottom); -1 when none.
double ink_middle(BITMAP *b, int top, int bottom) {
  int first = -1, last = -1;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < b->w; ++x)
      if (getpixel(b, x, y) > 1) last = std::max(last, x), first = first < 0 ? x : std::min(first, x);
  return first < 0 ? -1.0 : (first + last) / 2.0;
}

// Unlit regions of more than one pixel that never reach the border: the
// holes of rings (a lone pixel is a gap beside a stroke).
int holes_of(BITMAP *b) {
  std::vector<char> seen(size_t(b->w * b->h), 0);
  // Floods the unlit region at (x, y), counting it; false when it reaches the border.
  std::function<bool(int, int, int &)> enclosed = [&](int x, int y, int &size) -> bool {
    int v = getpixel(b, x, y);  // -1 off the bitmap
    if (v < 0 || v > 1 || seen[size_t(y * b->w + x)]) return v >= 0;
    seen[size_t(y * b->w + x)] = 1, ++size;
    return enclosed(x + 1, y, size) & enclosed(x - 1, y, size) & enclosed(x, y + 1, size) & enclosed(x, y - 1, size);
  };
  int holes = 0;
  for (int y = 0; y < b->h; ++y)
    for (int x = 0; x < b->w; ++x)
      if (int size = 0; enclosed(x, y, size) && size > 1) ++holes;
  return holes;
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
  const RGB *level_palette_of(int group) { return dat_palette(art(level_files[group]), level_object::PALETTE); }
};

void use_palette(const RGB *pal) {
  create_rgb_table(&rgb_table, pal, nullptr);
  rgb_map = &rgb_table;
}

}  // namespace

TEST_F(GeneratedArtTest, SpritesAndGlyphsAreAtTheSizesPlayUsesAndEnemiesMoveOnEveryFrame) {
  for (int group = 0; group < 4; ++group) {
    SCOPED_TRACE(level_files[group]);
    DATAFILE *d = art(level_files[group]);
    for (int kind : {group_first_kind(group), group_first_kind(group) + 1}) {
      const EnemyKind &k = enemy_kinds[kind];
      for (int f = 0; f < k.frame_count; ++f) {
        BITMAP *b = dat_bitmap(d, k.sprite_base + f);
        EXPECT_TRUE(b->w == k.width && b->h == k.height && ink_count(b) > k.width * k.height / 4)
            << "kind " << kind << " frame " << f;
        // The cycle changes from every frame to the next, the last to the first too.
        EXPECT_NE(pixels_of(b), pixels_of(dat_bitmap(d, k.sprite_base + (f + 1) % k.frame_count)))
            << "kind " << kind << " holds still from frame " << f;
      }
    }
    // Enemy shots, capsules, the ship's blink, left, level and right
    // frames, rocks and player shots: each set of one size, all different.
    const ShotSize shot = enemy_shot_sizes[group];
    const int sets[5][4] = {{ENEMY_SHOT, 2, shot.width, shot.height}, {CAPSULES, 9, 12, 12},
                            {SHIP_BLINK, 4, 16, 16}, {ROCK, 5, 30, 16}, {PLAYER_SHOT, 2, 7, 7}};
    for (auto [first, count, w, h] : sets) {
      for (BITMAP *b : objects(d, first, count)) EXPECT_TRUE(b->w == w && b->h == h) << "set from " << first;
      EXPECT_EQ(distinct(d, first, count), size_t(count)) << "set from " << first;
    }
  }
  // The "PAUSE" label is 12 rows high and the pitch is 12: glyphs fit a
  // 12 x 12 box, and all 40 of a set differ.
  std::vector<std::pair<const char *, int>> glyph_sets = {{"bonus.dat", bonus_object::GLYPHS}};
  for (const char *f : level_files) glyph_sets.push_back({f, GLYPHS});
  for (auto [file, first] : glyph_sets) {
    for (BITMAP *g : objects(art(file), first, 40)) EXPECT_TRUE(g->w <= 12 && g->h <= 12 && ink_count(g) > 10) << file;
    EXPECT_EQ(distinct(art(file), first, 40), 40u) << file;
  }
}

TEST_F(GeneratedArtTest, FormationsFitTheScreenWithoutOverlapAndGrowHarder) {
  int previous_strength = 0;
  for (int level = 1; level <= 12; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    BITMAP *layout = dat_bitmap(art(level_files[(level - 1) / 3]), LAYOUTS + (level - 1) % 3);
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
    DATAFILE *d = art(level_files[group]);
    const RGB *pal = level_palette_of(group);
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
    std::vector<BITMAP *> sprites = objects(d, CAPSULES, 9);
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

TEST_F(GeneratedArtTest, ShotsCapsulesTextAndTheShipDifferInColourFromWhatTheyMeet) {
  std::vector<std::vector<int>> shots;
  for (int group = 0; group < 4; ++group)
    shots.push_back(colours_of(objects(art(level_files[group]), ENEMY_SHOT, 2), 0.05, level_palette_of(group), true));
  for (int group = 0; group < 4; ++group) {
    DATAFILE *d = art(level_files[group]);
    const RGB *pal = level_palette_of(group);
    std::string set = "set " + std::to_string(group + 1) + ": ";
    int first = group_first_kind(group);
    std::vector<BITMAP *> enemy_frames = kind_frames(d, first), second = kind_frames(d, first + 1);
    enemy_frames.insert(enemy_frames.end(), second.begin(), second.end());
    std::vector<int> enemies = colours_of(enemy_frames, 0.01, pal, false);
    std::vector<int> background = colours_of({dat_bitmap(d, BACKGROUND)}, 0.001, pal, false);
    expect_apart(pal, shots[group], background, set + "enemy shot, background");
    expect_apart(pal, shots[group], enemies, set + "enemy shot, enemies");
    // Explosions' particles are red in every set.
    std::vector<int> reds;
    for (int r : {255, 200, 150}) reds.push_back(bestfit_color(pal, r >> 2, 0, 0));
    expect_apart(pal, reds, background, set + "red particles, background");
    expect_apart(pal, colours_of(objects(d, GLYPHS, 40), 0.05, pal, true), background, set + "glyphs, background");
    // The kinds of the formation's top row fly over the score and the lives.
    std::vector<BITMAP *> top_row;
    for (int l = 0; l < 3; ++l) {
      BITMAP *layout = dat_bitmap(d, LAYOUTS + l);
      std::vector<int> row;
      for (int top = 0; top < 15 && row.empty(); ++top)
        for (int i = 0; i < 20; ++i)
          if (int kind = getpixel(layout, i, top); kind > 0) row.push_back(kind);
      for (int kind : row)
        for (BITMAP *b : kind_frames(d, kind)) top_row.push_back(b);
    }
    expect_apart(pal, colours_of(objects(d, GLYPHS, 10), 0.05, pal, true), colours_of(top_row, 0.01, pal, false),
                 set + "score digits, top row");
    expect_apart(pal, colours_of({dat_bitmap(d, SHIP)}, 0.05, pal, true), enemies, set + "ship, enemies");
    // The capsules are the same in every set, and meet every set's shots.
    for (int k = 0; k < 9; ++k)
      expect_apart(pal, colours_of({dat_bitmap(art(level_files[0]), CAPSULES + k)}, 0.05, pal, true), shots[group],
                   set + "capsule " + std::to_string(k) + ", enemy shot");
  }
  DATAFILE *d = art(level_files[0]);
  const RGB *pal = level_palette_of(0);
  expect_apart(pal, colours_of({dat_bitmap(d, CAPSULES + 1)}, 0.05, pal, true),
               colours_of(objects(d, ROCK, 5), 0.01, pal, false), "rock shield capsule, rock");
}

TEST_F(GeneratedArtTest, OutlinesStayClosedWhenTurnedWorldsAreSmoothAndTheShipKeepsItsShape) {
  DATAFILE *level = art("level1.dat"), *ending = art("enddat.dat");
  const RGB *pal = level_palette_of(0), *ending_pal = dat_palette(ending, ending_object::PALETTE);
  for (int k = 0; k < 9; ++k)
    expect_outline_survives_turning(dat_bitmap(level, CAPSULES + k), pal, 16, "capsule " + std::to_string(k));
  for (int k = ending_object::PICTURES; k < ending_object::PICTURES + 8; ++k)
    expect_outline_survives_turning(dat_bitmap(ending, k), ending_pal, 4, "ending picture " + std::to_string(k));
  // The worlds without a ring (pictures 4 to 6) are smooth like the
  // backgrounds' planets: from pixel to pixel they change by under half
  // the 8 to 9 L* between two shades of their ten-shade ramps, on average.
  for (int k = 4; k <= 6; ++k) {
    BITMAP *world = dat_bitmap(ending, k);
    double steps = 0;
    int n = 0;
    for (int y = 0; y < world->h; ++y)
      for (int x = 0; x < world->w; ++x)
        for (auto [nx, ny] : {std::pair{x + 1, y}, {x, y + 1}})
          if (int a = getpixel(world, x, y), b = getpixel(world, nx, ny); a > 1 && b > 1)
            steps += std::fabs(lab(ending_pal[a]).L - lab(ending_pal[b]).L), ++n;
    EXPECT_LE(steps / std::max(n, 1), 4.0) << "ending picture " << k << " is grainy";
  }
  for (int group = 0; group < 4; ++group)
    for (int k = 0; k < 10; ++k)
      EXPECT_TRUE(outline_closed(dat_bitmap(art(level_files[group]), GLYPHS + k), level_palette_of(group), true))
          << level_files[group] << " digit " << k;
  // The blink frame is the ship's own outline filled bright; banking moves
  // the nose towards the turn.
  BITMAP *blink = dat_bitmap(level, SHIP_BLINK), *ship = dat_bitmap(level, SHIP);
  for (int y = 0; y < ship->h; ++y)
    for (int x = 0; x < ship->w; ++x) {
      int s = getpixel(ship, x, y), b = getpixel(blink, x, y);
      EXPECT_TRUE(s == 1 ? b == 1 : (s == 0) == (b == 0)) << "blink frame at " << x << ", " << y;
      EXPECT_TRUE(s <= 1 || lab(pal[b]).L >= 80.0) << "blink frame at " << x << ", " << y;
    }
  int nose = 0;
  while (nose < ship->h && ink_middle(ship, nose, nose + 1) < 0) ++nose;
  EXPECT_LT(ink_middle(dat_bitmap(level, SHIP_LEFT), nose, nose + 1), ink_middle(ship, nose, nose + 1));
  EXPECT_GT(ink_middle(dat_bitmap(level, SHIP_RIGHT), nose, nose + 1), ink_middle(ship, nose, nose + 1));
}

TEST_F(GeneratedArtTest, GlyphsIconsAndOptionLabelsReadAgainstTheirGround) {
  // "%" has two rings, ":" stands in the middle of its 12-pixel cell.
  for (const char *f : level_files) {
    EXPECT_EQ(holes_of(dat_bitmap(art(f), GLYPHS + 37)), 2) << f << ": holes in \"%\"";
    BITMAP *colon = dat_bitmap(art(f), GLYPHS + 38);
    EXPECT_LE(std::fabs(ink_middle(colon, 0, colon->h) - 5.5), 0.5) << f << ": \":\" off the middle of its cell";
  }
  // Each bonus icon's symbol against the face it is drawn on: within a
  // quarter of the icon's width from its middle every change of colour is
  // an edge of the symbol, and the weakest quarter of those edges must still
  // reach LEGIBLE.
  DATAFILE *bonus = art("bonus.dat");
  const RGB *bonus_pal = dat_palette(bonus, bonus_object::PALETTE);
  for (int k = 0; k < 9; ++k) {
    BITMAP *icon = dat_bitmap(bonus, bonus_object::ICONS + k);
    auto middle = [icon](int x, int y) {
      return std::hypot(x + 0.5 - icon->w / 2.0, y + 0.5 - icon->h / 2.0) <= icon->w / 4.0;
    };
    std::vector<double> edges;
    for (int y = 0; y < icon->h; ++y)
      for (int x = 0; x < icon->w; ++x)
        for (auto [nx, ny] : {std::pair{x + 1, y}, {x, y + 1}})
          if (int a = getpixel(icon, x, y), b = getpixel(icon, nx, ny); a != b && middle(x, y) && middle(nx, ny))
            edges.push_back(contrast(relative_luminance(bonus_pal[a]), relative_luminance(bonus_pal[b])));
    ASSERT_FALSE(edges.empty()) << "icon " << k << " shows no symbol";
    std::sort(edges.begin(), edges.end());
    EXPECT_GE(edges[edges.size() / 4], LEGIBLE) << "icon " << k;
  }
  // The option labels as the options screen dims them outside its
  // spotlight (light level 60), against its black; and in one line that
  // keeps clear of the marks and of the screen's bottom edge.
  DATAFILE *title = art("title.dat");
  RGB *options = dat_palette(title, title_object::OPTIONS_PALETTE);
  static COLOR_MAP light;
  use_palette(options);
  create_light_table(&light, options, 0, 0, 0, nullptr);
  const int place[5][3] = {{75, 20, 205}, {70, 65, 215}, {90, 106, 200}, {70, 155, 210}, {35, 192, 242}};
  for (int r = 0; r < 5; ++r) {
    BITMAP *label = dat_bitmap(title, title_object::OPTION_ROWS + 3 * r);
    double sum = 0;
    int n = 0, top = label->h, bottom = -1, right = -1;
    for (int y = 0; y < label->h; ++y)
      for (int x = 0; x < label->w; ++x)
        if (int v = getpixel(label, x, y); v) {
          top = std::min(top, y), bottom = std::max(bottom, y), right = std::max(right, x);
          if (v > 1) sum += relative_luminance(options[light.data[60][v]]), ++n;
        }
    EXPECT_GE(contrast(sum / std::max(n, 1), relative_luminance(options[0])), DIM_LABEL)
        << "option label " << r << " dimmed";
    EXPECT_LE(bottom - top, 24) << "option label " << r << " in more than one line";
    EXPECT_LT(place[r][0] + right, place[r][2] - 4) << "option label " << r << " runs into its mark";
    EXPECT_LE(place[r][1] + bottom, 240 - 6) << "option label " << r << " at the bottom edge";
  }
}
