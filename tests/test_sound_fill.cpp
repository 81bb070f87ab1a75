// The sound driver's buffer: the periods at rest, a period more after each
// underrun up to twice the rest, and a period less after each quiet
// minute, never below the rest; an underrun starts the minute again.
#include "platform/sound/sound_fill.h"
#include "platform/sys/monotonic_clock.h"

#include <gtest/gtest.h>

namespace {

constexpr long long SECOND = NS_PER_SECOND;

TEST(SoundFill, GrowsAfterUnderrunsAndShrinksAfterQuietMinutes) {
  EXPECT_EQ(sound_fill_start(1, 0).periods, 2);
  EXPECT_EQ(sound_fill_start(0, 0).rest, 2);

  SoundFill fill = sound_fill_start(3, 0);
  EXPECT_EQ(fill.periods, 3);
  EXPECT_FALSE(sound_fill_may_shrink(fill, 3600 * SECOND));  // at rest already
  for (int i = 0; i < 5; ++i) sound_fill_underran(fill, 10 * SECOND);
  EXPECT_EQ(fill.periods, 6);  // twice the rest at most

  EXPECT_FALSE(sound_fill_may_shrink(fill, 70 * SECOND - 1));
  EXPECT_TRUE(sound_fill_may_shrink(fill, 70 * SECOND));
  sound_fill_shrunk(fill, 75 * SECOND);
  EXPECT_EQ(fill.periods, 5);
  EXPECT_FALSE(sound_fill_may_shrink(fill, 134 * SECOND));  // a minute from the last change

  sound_fill_underran(fill, 100 * SECOND);
  EXPECT_EQ(fill.periods, 6);
  EXPECT_FALSE(sound_fill_may_shrink(fill, 159 * SECOND));
  for (long long t = 160; fill.periods > 3; t += 60) {
    ASSERT_TRUE(sound_fill_may_shrink(fill, t * SECOND));
    sound_fill_shrunk(fill, t * SECOND);
  }
  EXPECT_FALSE(sound_fill_may_shrink(fill, 3600 * SECOND));
  sound_fill_shrunk(fill, 3600 * SECOND);
  EXPECT_EQ(fill.periods, 3);  // never below the rest
}

}  // namespace
