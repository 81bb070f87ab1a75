// How many periods the driver keeps in the card's buffer: as many as asked
// for at rest, a period more after each underrun (up to twice as many),
// and a period less after each quiet minute, down to the rest again. The
// driver keeps the buffer full, and sleeps until the card has played a
// period of it.
#pragma once

struct SoundFill {
  int rest = 0;              // periods at rest, at least two
  int periods = 0;           // periods in the buffer now
  long long quiet_since = 0; // ns: the last underrun or change
};

// Quiet this long, the buffer may shrink by a period.
constexpr long long SOUND_QUIET_NS = 60'000'000'000LL;

SoundFill sound_fill_start(int rest_periods, long long now);

// After the card ran dry: a period more.
void sound_fill_underran(SoundFill &fill, long long now);

// Whether the buffer may shrink by a period now (a quiet minute since the
// last change); it shrinks when the driver says it did.
bool sound_fill_may_shrink(const SoundFill &fill, long long now);
void sound_fill_shrunk(SoundFill &fill, long long now);
