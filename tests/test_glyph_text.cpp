// Glyph text drawn with the real glyphs of the generated datafiles.
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "screens/glyph_text.h"
#include "tests/support/headless_game.h"

#include <cstring>

namespace {

class GlyphTextTest : public HeadlessTest {
 protected:
  BITMAP *canvas = nullptr;

  void SetUp() override {
    HeadlessTest::SetUp();
    level_data = load_datafile("level1.dat");
    ASSERT_NE(level_data, nullptr);
    canvas = create_bitmap(320, 40);
    clear(canvas);
  }
  void TearDown() override {
    destroy_bitmap(canvas);
    unload_datafile(level_data);
    level_data = nullptr;
    if (bonus_data) unload_datafile(bonus_data);
    bonus_data = nullptr;
    HeadlessTest::TearDown();
  }

  BITMAP *glyph(DATAFILE *set, int object) { return dat_bitmap(set, object); }

  // True when the glyph's pixels stand at (x, y) of the canvas; pixels
  // where the glyph is transparent must still be clear.
  bool glyph_at(BITMAP *g, int x, int y) {
    for (int j = 0; j < g->h; ++j)
      for (int i = 0; i < g->w; ++i) {
        if (x + i >= canvas->w) continue;
        if (getpixel(canvas, x + i, y + j) != getpixel(g, i, j)) return false;
      }
    return true;
  }

  int lit_columns(int from, int to) {
    int lit = 0;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < canvas->h; ++y)
        if (getpixel(canvas, x, y)) {
          ++lit;
          break;
        }
    return lit;
  }
};

}  // namespace

TEST_F(GlyphTextTest, CharactersStandTwelvePixelsApartInGlyphOrder) {
  draw_glyph_text(canvas, 5, 3, "A0Z.");
  EXPECT_TRUE(glyph_at(glyph(level_data, 45), 5, 3));   // "A"
  EXPECT_TRUE(glyph_at(glyph(level_data, 35), 17, 3));  // "0"
  EXPECT_TRUE(glyph_at(glyph(level_data, 70), 29, 3));  // "Z"
  EXPECT_TRUE(glyph_at(glyph(level_data, 74), 41, 3));  // "."
}

TEST_F(GlyphTextTest, SpacesAndUnknownCharactersTakeTheirPitchAndDrawNothing) {
  draw_glyph_text(canvas, 0, 0, "G A M E   O V E R");
  EXPECT_TRUE(glyph_at(glyph(level_data, 35 + 16), 0, 0));    // "G"
  EXPECT_TRUE(glyph_at(glyph(level_data, 35 + 27), 192, 0));  // "R", 16 pitches on
  EXPECT_EQ(lit_columns(60, 72), 0);                           // the gap between the words
  clear(canvas);
  draw_glyph_text(canvas, 0, 0, "1a-b2");
  EXPECT_TRUE(glyph_at(glyph(level_data, 36), 0, 0));
  EXPECT_EQ(lit_columns(12, 48), 0);
  EXPECT_TRUE(glyph_at(glyph(level_data, 37), 48, 0));
}

TEST_F(GlyphTextTest, APercentageEndsInThePerCentGlyph) {
  char line[40];
  std::snprintf(line, sizeof line, "PERCENTAGE: %d%%", 66);
  draw_glyph_text(canvas, 0, 10, line);
  int last = int(std::strlen(line)) - 1;
  EXPECT_TRUE(glyph_at(glyph(level_data, 72), 12 * last, 10));
  EXPECT_TRUE(glyph_at(glyph(level_data, 73), 12 * (last - 4), 10));  // ":"
}

TEST_F(GlyphTextTest, EmptyTextTouchesNothingAndTheRightEdgeClips) {
  draw_glyph_text(canvas, 0, 0, "");
  EXPECT_EQ(lit_columns(0, 320), 0);
  draw_glyph_text(canvas, 312, 0, "88");
  EXPECT_TRUE(glyph_at(glyph(level_data, 43), 312, 0));
  EXPECT_GT(lit_columns(312, 320), 0);
}

TEST_F(GlyphTextTest, TheGlyphsFollowTheLevelDatafile) {
  draw_glyph_text(canvas, 0, 0, "LEVEL 4");
  BITMAP *before = create_bitmap(320, 40);
  blit(canvas, before, 0, 0, 0, 0, 320, 40);
  unload_datafile(level_data);
  level_data = load_datafile("level4.dat");
  ASSERT_NE(level_data, nullptr);
  clear(canvas);
  draw_glyph_text(canvas, 0, 0, "LEVEL 4");
  EXPECT_TRUE(glyph_at(glyph(level_data, 35 + 21), 0, 0));
  int differ = 0;
  for (int x = 0; x < 84; ++x)
    for (int y = 0; y < 14; ++y) differ += getpixel(canvas, x, y) != getpixel(before, x, y);
  EXPECT_GT(differ, 50);
  destroy_bitmap(before);
}

TEST_F(GlyphTextTest, BonusTextUsesTheBonusGlyphsWhileTheyAreLoaded) {
  draw_bonus_glyph_text(canvas, 0, 0, "WEAPON");
  EXPECT_EQ(lit_columns(0, 320), 0);  // not loaded: nothing
  bonus_data = load_datafile("bonus.dat");
  ASSERT_NE(bonus_data, nullptr);
  draw_bonus_glyph_text(canvas, 28, 2, "LIFE EVERY 5000 POINTS");
  EXPECT_TRUE(glyph_at(glyph(bonus_data, 9 + 21), 28, 2));           // "L"
  EXPECT_TRUE(glyph_at(glyph(bonus_data, 9 + 5), 28 + 12 * 11, 2));  // "5"
  EXPECT_FALSE(glyph_at(glyph(level_data, 35 + 21), 28, 2));         // not the level's "L"
}
