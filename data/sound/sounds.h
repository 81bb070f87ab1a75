// The samples of "sound.dat", by object number.
#pragma once

#include "data/dat_writer.h"

#include <string>

constexpr int SOUND_OBJECTS = 20;

// The sample at a position of "sound.dat", and its name.
Sample16 sound_sample(int object);
std::string sound_name(int object);

// Defined in tunes.cpp.
Sample16 background_tune();
Sample16 game_over_tune();
