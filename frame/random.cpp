#include "frame/random.h"

#include "frame/game_state.h"

int random_number() {
  random_state = random_state * 214013u + 2531011u;
  ++random_draws;
  return static_cast<int>((random_state >> 16) & 0x7fff);
}
