// The palettes of the eight datafiles and the ramps that the art paints with.
//
// Every palette but the options screen's starts with the same sprite block
// (entries 0 to 119), so a sprite drawn once shows the same in the level,
// bonus, title and ending palettes:
//   0        black, transparent in sprites
//   1        black that is drawn (outlines)
//   2..39    the five shade ramps that effects and explosions look up with
//            makecol (red, green, grey, blue, orange), exactly
//   40..119  ten art ramps of eight shades, dark to bright
// The rest of each palette serves the file's own pictures.
#pragma once

#include "data/dat_writer.h"

#include <vector>

constexpr int TRANSPARENT = 0;
constexpr int BLACK = 1;

// A run of palette entries from dark to bright.
struct Ramp {
  int first, count;
  int at(int shade) const { return first + (shade < 0 ? 0 : shade >= count ? count - 1 : shade); }
  // Level 0..1 to the nearest shade.
  int level(float v) const;
};

// The five exact shade ramps (red has six distinct shades) ...
extern const Ramp RED_SHADES, GREEN_SHADES, GREY_SHADES, BLUE_SHADES, ORANGE_SHADES;
// ... and the art ramps.
extern const Ramp HULL, CYAN, GOLD, PURPLE, MAGENTA, LIME, CRIMSON, BROWN, TEAL, FLAME;

constexpr int SPRITE_BLOCK_END = 120;

// Fixed indices of the glow layer in the level palettes.
constexpr int GLOW_SHOT_OUTER = 220, GLOW_SHOT_INNER = 230;
constexpr int GLOW_RING_OUTER = 235, GLOW_RING_INNER = 245;

// The level background ramps (entries 120 to 167) of each group.
extern const Ramp SPACE_RAMP, NEBULA_RAMP, PLANET_RAMP;

// Smooth 64-step grey of the palettes used with depth stars.
extern const Ramp DEPTH_GREYS;
// Options screen: label, "on" and "off" ramps, for the light table, and the
// colours their bright parts take under the overlay's dim level: the light
// table finds its colours through the approximate colour lookup, which
// gives a grey for a dimmed colour with no entry near it.
extern const Ramp OPTION_LABEL, OPTION_ON, OPTION_OFF;
extern const Ramp OPTION_LABEL_DIM, OPTION_ON_DIM, OPTION_OFF_DIM;
constexpr int OPTIONS_DIM_LEVEL = 60;
// The part of the label and mark ramps (from this level up) that the
// pictures paint with, and so that the dim ramps stand for.
constexpr float OPTION_LABEL_LOWEST = 0.8f, OPTION_MARK_LOWEST = 0.25f;
// Title screen: background and logo ramps.
extern const Ramp TITLE_SPACE, TITLE_NEBULA, TITLE_PLANET, TITLE_LOGO;
constexpr int TITLE_VERSION_COLOUR = 250;
// Ending: the ramp of the closing title picture, and the worlds of the four
// level groups.
extern const Ramp ENDING_TITLE;
extern const Ramp ENDING_WORLDS[4];

// Sprite block entries, with everything after them black.
Palette sprite_block_palette();

// The background colours of a level group (0..3) in 120..167.
Palette level_base_palette(int group);
// Fills the free entries of a level palette with colours that the glow
// layer's translucent blend needs over this background, so that halos and
// rings show. `background` is the level's background picture.
void add_glow_blends(Palette &palette, const Bitmap8 &background);

Palette title_palette();
Palette options_palette();
Palette bonus_palette();
Palette ending_palette();

// Nearest entry to a colour among the given indices.
int nearest_index(const Palette &palette, const std::vector<int> &indices, Rgb colour);
