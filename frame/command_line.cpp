#include "frame/command_line.h"

#include <getopt.h>

#include <cstdlib>

namespace {

enum Option { SCALE = 's', WINDOW = 'w', FULLSCREEN = 'f', HELP = 'h', VERSION = 'V' };

const option long_options[] = {
    {"scale", required_argument, nullptr, SCALE},
    {"window", no_argument, nullptr, WINDOW},
    {"fullscreen", no_argument, nullptr, FULLSCREEN},
    {"help", no_argument, nullptr, HELP},
    {"version", no_argument, nullptr, VERSION},
    {nullptr, 0, nullptr, 0},
};

const char hint[] = " (see swarmfire --help)";

// A whole number from 1 to MAX_WINDOW_SCALE, or 0.
int scale_value(const char *text) {
  char *end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text || *end || value < 1 || value > MAX_WINDOW_SCALE) return 0;
  return static_cast<int>(value);
}

}  // namespace

CommandLine parse_command_line(int argc, char **argv) {
  CommandLine line;
  optind = 0;  // from the start, whatever an earlier parse left
  opterr = 0;
  int option;
  while ((option = getopt_long(argc, argv, ":", long_options, nullptr)) != -1) {
    switch (option) {
      case SCALE:
        line.display.scale = scale_value(optarg);
        if (line.display.scale == 0) {
          line.error = std::string("--scale takes a whole number from 1 to 8, not '") + optarg + "'" + hint;
          return line;
        }
        break;
      case WINDOW: line.display.fullscreen = false; break;
      case FULLSCREEN: line.display.fullscreen = true; break;
      case HELP: line.help = true; break;
      case VERSION: line.version = true; break;
      case ':':
        line.error = std::string(argv[optind - 1]) + " needs a value" + hint;
        return line;
      default:
        line.error = std::string("unknown option '") + argv[optind - 1] + "'" + hint;
        return line;
    }
  }
  if (optind < argc) line.error = std::string("unexpected argument '") + argv[optind] + "'" + hint;
  return line;
}

const char *usage_text() {
  return "Usage: swarmfire [OPTION]...\n"
         "An arcade shooter: steer your ship along the bottom of the screen and shoot\n"
         "the swarm of enemies above.\n"
         "\n"
         "  --scale N      a window at N times the 320x240 picture (1 to 8); by default\n"
         "                 the largest that fits within 85% of the desktop\n"
         "  --window       start in a window (the default)\n"
         "  --fullscreen   start fullscreen, at the desktop's own resolution\n"
         "  --help         show this help and exit\n"
         "  --version      show the version and exit\n"
         "\n"
         "Keys: Left and Right steer; Alt, Space or Left Ctrl fire and select;\n"
         "Up and Down move through the menus; P pauses and resumes; F12 saves a\n"
         "screenshot (dump.pcx); Esc ends the game or leaves the options;\n"
         "F11 switches between the window and fullscreen at any moment.\n"
         "The game pauses when its window loses the keyboard focus.\n";
}
