#include "frame/command_line.h"

#include "frame/key_guide.h"

#include <getopt.h>

#include <cstdlib>
#include <cstring>

namespace {

enum Option {
  SCALE = 's', WINDOW = 'w', FULLSCREEN = 'f', HELP = 'h', VERSION = 'V',
  RECORD = 'r', PLAY = 'p', VERIFY = 'v', NO_FOCUS_PAUSE = 256,
};

const option long_options[] = {
    {"scale", required_argument, nullptr, SCALE},
    {"window", no_argument, nullptr, WINDOW},
    {"fullscreen", no_argument, nullptr, FULLSCREEN},
    {"help", no_argument, nullptr, HELP},
    {"version", no_argument, nullptr, VERSION},
    {"record", required_argument, nullptr, RECORD},
    {"play", required_argument, nullptr, PLAY},
    {"verify", required_argument, nullptr, VERIFY},
    {"no-focus-pause", no_argument, nullptr, NO_FOCUS_PAUSE},
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

// --play with --record: the file watched, and the one the player's take-over
// goes into.
bool take_over(CommandLine &line, Recording recording, const char *file) {
  bool both = (line.recording == Recording::Play && recording == Recording::Record) ||
              (line.recording == Recording::Record && recording == Recording::Play);
  if (!both) return false;
  line.take_over_file = recording == Recording::Record ? file : line.recording_file;
  if (recording == Recording::Play) line.recording_file = file;
  line.recording = Recording::Play;
  return true;
}

// --record, --play or --verify with its file; each once, and only --play
// and --record together.
std::string take_recording(CommandLine &line, Recording recording, const char *option, const char *file) {
  if (line.recording == recording || (recording == Recording::Record && !line.take_over_file.empty()))
    return std::string("--") + option + " given twice" + hint;
  if (!*file) return std::string("--") + option + " needs a file name" + hint;
  if (line.recording == Recording::None) {
    line.recording = recording;
    line.recording_file = file;
    return {};
  }
  if (take_over(line, recording, file)) return {};
  return std::string("--verify goes with neither --record nor --play") + hint;
}

// An option getopt_long did not take: unknown, or the start of more than
// one (--ver: --version or --verify).
std::string not_taken(const char *word) {
  std::string name = word;
  if (name.rfind("--", 0) == 0) {
    name = name.substr(2, name.find('=') == std::string::npos ? std::string::npos : name.find('=') - 2);
    std::string matches;
    int count = 0;
    for (const option *o = long_options; o->name; ++o)
      if (!name.empty() && std::strncmp(o->name, name.c_str(), name.size()) == 0) {
        matches += std::string(count++ ? " or --" : "--") + o->name;
      }
    if (count > 1) return "option '--" + name + "' is ambiguous: " + matches + hint;
  }
  return std::string("unknown option '") + word + "'" + hint;
}

}  // namespace

CommandLine parse_command_line(int argc, char **argv) {
  CommandLine line;
  optind = 0;  // from the start, whatever an earlier parse left
  opterr = 0;
  int option;
  while (line.error.empty() && (option = getopt_long(argc, argv, ":hV", long_options, nullptr)) != -1) {
    switch (option) {
      case SCALE:
        line.display_given = true;
        line.display.scale = scale_value(optarg);
        if (line.display.scale == 0) {
          line.error = "--scale takes a whole number from 1 to " + std::to_string(MAX_WINDOW_SCALE) + ", not '" +
                       optarg + "'" + hint;
          return line;
        }
        break;
      case WINDOW:
      case FULLSCREEN:
        line.display.fullscreen = option == FULLSCREEN;
        line.display_given = true;
        break;
      case NO_FOCUS_PAUSE: line.display.focus_pause = false; break;
      case HELP: line.help = true; break;
      case VERSION: line.version = true; break;
      case RECORD: line.error = take_recording(line, Recording::Record, "record", optarg); break;
      case PLAY: line.error = take_recording(line, Recording::Play, "play", optarg); break;
      case VERIFY: line.error = take_recording(line, Recording::Verify, "verify", optarg); break;
      case ':':
        line.error = std::string(argv[optind - 1]) + " needs a value" + hint;
        return line;
      default:
        line.error = not_taken(argv[optind - 1]);
        return line;
    }
  }
  if (line.error.empty() && optind < argc) line.error = std::string("unexpected argument '") + argv[optind] + "'" + hint;
  if (line.error.empty() && line.recording == Recording::Verify && line.display_given)
    line.error = std::string("--verify shows nothing, so --scale, --window and --fullscreen do not go with it") + hint;
  return line;
}

namespace {

const char options_text[] =
    "Usage: swarmfire [OPTION]...\n"
    "An arcade shooter: steer your ship along the bottom of the screen and shoot\n"
    "the swarm of enemies above.\n"
    "\n"
    "  --scale N      a window at N times the 320x240 picture (1 to 8), lowered to\n"
    "                 what the monitor holds; by default the largest that fits\n"
    "                 within 85% of the desktop\n"
    "  --window       start in a window (the default)\n"
    "  --fullscreen   start fullscreen, at the desktop's own resolution\n"
    "  --record FILE  record the game into FILE as it is played\n"
    "  --play FILE    show the game recorded in FILE as it happened, with its\n"
    "                 sound, in the display it was recorded in unless one is\n"
    "                 given, with the keys of a video (below); Esc or the\n"
    "                 close button stops it\n"
    "  --play OLD --record NEW\n"
    "                 watch OLD, and take over with Return: NEW holds OLD's\n"
    "                 inputs up to there and yours after it (if OLD ends\n"
    "                 first, NEW is not written)\n"
    "  --verify FILE  replay FILE without display or sound, as fast as possible,\n"
    "                 and print its score, level, frames, steps, world hash and\n"
    "                 length, with \"ok\" when they are the recorded ones\n"
    "                 (status 0)\n"
    "  --no-focus-pause\n"
    "                 play on when the window loses the keyboard focus (to a\n"
    "                 second screen, say): no pause, and a gamepad keeps\n"
    "                 playing; the keyboard's keys go to the focused window\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n";

}  // namespace

std::string usage_text() { return options_text + key_guide_text(); }
