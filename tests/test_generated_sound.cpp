// The generated sounds as the game plays them, and the generator's output
// byte for byte against what the build wrote.
#include "data/datafiles.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<int> values_of(SAMPLE *s) {
  std::vector<int> v;
  for (unsigned long i = 0; i < s->len; ++i) v.push_back(int(static_cast<uint16_t *>(s->data)[i]) - 32768);
  return v;
}

int peak_of(const std::vector<int> &v) {
  int p = 0;
  for (int x : v) p = std::max(p, std::abs(x));
  return p;
}

class GeneratedSoundTest : public ::testing::Test {
 protected:
  DATAFILE *sound = nullptr;
  void SetUp() override {
    headless::init_library();
    sound = load_datafile("sound.dat");
    ASSERT_NE(sound, nullptr);
  }
  void TearDown() override { unload_datafile(sound); }
  SAMPLE *sample(int n) { return static_cast<SAMPLE *>(sound[n].dat); }
  double seconds(int n) { return double(sample(n)->len) / sample(n)->freq; }
};

}  // namespace

TEST_F(GeneratedSoundTest, EffectsAreShortAudibleAndNeverClip) {
  for (int n = 0; n <= 19; ++n) {
    if (n == 6) continue;  // not used by the game
    ASSERT_EQ(sound[n].type, DAT_SAMPLE) << n;
    SAMPLE *s = sample(n);
    EXPECT_EQ(s->bits, 16);
    EXPECT_EQ(s->stereo, 0);
    EXPECT_EQ(s->freq, 22050);
    std::vector<int> v = values_of(s);
    int peak = peak_of(v);
    EXPECT_LT(peak, 32767) << "object " << n << " reaches full scale";
    EXPECT_GT(peak, 32767 / 4) << "object " << n << " is below -12 dBFS";
    if (n != 7 && n != 8) {
      EXPECT_LE(seconds(n), 1.5) << "effect " << n;
      EXPECT_GE(seconds(n), 0.03) << "effect " << n;
      // Effects end in silence rather than a click.
      EXPECT_LT(std::abs(v.back()), 600) << "effect " << n;
    }
  }
  // The volley is played many times a second: the quietest, and short.
  EXPECT_LE(seconds(19), 0.2);
}

TEST_F(GeneratedSoundTest, TheTuneLoopsWithoutASeamAndTheGameOverTuneIsShort) {
  EXPECT_GE(seconds(7), 10.0);
  EXPECT_LE(seconds(7), 30.0);
  EXPECT_GE(seconds(8), 2.0);
  EXPECT_LE(seconds(8), 8.0);
  std::vector<int> tune = values_of(sample(7));
  // The step from the last value back to the first is no bigger than the
  // steps inside the tune, and the loop has no silent gap at its start.
  int largest_step = 0;
  for (size_t i = 1; i < tune.size(); ++i) largest_step = std::max(largest_step, std::abs(tune[i] - tune[i - 1]));
  EXPECT_LE(std::abs(tune.front() - tune.back()), largest_step);
  std::vector<int> opening(tune.begin(), tune.begin() + 2205);
  EXPECT_GT(peak_of(opening), 32767 / 8);
}

TEST(GeneratedData, TheGeneratorRebuildsTheBuildsFilesByteForByte) {
  std::vector<GeneratedFile> files = build_datafiles();
  ASSERT_EQ(files.size(), 8u);
  for (const GeneratedFile &f : files) EXPECT_TRUE(read_bytes(f.first) == f.second) << f.first << " differs";
}
