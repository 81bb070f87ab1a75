// Where the game finds its eight datafiles, so that an installed game runs
// from any working directory and a game in its build tree from anywhere.
#pragma once

#include <string>
#include <vector>

// The folder the datafiles are read from, looked for at every call:
//   1. $SWARMFIRE_DATA, when set and not empty: an explicit choice, taken as
//      it is (the start-up check then says what that folder lacks);
//   2. else the first of data_folders_to_try() where all eight can be read
//      (regular files this user may open), so that a stray or unreadable
//      file named like one of them does not take over;
//   3. else the last of them, the configured install folder.
std::string data_folder();

// The folders looked in, in order, for a binary at this path run in this
// working directory: the working directory (make play runs from
// build/data); the build's own data folder beside the binary (<build>/data,
// so that build/swarmfire finds it from anywhere); the installed data
// folder as seen from the binary (games/../share/games/swarmfire, for an
// installed tree unpacked or staged elsewhere); the data folder compiled in
// (SWARMFIRE_INSTALLED_DATA_DIR). Absolute, without repeats.
std::vector<std::string> data_folders_to_try(const std::string &binary,
                                             const std::string &working_directory);

// The first folder of the list where all eight datafiles can be read;
// empty when none.
std::string folder_holding_all(const std::vector<std::string> &folders);

// Empty when data_folder() holds all eight or is a folder named by
// SWARMFIRE_DATA; else one line: why that is no folder, or the folders
// tried, each with the first file it lacks or cannot read and why.
std::string data_folder_problem();

// One datafile in that folder, e.g. data_path("title.dat").
std::string data_path(const char *file);
