// Standard input, output and error as a program started by a launcher may
// find them: closed. A closed one is opened on /dev/null before anything
// else, so that no file the program opens later (the X connection, a
// recording) takes its number and receives what a library writes there.
#pragma once

#include <string>

// At the very start of main.
void standard_streams_open();

// After printing to standard output: empty when everything printed reached
// it, else why not (the system's reason; "Bad file descriptor" when it was
// closed at the start).
std::string standard_output_problem();

// The program's arguments in UTF-8, as the game takes every text (Windows
// hands main its own code page's).
void arguments_in_utf8(int &argc, char **&argv);
