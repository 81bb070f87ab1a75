// What must hold after every tick of play, whatever happened in it.
#pragma once

#include <string>

// Empty when every count agrees with its records and every counter and
// coordinate lies in its range; otherwise what is wrong.
std::string world_fault();

