// Where the game finds its eight datafiles, so that an installed game runs
// from any working directory and a game in its build tree from its data
// folder.
#pragma once

#include <string>

// The folder the datafiles are read from, looked for at every call, first
// match wins:
//   1. $SWARMFIRE_DATA, when set and not empty (taken as it is);
//   2. the working directory, when it holds any of the eight datafiles;
//   3. the installed data folder beside the binary (the games folder's
//      ../share/games/swarmfire), when it holds any of them, so that a game
//      unpacked or installed under another root finds its own data;
//   4. the data folder compiled in (SWARMFIRE_INSTALLED_DATA_DIR).
// Folders 2 to 4 are given as absolute paths.
std::string data_folder();

// One datafile in that folder, e.g. data_path("title.dat").
std::string data_path(const char *file);
