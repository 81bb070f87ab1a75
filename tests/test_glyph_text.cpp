// Glyph text drawn with the real glyphs of the generated datafiles.
#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "render/glyph_text.h"
#include "screens/bonus_screen.h"
#include "tests/support/headless_game.h"

#include <utility>
#include <vector>

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
    unload_datafile(bonus_data);  // takes nullptr too
    level_data = bonus_data = nullptr;
    HeadlessTest::TearDown();
  }

  // True when glyph `object` of the set stands at (x, y) of the canvas;
  // pixels where the glyph is transparent must still be clear.
  bool glyph_at(DATAFILE *set, int object, int x, int y) {
    BITMAP *g = dat_bitmap(set, object);
    for (int j = 0; j < g->h; ++j)
      for (int i = 0; i < g->w && x + i < canvas->w; ++i)
        if (getpixel(canvas, x + i, y + j) != getpixel(g, i, j)) return false;
    return true;
  }

  bool blank(int from, int to) {
    for (int x = from; x < to; ++x)
      for (int y = 0; y < canvas->h; ++y)
        if (getpixel(canvas, x, y)) return false;
    return true;
  }
};

}  // namespace

TEST_F(GlyphTextTest, CharactersStandTwelveApartInGlyphOrderAndOthersTakeTheirPitchBlank) {
  struct Case {
    const char *text;
    int x;
    std::vector<std::pair<int, int>> glyphs;  // object, column
    int blank_from, blank_to;
  };
  const Case cases[] = {
      {"A0Z.", 5, {{45, 5}, {35, 17}, {70, 29}, {74, 41}}, 0, 5},
      {"1a-b2", 0, {{36, 0}, {37, 48}}, 12, 48},
      {"PERCENTAGE: 66%", 0, {{73, 120}, {72, 168}}, 132, 144},
      {"88", 312, {{43, 312}}, 0, 312},  // clipped at the right edge
  };
  for (const Case &c : cases) {
    clear(canvas);
    draw_glyph_text(canvas, c.x, 3, c.text);
    for (auto [object, column] : c.glyphs) EXPECT_TRUE(glyph_at(level_data, object, column, 3)) << c.text << " " << column;
    EXPECT_TRUE(blank(c.blank_from, c.blank_to)) << c.text;
  }
}

TEST_F(GlyphTextTest, BonusTextUsesTheBonusGlyphsWhileTheyAreLoaded) {
  draw_bonus_glyph_text(canvas, 0, 0, "WEAPON");
  EXPECT_TRUE(blank(0, 320));  // not loaded: nothing
  bonus_data = load_datafile("bonus.dat");
  ASSERT_NE(bonus_data, nullptr);
  draw_bonus_glyph_text(canvas, 28, 2, "LIFE EVERY 5000 POINTS");
  EXPECT_TRUE(glyph_at(bonus_data, 9 + 21, 28, 2));           // "L"
  EXPECT_TRUE(glyph_at(bonus_data, 9 + 5, 28 + 12 * 11, 2));  // "5"
  EXPECT_FALSE(glyph_at(level_data, 35 + 21, 28, 2));         // not the level's "L"
}
