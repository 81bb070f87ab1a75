// Small helpers over the fixed record arrays of play.
#pragma once

#include <array>
#include <cstddef>

// Index of the lowest record whose `active` is 0, or -1 when all are busy.
template <typename Record, std::size_t N>
int first_free(const std::array<Record, N> &records) {
  for (std::size_t i = 0; i < N; ++i)
    if (records[i].active == 0) return static_cast<int>(i);
  return -1;
}

// -1, 0 or 1.
inline int sign_of(int value) { return (value > 0) - (value < 0); }
