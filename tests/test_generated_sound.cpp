// The generated sounds as the game plays them, and the generator's output
// byte for byte against what the build wrote.
#include "data/datafiles.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

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

constexpr int MINUS_1_DBFS = 29204;  // 0.891 of full scale

double db(double level) { return 20.0 * std::log10(std::max(level, 1e-9) / 32767.0); }

// RMS level of the loudest 50 ms, in dBFS.
double loudness_of(const std::vector<int> &v, int rate) {
  size_t window = std::min<size_t>(size_t(rate / 20), v.size());
  double energy = 0, loudest = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    energy += double(v[i]) * v[i];
    if (i >= window) energy -= double(v[i - window]) * v[i - window];
    if (i + 1 >= window) loudest = std::max(loudest, energy);
  }
  return db(std::sqrt(loudest / double(window)));
}

double mean_of(const std::vector<int> &v) {
  double sum = 0;
  for (int x : v) sum += x;
  return sum / double(v.size());
}

const int effects[] = {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};

TEST_F(GeneratedSoundTest, EverySampleIsMonoSixteenBitWithoutClippingOrOffset) {
  for (int n = 0; n <= 19; ++n) {
    if (n == 6) continue;  // not used by the game
    ASSERT_EQ(sound[n].type, DAT_SAMPLE) << n;
    SAMPLE *s = sample(n);
    EXPECT_EQ(s->bits, 16);
    EXPECT_EQ(s->stereo, 0);
    EXPECT_EQ(s->freq, 22050);
    std::vector<int> v = values_of(s);
    EXPECT_LE(peak_of(v), MINUS_1_DBFS) << "object " << n << " peaks above -1 dBFS";
    EXPECT_GT(peak_of(v), 32767 / 4) << "object " << n << " is below -12 dBFS";
    EXPECT_LT(std::fabs(mean_of(v)), 0.002 * 32767) << "object " << n << " has a DC offset";
  }
}

TEST_F(GeneratedSoundTest, EffectsAreShortEvenlyLoudAndStartAndEndInSilence) {
  double quietest = 0, loudest = -200;
  for (int n : effects) {
    std::vector<int> v = values_of(sample(n));
    EXPECT_LE(seconds(n), 1.5) << "effect " << n;
    EXPECT_GE(seconds(n), 0.03) << "effect " << n;
    // No click: the first and last samples are (nearly) silent, and the
    // sound fades rather than stops.
    EXPECT_LT(std::abs(v.front()), 100) << "effect " << n << " starts with a click";
    EXPECT_LT(std::abs(v.back()), 100) << "effect " << n << " ends with a click";
    std::vector<int> tail(v.end() - 20, v.end());
    EXPECT_LT(peak_of(tail), 2000) << "effect " << n << " is cut off";
    double l = loudness_of(v, sample(n)->freq);
    quietest = std::min(quietest == 0 ? l : quietest, l);
    loudest = std::max(loudest, l);
  }
  EXPECT_LE(loudest - quietest, 6.0) << "effects differ too much in loudness";
  EXPECT_GT(quietest, -20.0);
  // The volley is played many times a second: short, and not the loudest.
  EXPECT_LE(seconds(19), 0.2);
  EXPECT_LT(loudness_of(values_of(sample(19)), 22050), loudest);
}

TEST_F(GeneratedSoundTest, EveryBonusHasASoundOfItsOwn) {
  std::set<std::vector<int>> distinct;
  for (int n : {9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) distinct.insert(values_of(sample(n)));
  EXPECT_EQ(distinct.size(), 10u);
}

TEST_F(GeneratedSoundTest, TheTuneLastsHalfAMinuteAndLoopsWithoutASeam) {
  EXPECT_GE(seconds(7), 30.0);
  EXPECT_LE(seconds(7), 60.0);
  std::vector<int> tune = values_of(sample(7));
  // The step from the last value back to the first, and the change of
  // slope there, are as small as nearly every step inside the tune.
  std::vector<int> steps, bends;
  for (size_t i = 2; i < tune.size(); ++i) {
    steps.push_back(std::abs(tune[i] - tune[i - 1]));
    bends.push_back(std::abs(tune[i] - 2 * tune[i - 1] + tune[i - 2]));
  }
  std::sort(steps.begin(), steps.end());
  std::sort(bends.begin(), bends.end());
  size_t n = tune.size();
  int seam_step = std::abs(tune[0] - tune[n - 1]);
  int seam_bend = std::abs(tune[0] - 2 * tune[n - 1] + tune[n - 2]);
  EXPECT_LE(seam_step, steps[steps.size() * 99 / 100]);
  EXPECT_LE(seam_bend, bends[bends.size() * 99 / 100]);
  // No silent gap where the loop starts again.
  std::vector<int> opening(tune.begin(), tune.begin() + 2205);
  EXPECT_GT(peak_of(opening), 32767 / 8);
}

TEST_F(GeneratedSoundTest, TheGameOverTuneIsAShortCadenceThatDiesAway) {
  EXPECT_GE(seconds(8), 2.0);
  EXPECT_LE(seconds(8), 6.0);
  std::vector<int> v = values_of(sample(8));
  std::vector<int> last_tenth(v.end() - long(v.size() / 10), v.end());
  EXPECT_LT(peak_of(last_tenth), peak_of(v) / 4) << "the cadence should end in its fading last chord";
  EXPECT_LT(std::abs(v.back()), 100);
}

TEST(GeneratedData, TheGeneratorRebuildsTheBuildsFilesByteForByte) {
  std::vector<GeneratedFile> files = build_datafiles();
  ASSERT_EQ(files.size(), 8u);
  for (const GeneratedFile &f : files) EXPECT_TRUE(read_bytes(f.first) == f.second) << f.first << " differs";
}
