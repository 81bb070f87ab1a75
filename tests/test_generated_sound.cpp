// The generated sounds as the game plays them, and the generator's output
// byte for byte against what the build wrote.
#include "data/datafiles.h"
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "platform/headless/headless_controls.h"
#include "platform/shared/whole_file.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using namespace sound_object;

int peak_of(const std::vector<int> &v) {
  int p = 0;
  for (int x : v) p = std::max(p, std::abs(x));
  return p;
}

// RMS level of the loudest 50 ms, in dBFS.
double loudness_of(const std::vector<int> &v) {
  size_t window = std::min<size_t>(22050 / 20, v.size());
  double energy = 0, loudest = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    energy += double(v[i]) * v[i];
    if (i >= window) energy -= double(v[i - window]) * v[i - window];
    if (i + 1 >= window) loudest = std::max(loudest, energy);
  }
  return 20.0 * std::log10(std::max(std::sqrt(loudest / double(window)), 1e-9) / 32767.0);
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
  // Signed values of sample n.
  std::vector<int> values(int n) {
    SAMPLE *s = dat_sample(sound, n);
    std::vector<int> v;
    for (unsigned long i = 0; i < s->len; ++i) v.push_back(int(static_cast<uint16_t *>(s->data)[i]) - 32768);
    return v;
  }
  double seconds(int n) { return double(dat_sample(sound, n)->len) / dat_sample(sound, n)->freq; }
};

constexpr int MINUS_1_DBFS = 29204;  // 0.891 of full scale

}  // namespace

TEST_F(GeneratedSoundTest, SamplesPeakBetweenMinus12AndMinus1DbfsWithoutOffsetAndEffectsAreEvenAndClickFree) {
  double quietest = 0, loudest = -200;
  std::set<std::vector<int>> distinct;
  for (int n = 0; n <= VOLLEY; ++n) {
    if (n == 6) continue;  // not used by the game
    SAMPLE *s = dat_sample(sound, n);
    EXPECT_TRUE(s->bits == 16 && s->stereo == 0 && s->freq == 22050) << n;
    std::vector<int> v = values(n);
    double mean = 0;
    for (int x : v) mean += x;
    EXPECT_LE(peak_of(v), MINUS_1_DBFS) << "object " << n << " peaks above -1 dBFS";
    EXPECT_GT(peak_of(v), 32767 / 4) << "object " << n << " is below -12 dBFS";
    EXPECT_LT(std::fabs(mean / double(v.size())), 0.002 * 32767) << "object " << n << " has a DC offset";
    if (n == TUNE || n == GAME_OVER_TUNE) continue;
    distinct.insert(v);
    EXPECT_TRUE(seconds(n) >= 0.03 && seconds(n) <= 1.5) << "effect " << n;
    // No click: the ends are (nearly) silent, and the sound fades rather
    // than stops.
    EXPECT_TRUE(std::abs(v.front()) < 100 && std::abs(v.back()) < 100) << "effect " << n << " clicks";
    EXPECT_LT(peak_of({v.end() - 20, v.end()}), 2000) << "effect " << n << " is cut off";
    double l = loudness_of(v);
    quietest = std::min(quietest == 0 ? l : quietest, l);
    loudest = std::max(loudest, l);
  }
  EXPECT_EQ(distinct.size(), 17u) << "every effect and bonus has a sound of its own";
  EXPECT_LE(loudest - quietest, 6.0) << "effects differ too much in loudness";
  EXPECT_GT(quietest, -20.0);
  // The volley is played many times a second: short, and not the loudest.
  EXPECT_LE(seconds(VOLLEY), 0.2);
  EXPECT_LT(loudness_of(values(VOLLEY)), loudest);
}

TEST_F(GeneratedSoundTest, TheTuneLoopsWithoutASeamAndTheGameOverTuneDiesAway) {
  EXPECT_TRUE(seconds(TUNE) >= 30.0 && seconds(TUNE) <= 60.0);
  std::vector<int> tune = values(TUNE);
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
  EXPECT_LE(std::abs(tune[0] - tune[n - 1]), steps[steps.size() * 99 / 100]);
  EXPECT_LE(std::abs(tune[0] - 2 * tune[n - 1] + tune[n - 2]), bends[bends.size() * 99 / 100]);
  EXPECT_GT(peak_of({tune.begin(), tune.begin() + 2205}), 32767 / 8) << "a silent gap where the loop starts";

  EXPECT_TRUE(seconds(GAME_OVER_TUNE) >= 2.0 && seconds(GAME_OVER_TUNE) <= 6.0);
  std::vector<int> cadence = values(GAME_OVER_TUNE);
  std::vector<int> last_tenth(cadence.end() - long(cadence.size() / 10), cadence.end());
  EXPECT_LT(peak_of(last_tenth), peak_of(cadence) / 4) << "the cadence should end in its fading last chord";
  EXPECT_LT(std::abs(cadence.back()), 100);
}

TEST(GeneratedData, TheGeneratorRebuildsTheBuildsFilesByteForByte) {
  std::vector<GeneratedFile> files = build_datafiles();
  ASSERT_EQ(files.size(), 8u);
  for (const GeneratedFile &f : files) EXPECT_TRUE(read_whole_file(f.first).bytes == f.second) << f.first << " differs";
}
