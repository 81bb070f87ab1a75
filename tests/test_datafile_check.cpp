// The start-up check: the walk over a datafile's bytes before the library
// sees them, and the catalogue of kinds and sizes after loading.
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "frame/datafile_check.h"
#include "frame/datafile_structure.h"
#include "frame/resources.h"
#include "platform/headless/headless_controls.h"
#include "render/glyph_text.h"
#include "screens/bonus_screen.h"

#include "platform/shared/whole_file.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace {

enum Objects { ALL, PALETTE_ONLY, SAMPLE_ONLY };

// A 4 x 2 bitmap, a palette and a three-value sample, or one of the two last.
std::vector<uint8_t> small_file(Objects which = ALL) {
  DatafileBuilder file;
  Bitmap8 b(4, 2);
  b.set(1, 1, 9);
  if (which == ALL) add_bitmap(file, "A", b);
  if (which != SAMPLE_ONLY) add_palette(file, "P", Palette{});
  if (which != PALETTE_ONLY) add_sample(file, "S", Sample16{22050, {1, 2, 3}});
  return datafile_bytes(file);
}

void put32(std::vector<uint8_t> &v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) v[at + k] = uint8_t(x >> (24 - 8 * k));
}

// Offset of the first object's type id: after the file header and the NAME
// property of a one-letter name.
constexpr size_t FIRST_TYPE = 12 + 12 + 1;

// A file of `objects` 2 x 2 bitmaps, each with `properties` empty ones of
// this id.
std::vector<uint8_t> bitmaps_with_properties(int objects, int properties, uint32_t id = DAT_NAME) {
  std::vector<uint8_t> v;
  auto append32 = [&v](uint32_t x) { v.resize(v.size() + 4), put32(v, v.size() - 4, x); };
  for (uint32_t x : {uint32_t(F_NOPACK_MAGIC), uint32_t(DAT_MAGIC), uint32_t(objects)}) append32(x);
  for (int n = 0; n < objects; ++n) {
    for (int k = 0; k < properties; ++k)
      for (uint32_t x : {uint32_t(DAT_PROPERTY), id, 0u}) append32(x);
    for (uint32_t x : {uint32_t(DAT_BITMAP), 10u, 10u}) append32(x);
    for (uint8_t b : {0, 8, 0, 2, 0, 2, 1, 2, 3, 4}) v.push_back(b);
  }
  return v;
}

}  // namespace

TEST(DatafileStructure, EveryTruncationIsReportedWithTheByteItStopsAt) {
  std::vector<uint8_t> whole = small_file();
  EXPECT_EQ(datafile_structure_problem(whole), "");
  for (size_t n = 0; n < whole.size(); ++n) {
    std::string problem = datafile_structure_problem({whole.begin(), whole.begin() + n});
    ASSERT_FALSE(problem.empty()) << "cut at " << n;
    EXPECT_TRUE(n < 8 || problem.find("truncated at byte " + std::to_string(n)) != std::string::npos) << problem;
  }
}

TEST(DatafileStructure, HeadersAndBodiesThatWouldMisleadTheLoaderAreRefused) {
  struct Case {
    const char *what;
    Objects objects;
    std::function<void(std::vector<uint8_t> &)> spoil;
    const char *expected;  // part of the problem; "" for a file that passes
  };
  const Case cases[] = {
      {"text", ALL, [](auto &v) { v.assign(v.begin(), v.begin() + 12), v[0] = 'h'; }, "not a datafile"},
      {"packed", ALL, [](auto &v) { v[3] = '!'; }, "packed"},
      {"wrong id", ALL, [](auto &v) { v[7] = 'X'; }, "not a datafile"},
      {"font type", ALL, [](auto &v) { put32(v, FIRST_TYPE, DAT_FONT); }, "object type \"FONT\""},
      {"compressed", ALL, [](auto &v) { put32(v, FIRST_TYPE + 8, uint32_t(-20)); },
       "compressed object, in object 0"},
      {"sizes differ", ALL, [](auto &v) { put32(v, FIRST_TYPE + 8, 13); }, "object sizes disagree"},
      {"16-bit bitmap", ALL, [](auto &v) { v[FIRST_TYPE + 13] = 16; }, "16-bit bitmap"},
      {"bitmap size", ALL, [](auto &v) { v[FIRST_TYPE + 15] = 5; }, "do not match its size 5x2"},
      {"zero width", ALL, [](auto &v) { v[FIRST_TYPE + 15] = 0; }, "bitmap of 0x2"},
      {"huge count", ALL, [](auto &v) { put32(v, 8, 0x7fffffff); }, "truncated"},
      {"name too long", ALL, [](auto &v) { put32(v, 20, 0x10000); }, "truncated at byte"},
      {"palette above 63", PALETTE_ONLY, [](auto &v) { v[FIRST_TYPE + 12] = 64; }, "palette value above 63"},
      {"sample too long", SAMPLE_ONLY, [](auto &v) { put32(v, FIRST_TYPE + 16, 4); }, "sample data does not match"},
      {"empty sample", SAMPLE_ONLY, [](auto &v) { put32(v, FIRST_TYPE + 16, 0); }, "empty sample"},
      {"0 Hz", SAMPLE_ONLY, [](auto &v) { v[FIRST_TYPE + 14] = v[FIRST_TYPE + 15] = 0; }, "sample at 0 Hz, in object 0"},
      {"65280 Hz, read unsigned", SAMPLE_ONLY, [](auto &v) { v[FIRST_TYPE + 14] = 0xff, v[FIRST_TYPE + 15] = 0; }, ""},
  };
  EXPECT_EQ(datafile_structure_problem({}), "empty file");
  for (const Case &c : cases) {
    std::vector<uint8_t> v = small_file(c.objects);
    c.spoil(v);
    std::string problem = datafile_structure_problem(v);
    EXPECT_TRUE(*c.expected ? problem.find(c.expected) != problem.npos : problem.empty()) << c.what << ": " << problem;
  }
}

// Shapes on which the library's loader stalls or loses memory, though every
// length in them is right.
TEST(DatafileStructure, CountsAndPropertiesTheLoaderMishandlesAreRefused) {
  const std::tuple<int, int, uint32_t, std::string> shapes[] = {
      {1, 64, DAT_NAME, ""}, {1, 65, DAT_NAME, "more than 64 properties, in object 0"}, {64, 64, DAT_NAME, ""},
      {65, 64, DAT_NAME, "more than 4096 properties in the file, in object 64"}, {1024, 0, DAT_NAME, ""},
      {1025, 0, DAT_NAME, "more than 1024 objects"},
      {2, 1, uint32_t(DAT_END), "property with the end-of-list id, in object 0"}};
  for (const auto &[objects, properties, id, expected] : shapes)
    EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(objects, properties, id)), expected) << objects;
  // Nested objects count: 1023 bitmaps and a nested file of one.
  std::vector<uint8_t> v = bitmaps_with_properties(1023, 0), inner = bitmaps_with_properties(1, 0);
  put32(v, 8, 1024);
  v.insert(v.end(), {'F', 'I', 'L', 'E', 0, 0, 0, 0, 0, 0, 0, 0});
  put32(v, v.size() - 8, uint32_t(inner.size() - 8));  // its packed and unpacked sizes
  put32(v, v.size() - 4, uint32_t(inner.size() - 8));
  v.insert(v.end(), inner.begin() + 8, inner.end());
  EXPECT_EQ(datafile_structure_problem(v), "more than 1024 objects, in object 1023");
}

namespace {

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::init_library(); }
  ScratchFolder folder;

  // The problem the check finds with a stand-in file of this name whose
  // object at `position` is `object` instead.
  std::string problem_with(const std::string &name, int position, std::function<void(DatafileBuilder &)> object) {
    write_bytes(folder.file(name), stand_in_datafile(name, [&](DatafileBuilder &f, int n) {
                  if (n != position) return false;
                  object(f);
                  return true;
                }));
    return datafile_problem(folder.path, name);
  }
};

auto palette() { return [](DatafileBuilder &f) { add_palette(f, "P", Palette{}); }; }
auto bitmap(Bitmap8 b) { return [b](DatafileBuilder &f) { add_bitmap(f, "B", b); }; }
auto sample(int frequency, int frames) {
  return [=](DatafileBuilder &f) { add_sample(f, "S", Sample16{frequency, std::vector<int16_t>(frames, 0)}); };
}

}  // namespace

TEST_F(CatalogueTest, EachFileNamesTheObjectThatIsOfTheWrongKindOrSize) {
  struct Case {
    const char *file;
    int position;
    std::function<void(DatafileBuilder &)> object;
    std::string expected;
  };
  const std::string too_short = "object 7 should be a sample of at least a tenth of a second (it plays looped)";
  const Case cases[] = {
      {"title.dat", 23, palette(), "object 23 should be a bitmap"},
      {"level1.dat", 88, palette(), "object 88 should be a bitmap"},
      {"enddat.dat", 0, bitmap(Bitmap8(1, 1)), "object 0 should be a palette"},
      {"sound.dat", 19, bitmap(Bitmap8(1, 1)), "object 19 should be a sample"},
      // Unlisted positions may hold anything; kind 6 has ten frames, so
      // position 21 is listed in level7.dat.
      {"sound.dat", 6, bitmap(Bitmap8(1, 1)), ""},
      {"level1.dat", 7, bitmap(Bitmap8(1, 1)), ""},
      {"level7.dat", 21, sample(22050, 1), "object 21 should be a bitmap"},
      {"title.dat", 23, bitmap(Bitmap8(320, 200)), "object 23 should be a 320x240 bitmap"},
      {"level4.dat", 25, bitmap(Bitmap8(320, 958)), "object 25 should be a bitmap 320 wide and at least 959 high"},
      {"level7.dat", 76, bitmap(Bitmap8(19, 15)), "object 76 should be a layout picture of at least 20x15"},
      {"level10.dat", 77, bitmap(layout_with(7, 41)), "object 77 places 41 enemies; at most 40 fit"},
      {"level10.dat", 77, bitmap(layout_with(8, 40)), ""},
      {"level4.dat", 75, bitmap(layout_with(2, 3)),
       "object 75 holds enemy kind 2 at column 0, row 1; this group has kinds 3 and 4 only"},
      // The looped tune lasts a tenth of a second at least; the game-over
      // tune is not looped, so a single value will do.
      {"sound.dat", 7, sample(22050, 2204), too_short},
      {"sound.dat", 7, sample(22050, 2205), ""},
      {"sound.dat", 7, sample(10, 1), ""},
      {"sound.dat", 8, sample(44100, 1), ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(problem_with(c.file, c.position, c.object), c.expected) << c.file << " object " << c.position;
}

// Stand-in files pass. Past the end of the file, before its start, or at an
// object of another kind: an access throws instead of reading, and the stop
// names the file. A short file names the first object it lacks.
TEST_F(CatalogueTest, AccessesOutsideTheFileOrToAnotherKindStopAndAShortFileNamesWhatItLacks) {
  for (const char *name : DATAFILE_NAMES) write_bytes(folder.file(name), stand_in_datafile(name));
  EXPECT_EQ(datafiles_problem(folder.path), "");
  // Reading needs no room to write: they load under a file size limit
  // smaller than any of them, too.
  rlimit was;
  getrlimit(RLIMIT_FSIZE, &was);
  const rlimit tiny{256, was.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &tiny);
  std::string limited = datafiles_problem(folder.path);
  setrlimit(RLIMIT_FSIZE, &was);
  EXPECT_EQ(limited, "");
  EXPECT_GT(read_whole_file(folder.file("title.dat")).bytes.size(), 256u);
  std::string problem;
  OwnedDatafile bonus = load_checked_datafile(folder.path, "bonus.dat", problem);
  ASSERT_NE(bonus, nullptr) << problem;
  bonus_data = bonus.get();
  EXPECT_EQ(dat_bitmap(bonus_data, 0), bonus_data[0].dat);
  EXPECT_EQ(dat_palette(bonus_data, bonus_object::PALETTE), bonus_data[bonus_object::PALETTE].dat);
  const std::pair<std::function<void()>, std::string> accesses[] = {
      {[] { dat_bitmap(bonus_data, bonus_object::COUNT); }, "bonus.dat: object 52 should be a bitmap"},
      {[] { dat_bitmap(bonus_data, 1000); }, "bonus.dat: object 1000 should be a bitmap"},
      {[] { dat_bitmap(bonus_data, -1); }, "bonus.dat: object -1 should be a bitmap"},
      {[] { dat_palette(bonus_data, 0); }, "bonus.dat: object 0 should be a palette"},
      {[] { dat_sample(bonus_data, bonus_object::PALETTE); }, "bonus.dat: object 51 should be a sample"},
  };
  for (const auto &[access, expected] : accesses) {
    try {
      access();
      ADD_FAILURE() << expected << ": no stop";
    } catch (const MissingObject &missing) {
      EXPECT_EQ(missing_object_problem(missing), expected);
    }
  }
  bonus_data = nullptr;
  DatafileBuilder short_file;
  for (int n = 0; n < 30; ++n) add_bitmap(short_file, "B", Bitmap8(1, 1));
  write_bytes(folder.file("bonus.dat"), datafile_bytes(short_file));
  EXPECT_EQ(datafiles_problem(folder.path), "bonus.dat: object 30 should be a bitmap (the file holds 30 objects)");
}
