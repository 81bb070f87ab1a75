// The command line: options read with getopt_long before anything else, so
// that --help, --version and a bad option answer without a display.
#pragma once

#include "platform/platform.h"

#include <string>

struct CommandLine {
  DisplayRequest display;
  bool help = false;
  bool version = false;
  std::string error;  // a bad option: the one line to print
};

CommandLine parse_command_line(int argc, char **argv);
const char *usage_text();
