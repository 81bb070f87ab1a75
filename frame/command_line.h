// The command line: options read with getopt_long before anything else, so
// that --help, --version and a bad option answer without a display.
#pragma once

#include "platform/platform.h"

#include <string>

// The game's version, as --version shows it and recordings keep it.
constexpr char GAME_VERSION[] = "1.0";

// What the game does with a recording file.
enum class Recording { None, Record, Play, Verify };

struct CommandLine {
  DisplayRequest display;
  bool display_given = false;  // --scale, --window or --fullscreen
  Recording recording = Recording::None;
  std::string recording_file;
  std::string take_over_file;  // --record with --play: the player's take-over
  bool help = false;
  bool version = false;
  std::string error;  // a bad option: the one line to print
};

CommandLine parse_command_line(int argc, char **argv);
std::string usage_text();  // the options, then the keys (frame/key_guide.h)
