// What the system tells the program of where it runs: its environment
// variables, its own binary, and the player's home and pictures folders.
// Names and values in UTF-8.
#pragma once

#include <string>

// The variable's value; empty when it is not set.
std::string environment(const char *name);

// The running binary's full name; empty when it cannot be told.
std::string executable_path();

// The player's home folder, and their pictures folder (the desktop's, or
// the system's); empty when there is none.
std::string home_folder();
std::string pictures_folder();
