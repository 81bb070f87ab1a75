// The frame of the program: start-up, the title-to-play dispatch, the closing
// zoom and shutdown; the 60 Hz tick counter and frame presentation. What
// play needs of it is in frame/program_services.h.
#pragma once

#include "frame/program_services.h"
#include "platform/platform.h"

#include <allegro.h>

#include <atomic>
#include <string>

extern DATAFILE *sound_data;  // "sound.dat", held for the whole run

// Empty when the library started, else why it did not.
std::string start_up();
// 0 when a display is open: the window (or fullscreen) asked for, or a
// fallback down to 320 x 240 or 640 x 480; non-zero when none could be set.
// back_buffer and glow_layer must be there first (game_main makes them).
int set_video_mode(const DisplayRequest &request = {});
void shut_down();
void start_demo();

// Acts on a result of the title screen (a TitleChoice): a game or the
// demo, then true to show the title again; false for quit. Other values
// only bring the title back.
bool act_on_title_choice(int choice);

// The last picture on the screen turns and grows away: 51 frames for the
// scales 1.0 to about 6.0, each on black (zoom_picture_away).
void closing_zoom(BITMAP *closing);

// The whole program, from start-up to shutdown; the exit status.
int game_main(const DisplayRequest &display = {});
// Whether the last game_main ended cleanly: quit from the title, or stopped
// at a wait (the close button, the window or display gone, a signal); not
// by a failure.
bool program_ended_cleanly();

// The score and level reached of the last game of the run (the one still
// played when the program stopped, if any); 0 and 0 before any game.
struct GameFigures {
  int score = 0;
  int level = 0;
};
GameFigures last_game_figures();
