// Placeholder game over: nothing to show yet.
#include "frame/game_over.h"

int game_over() { return 0; }
