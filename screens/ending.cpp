#include "screens/ending.h"

#include "frame/catalogue.h"
#include "frame/game_state.h"
#include "frame/program_services.h"
#include "frame/random.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/turned_picture.h"
#include "screens/depth_stars.h"
#include "screens/palette_screen.h"

DATAFILE *ending_data = nullptr;

namespace {

BITMAP *picture(int n) { return dat_bitmap(ending_data, n); }

// A picture that left the screen comes back at the left or right edge,
// moving inwards, at a new height; its vertical drift stays.
void reenter(EndingSprite &s) {
  if (random_number() % 10 > 4) {
    s.x = 0;
    s.dx = random_number() % 3;
    if (s.dx == 0) s.dx = 1;
  } else {
    s.x = PICTURE_WIDTH;
    s.dx = -(random_number() % 3);
    if (s.dx == 0) s.dx = -1;
  }
  s.y = random_number() % PICTURE_HEIGHT;
}

// Every four frames the pictures turn 4 units and the title grows by 0.01
// until it passes full size.
void advance_spin() {
  if (++ending_spin_tick == 4) {
    ending_spin += 4;
    if (ending_title_scale < 1.0) ending_title_scale = static_cast<float>(ending_title_scale + 0.01);
    ending_spin_tick = 0;
  }
  if (ending_spin > 256) ending_spin = 0;
}

// The 131 x 23 title at its scale, centred on the screen.
void draw_title_picture(BITMAP *bitmap) {
  float w = ending_title_scale * 131;
  float h = ending_title_scale * 23;
  int x = static_cast<int>((PICTURE_WIDTH - w) * 0.5);
  int y = static_cast<int>((PICTURE_HEIGHT - h) * 0.5);
  stretch_sprite(bitmap, picture(ending_object::TITLE), x, y, static_cast<int>(w), static_cast<int>(h));
}

}  // namespace

void init_ending_sprites() {
  for (EndingSprite &s : ending_sprites) {
    s.x = random_number() % PICTURE_WIDTH;
    s.y = random_number() % PICTURE_HEIGHT;
    s.dx = random_number() % 3;
    s.dy = random_number() % 3;
  }
  ending_title_scale = 0.05f;
}

void draw_ending(BITMAP *bitmap) {
  advance_spin();
  for (int k = 0; k < 8; ++k)
    rotate_sprite(bitmap, picture(ending_object::PICTURES + k), ending_sprites[k].x,
                  ending_sprites[k].y, itofix(ending_spin));
  draw_title_picture(bitmap);
}

void move_ending_sprites() {
  for (EndingSprite &s : ending_sprites) {
    s.x += s.dx;
    s.y += s.dy;
    if (s.x < 0 || s.y < 0 || s.x > PICTURE_WIDTH || s.y > PICTURE_HEIGHT) reenter(s);
  }
}

void show_ending() {
  OwnedBitmap snapshot;
  {
    HeldDatafile held(ending_data, ENDING_FILE);
    snapshot = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
    fade_into_palette(dat_palette(ending_data, ending_object::PALETTE));
    init_ending_sprites();
    init_depth_stars();
    platform_clear_keybuf();
    do {
      clear(back_buffer);
      step_depth_stars();
      draw_depth_stars(back_buffer);
      draw_ending(back_buffer);
      move_ending_sprites();
      present_frame();
    } while (!platform_keypressed());
  }  // the pictures are unloaded before the closing zoom
  blit(back_buffer, snapshot.get(), 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  zoom_picture_away(snapshot.get());
}
