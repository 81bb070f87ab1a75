// Renders every screen of the game into a gallery:
//   make_gallery GALLERY_DIR SHEETS_DIR SOUNDS_DIR
// run from the folder with the datafiles. SHEETS_DIR and SOUNDS_DIR are
// linked from the index, relative to GALLERY_DIR. Exit status 1 when a
// picture could not be made.
#include "data/gallery/gallery.h"

#include "frame/program.h"
#include "frame/program_services.h"
#include "platform/headless/headless_controls.h"
#include "platform/platform.h"

#include <allegro.h>

#include <cstdio>
#include <sys/stat.h>

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_gallery GALLERY_DIR SHEETS_DIR SOUNDS_DIR\n");
    return 2;
  }
  std::string folder = argv[1];
  mkdir(folder.c_str(), 0755);
  mkdir((folder + "/1x").c_str(), 0755);
  set_gallery_folder(folder);

  headless::init_library();
  platform_start_up();
  back_buffer = create_bitmap(320, 240);
  glow_layer = create_bitmap(320, 240);
  clear(back_buffer);
  set_video_mode();
  sound_data = load_datafile("sound.dat");
  if (!sound_data) {
    std::fprintf(stderr, "make_gallery: run me where the datafiles are\n");
    return 1;
  }
  platform_set_sound_bank(sound_data);
  title_scenes();
  level_scenes();
  int missed = SceneScript::missed();
  if (!write_sprite_sheets(folder)) {
    std::fprintf(stderr, "make_gallery: cannot write the sprite sheets\n");
    ++missed;
  }
  for (const char *prefix : {"title", "options", "level", "pause", "game", "final", "ending", "bonus"})
    write_overview(std::string("overview_") + prefix + ".png", prefix);
  if (!write_index(folder, argv[2], argv[3])) {
    std::fprintf(stderr, "make_gallery: cannot write the index\n");
    return 1;
  }
  std::printf("make_gallery: %zu pictures in %s\n", saved_pictures().size(), folder.c_str());
  return missed ? 1 : 0;
}
