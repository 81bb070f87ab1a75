#include "platform/sound/sound_fill.h"

#include <algorithm>

SoundFill sound_fill_start(int rest_periods, long long now) {
  SoundFill fill;
  fill.rest = fill.periods = std::max(rest_periods, 2);
  fill.quiet_since = now;
  return fill;
}

void sound_fill_underran(SoundFill &fill, long long now) {
  fill.periods = std::min(fill.periods + 1, 2 * fill.rest);
  fill.quiet_since = now;
}

bool sound_fill_may_shrink(const SoundFill &fill, long long now) {
  return fill.periods > fill.rest && now - fill.quiet_since >= SOUND_QUIET_NS;
}

void sound_fill_shrunk(SoundFill &fill, long long now) {
  fill.periods = std::max(fill.periods - 1, fill.rest);
  fill.quiet_since = now;
}
