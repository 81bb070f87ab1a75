// The gallery: every screen of the game at its characteristic moment, driven
// headless through the platform seam and saved as PNG (twice the size, and
// at 1x in a subfolder), with an index page.
#pragma once

#include "platform/headless/key_script.h"

#include <string>
#include <vector>

struct GalleryPicture {
  std::string file;     // without folder, e.g. "title_start.png"
  std::string caption;
  std::string section;
};

// Saves what the twin's screen shows now, in the palette on show.
void save_screen(const std::string &name, const std::string &caption, const std::string &section);
const std::vector<GalleryPicture> &saved_pictures();
void set_gallery_folder(const std::string &folder);
// All 1x pictures whose file starts with `prefix`, four to a row, in one
// picture of the gallery folder.
bool write_overview(const std::string &name, const std::string &prefix);

// Starts a scene: a clean twin (frame count 0) with a 320 x 240 screen.
void begin_scene();

// Keys and captures for one scene, by frames counted from `base` (the
// frames already presented when the script is made).
class SceneScript {
 public:
  SceneScript();
  SceneScript &hold(int scancode, long first, long last);
  SceneScript &press(int scancode, long frame);
  SceneScript &press_on_key_wait(int scancode);
  SceneScript &capture(long frame, const std::string &name, const std::string &caption,
                       const std::string &section);
  void install();
  // Captures that failed or never came (the scene ended first).
  static int missed();

  struct Capture {
    long frame;
    std::string name, caption, section;
  };

 private:
  long base_;
  int key_on_wait_ = 0;
  KeyScript keys_;
  std::vector<Capture> captures_;
};

// The scenes. The play scenes go through the twelve levels in order and
// stop on the way for the pause, the results, the game over and the ending,
// each over the level graphics it belongs with.
void title_scenes();
void level_scenes();
void pause_scene();
void level_results_scene();
void game_over_scenes();
void ending_scene();

// Sprite sheets of the level datafiles and the ending, enlarged, into the
// gallery folder (sprites_*.png); false when one could not be made.
bool write_sprite_sheets(const std::string &folder);

// Writes index.html into the gallery folder, linking the contact sheets and
// sounds of `sheets` and `sounds` (relative to the gallery folder).
bool write_index(const std::string &folder, const std::string &sheets, const std::string &sounds);
