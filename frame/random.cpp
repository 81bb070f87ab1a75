#include "frame/random.h"

uint32_t random_state = 1;
uint64_t random_draws = 0;

int random_number() {
  random_state = random_state * 214013u + 2531011u;
  ++random_draws;
  return static_cast<int>((random_state >> 16) & 0x7fff);
}
