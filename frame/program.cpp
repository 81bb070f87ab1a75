#include "frame/program.h"

#include "frame/frame_stats.h"
#include "frame/game_state.h"
#include "frame/level_start.h"
#include "frame/play_loops.h"
#include "frame/program_services.h"
#include "frame/replay_snapshots.h"
#include "frame/resources.h"
#include "platform/platform.h"
#include "render/turned_picture.h"
#include "screens/title.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

BITMAP *back_buffer = nullptr;
BITMAP *glow_layer = nullptr;
DATAFILE *sound_data = nullptr;

void timer_tick() { game_ticks.fetch_add(1); }

namespace {

GameFigures last_game;
bool in_game = false;
bool ended_cleanly = false;

// With SWARMFIRE_FIRST_FRAME_LOG set, the moment the first frame (the
// title's) is on the screen goes to stderr as the system clock, with the
// processor time spent so far, so that a script can time the start-up from
// exec.
void log_first_frame() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!std::getenv("SWARMFIRE_FIRST_FRAME_LOG")) return;
  timespec now, used;
  clock_gettime(CLOCK_REALTIME, &now);
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  std::fprintf(stderr, "swarmfire: first frame presented after %.1f ms of CPU at %lld.%09ld\n",
               used.tv_sec * 1e3 + used.tv_nsec / 1e6, static_cast<long long>(now.tv_sec),
               now.tv_nsec);
}

}  // namespace

void present_frame() {
  platform_present(back_buffer);
  note_frame_presented();
  log_first_frame();
}

std::string start_up() { return platform_start_up(); }

int set_video_mode(const DisplayRequest &request) {
  return platform_open_display(request) == 0 ? 0 : 1;
}

void shut_down() { platform_shut_down(); }

void start_demo() {
  demo_mode = DEMO_RUNNING;
  run_demo();
  demo_mode = DEMO_OFF;
}

void play_effect(int object, int volume, int frequency) {
  platform_play_sample(object, volume, 128, frequency, 0);
}

namespace {

void switch_all_options_on() {
  option_glow = option_scroll = option_music = option_stars = 1;
  option_shot_collisions = option_effects = option_background = 1;
}


void play_one_game() {
  in_game = true;
  run_game();
  in_game = false;
  last_game = {player.score, level};
}

}  // namespace

bool program_ended_cleanly() { return ended_cleanly; }

GameFigures last_game_figures() { return in_game ? GameFigures{player.score, level} : last_game; }

bool act_on_title_choice(int choice) {
  if (choice == TITLE_QUIT) return false;
  if (choice == TITLE_START_GAME || choice == TITLE_DEMO) {
    if (!resuming()) {
      platform_fade_out(16);
      platform_clear_screen();
    }
    if (choice == TITLE_START_GAME)
      play_one_game();
    else
      start_demo();
  }
  return true;
}

void closing_zoom(BITMAP *closing) {
  blit(platform_screen(), closing, 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  zoom_picture_away(closing);
}

namespace {

// What the program holds from start-up to shutdown: the drawing surfaces,
// the closing picture and "sound.dat". back_buffer, glow_layer and
// sound_data are views of it, and the level's graphics set is let go with
// it.
struct ProgramMemory {
  OwnedBitmap back, glow, closing;
  OwnedDatafile sound;

  ProgramMemory() = default;
  ProgramMemory(const ProgramMemory &) = delete;
  ProgramMemory &operator=(const ProgramMemory &) = delete;
  ~ProgramMemory() {
    back_buffer = glow_layer = nullptr;
    platform_set_sound_bank(nullptr);
    sound_data = nullptr;
    release_level_data();
  }
};

// The surfaces are made before the display is opened.
void make_drawing_surfaces(ProgramMemory &memory) {
  memory.back = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  memory.glow = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  back_buffer = memory.back.get();
  glow_layer = memory.glow.get();
  clear(back_buffer);
}

int run_program(ProgramMemory &memory, const DisplayRequest &display) {
  count_from_start();
  std::string problem = start_up();
  if (!problem.empty()) {
    std::fprintf(stderr, "swarmfire: %s\n", problem.c_str());
    return 1;
  }
  make_drawing_surfaces(memory);
  if (set_video_mode(display) != 0) {
    std::fprintf(stderr, "swarmfire: cannot open a window or set a 320x240 or 640x480 video mode: %s\n",
                 platform_last_error().c_str());
    return 1;
  }
  memory.closing = new_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT);
  memory.sound = load_game_datafile(SOUND_FILE);
  sound_data = memory.sound.get();
  platform_set_sound_bank(sound_data);
  switch_all_options_on();
  demo_mode = DEMO_OFF;
  last_game = {};
  in_game = false;

  // A watched replay going on from a kept state goes straight to its game.
  int choice = resuming() ? resumed_title_choice() : show_title_screen();
  while (act_on_title_choice(choice)) choice = show_title_screen();

  closing_zoom(memory.closing.get());
  platform_clear_screen();
  platform_clear_keybuf();
  platform_set_desktop_palette();
  return 0;
}

}  // namespace

int game_main(const DisplayRequest &display) {
  int status = 1;
  ended_cleanly = false;
  {
    ProgramMemory memory;
    try {
      status = run_program(memory, display);
      ended_cleanly = status == 0;
    } catch (const QuitRequested &quit) {
      // The window was closed, or it or the display went away, or a signal
      // came: leave from wherever the game was.
      status = quit.status;
      if (!quit.why.empty()) std::fprintf(stderr, "swarmfire: %s; stopping\n", quit.why.c_str());
      ended_cleanly = true;
    } catch (const MissingData &missing) {
      // As the start-up check reports it: the file and what is wrong with it.
      // The recording keeps where, and ends whole.
      std::fprintf(stderr, "swarmfire: %s: %s\n", missing.file.c_str(), missing.problem.c_str());
      ended_cleanly = true;
    } catch (const MissingObject &missing) {
      std::fprintf(stderr, "swarmfire: %s\n", missing_object_problem(missing).c_str());
    } catch (const BitmapFailure &failure) {
      std::fprintf(stderr, "swarmfire: cannot create a %dx%d bitmap (out of memory); stopping\n",
                   failure.width, failure.height);
    } catch (const DisplayLost &lost) {
      std::fprintf(stderr, "swarmfire: %s; stopping\n", lost.why.c_str());
      ended_cleanly = true;
    }
    // The last frame's picture is saved before the memory is let go.
    write_frame_reports();
  }
  shut_down();
  return status;
}
