// The start-up check: the walk over a datafile's bytes before the library
// sees them, and the catalogue of kinds and sizes after loading.
#include "frame/datafile_check.h"
#include "frame/datafile_structure.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> small_file() {
  DatafileBuilder file;
  Bitmap8 b(4, 2);
  b.set(1, 1, 9);
  add_bitmap(file, "A", b);
  add_palette(file, "P", Palette{});
  add_sample(file, "S", Sample16{22050, {1, 2, 3}});
  return datafile_bytes(file);
}

void put32(std::vector<uint8_t> &v, size_t at, uint32_t x) {
  for (int k = 0; k < 4; ++k) v[at + k] = uint8_t(x >> (24 - 8 * k));
}

// Offset of the first object's type id: after the file header and the NAME
// property of a one-letter name.
constexpr size_t FIRST_TYPE = 12 + 12 + 1;

}  // namespace

TEST(DatafileStructure, ASoundFileHasNoProblem) {
  EXPECT_EQ(datafile_structure_problem(small_file()), "");
}

TEST(DatafileStructure, EveryTruncationIsReportedWithTheByteItStopsAt) {
  std::vector<uint8_t> whole = small_file();
  for (size_t n = 0; n < whole.size(); ++n) {
    std::vector<uint8_t> part(whole.begin(), whole.begin() + n);
    std::string problem = datafile_structure_problem(part);
    ASSERT_FALSE(problem.empty()) << "cut at " << n;
    if (n >= 8) {
      EXPECT_NE(problem.find("truncated at byte " + std::to_string(n)), std::string::npos) << problem;
    }
  }
}

TEST(DatafileStructure, ForeignAndPackedFilesAreRefused) {
  EXPECT_EQ(datafile_structure_problem({}), "empty file");
  std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'};
  EXPECT_EQ(datafile_structure_problem(text), "not a datafile");
  std::vector<uint8_t> packed = small_file();
  packed[3] = '!';
  EXPECT_NE(datafile_structure_problem(packed).find("packed"), std::string::npos);
  std::vector<uint8_t> wrong_id = small_file();
  wrong_id[7] = 'X';
  EXPECT_EQ(datafile_structure_problem(wrong_id), "not a datafile");
}

TEST(DatafileStructure, HeadersThatWouldMisleadTheLoaderAreRefused) {
  struct Case {
    const char *what;
    std::function<void(std::vector<uint8_t> &)> spoil;
    const char *expected;
  };
  const Case cases[] = {
      {"font type", [](auto &v) { put32(v, FIRST_TYPE, DAT_FONT); }, "object type \"FONT\""},
      {"compressed", [](auto &v) { put32(v, FIRST_TYPE + 8, uint32_t(-20)); }, "compressed object, in object 0"},
      {"sizes differ", [](auto &v) { put32(v, FIRST_TYPE + 8, 13); }, "object sizes disagree"},
      {"16-bit bitmap", [](auto &v) { v[FIRST_TYPE + 13] = 16; }, "16-bit bitmap"},
      {"bitmap size", [](auto &v) { v[FIRST_TYPE + 15] = 5; }, "do not match its size 5x2"},
      {"zero width", [](auto &v) { v[FIRST_TYPE + 15] = 0; }, "bitmap of 0x2"},
      {"huge count", [](auto &v) { put32(v, 8, 0x7fffffff); }, "truncated"},
      {"name too long", [](auto &v) { put32(v, 20, 0x10000); }, "truncated at byte"},
  };
  for (const Case &c : cases) {
    std::vector<uint8_t> v = small_file();
    c.spoil(v);
    EXPECT_NE(datafile_structure_problem(v).find(c.expected), std::string::npos)
        << c.what << ": " << datafile_structure_problem(v);
  }
}

TEST(DatafileStructure, PaletteAndSampleBodiesAreChecked) {
  DatafileBuilder bad_palette;
  Palette p{};
  add_palette(bad_palette, "P", p);
  std::vector<uint8_t> v = datafile_bytes(bad_palette);
  v[FIRST_TYPE + 12] = 64;  // red of entry 0 above 63
  EXPECT_NE(datafile_structure_problem(v).find("palette value above 63"), std::string::npos);

  DatafileBuilder sample;
  add_sample(sample, "S", Sample16{22050, {1, 2, 3}});
  v = datafile_bytes(sample);
  put32(v, FIRST_TYPE + 16, 4);  // claims four values, holds three
  EXPECT_NE(datafile_structure_problem(v).find("sample data does not match"), std::string::npos);
  put32(v, FIRST_TYPE + 16, 0);
  EXPECT_NE(datafile_structure_problem(v).find("empty sample"), std::string::npos);
}

// A file of `objects` 2 x 2 bitmaps, each with `properties` empty ones of
// this id.
std::vector<uint8_t> bitmaps_with_properties(int objects, int properties, uint32_t id = DAT_NAME) {
  std::vector<uint8_t> v;
  auto append32 = [&v](uint32_t x) {
    v.resize(v.size() + 4);
    put32(v, v.size() - 4, x);
  };
  append32(F_NOPACK_MAGIC);
  append32(DAT_MAGIC);
  append32(objects);
  for (int n = 0; n < objects; ++n) {
    for (int k = 0; k < properties; ++k) {
      append32(DAT_PROPERTY);
      append32(id);
      append32(0);
    }
    append32(DAT_BITMAP);
    append32(10);
    append32(10);
    for (uint8_t b : {0, 8, 0, 2, 0, 2, 1, 2, 3, 4}) v.push_back(b);
  }
  return v;
}

// Shapes on which the library's loader stalls or loses memory, though every
// length in them is right.
TEST(DatafileStructure, CountsAndPropertiesTheLoaderMishandlesAreRefused) {
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(1, 64)), "");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(1, 65)), "more than 64 properties, in object 0");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(64, 64)), "");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(65, 64)),
            "more than 4096 properties in the file, in object 64");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(1024, 0)), "");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(1025, 0)), "more than 1024 objects");
  EXPECT_EQ(datafile_structure_problem(bitmaps_with_properties(2, 1, uint32_t(DAT_END))),
            "property with the end-of-list id, in object 0");
}

TEST(DatafileStructure, NestedObjectsCountTowardsTheLimit) {
  // 1023 bitmaps and a nested file of one: 1025 objects in all.
  std::vector<uint8_t> inner = bitmaps_with_properties(1, 0);
  std::vector<uint8_t> v = bitmaps_with_properties(1023, 0);
  put32(v, 8, 1024);
  std::vector<uint8_t> nested = {'F', 'I', 'L', 'E', 0, 0, 0, 0, 0, 0, 0, 0};
  uint32_t body = uint32_t(inner.size() - 8);
  put32(nested, 4, body);
  put32(nested, 8, body);
  nested.insert(nested.end(), inner.begin() + 8, inner.end());
  v.insert(v.end(), nested.begin(), nested.end());
  EXPECT_EQ(datafile_structure_problem(v), "more than 1024 objects, in object 1023");
  put32(v, 8, 1023);  // the last bitmap left out: 1024 in all
  v.erase(v.begin() + 12 + 1022 * 22, v.begin() + 12 + 1023 * 22);
  EXPECT_EQ(datafile_structure_problem(v), "");
}

TEST(DatafileStructure, SampleFrequencyIsReadUnsignedAndMustBeAboveZero) {
  DatafileBuilder file;
  add_sample(file, "S", Sample16{22050, {1, 2, 3}});
  std::vector<uint8_t> v = datafile_bytes(file);
  v[FIRST_TYPE + 14] = 0;
  v[FIRST_TYPE + 15] = 0;
  EXPECT_EQ(datafile_structure_problem(v), "sample at 0 Hz, in object 0");
  v[FIRST_TYPE + 14] = 0xff;  // 65280 Hz, not a negative number
  EXPECT_EQ(datafile_structure_problem(v), "");
}

// Random damage to a real generated datafile: the walk never reads out of
// bounds, and whatever it accepts the library loads.
TEST(DatafileStructure, DamagedFilesAreEitherRefusedOrLoad) {
  headless::init_library();
  std::vector<uint8_t> original = read_bytes("enddat.dat");
  ASSERT_GT(original.size(), 1000u);
  ScratchFolder folder;
  std::mt19937 rng(7);
  int accepted = 0, refused = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> v = original;
    // Damage the headers near the start, where it matters most, or anywhere.
    size_t span = round % 2 ? 200 : v.size();
    for (int k = 0; k < 1 + round % 4; ++k) v[rng() % span] = uint8_t(rng());
    if (round % 5 == 0) v.resize(rng() % v.size());
    if (!datafile_structure_problem(v).empty()) {
      ++refused;
      continue;
    }
    ++accepted;
    write_bytes(folder.file("d.dat"), v);
    DATAFILE *d = load_datafile(folder.file("d.dat").c_str());
    ASSERT_NE(d, nullptr) << "round " << round;
    unload_datafile(d);
  }
  EXPECT_GT(refused, 50);
  EXPECT_GT(accepted, 50);
}

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::init_library(); }
  ScratchFolder folder;

  // The problem the check finds with one stand-in file written under its name.
  std::string problem_with(const std::string &name, std::function<bool(DatafileBuilder &, int)> replace) {
    write_bytes(folder.file(name), stand_in_datafile(name, replace));
    return datafile_problem(folder.path, name);
  }
};

TEST_F(CatalogueTest, StandInFilesPassAndTheGeneratedOnesToo) {
  for (const char *name : datafile_names) EXPECT_EQ(problem_with(name, nullptr), "") << name;
  EXPECT_EQ(datafiles_problem("."), "");
}

TEST_F(CatalogueTest, AWrongKindAtAListedPositionIsNamed) {
  auto palette_at = [](int position) {
    return [position](DatafileBuilder &f, int n) {
      if (n != position) return false;
      add_palette(f, "WRONG", Palette{});
      return true;
    };
  };
  EXPECT_EQ(problem_with("title.dat", palette_at(23)), "object 23 should be a bitmap");
  EXPECT_EQ(problem_with("level1.dat", palette_at(88)), "object 88 should be a bitmap");
  EXPECT_EQ(problem_with("enddat.dat", [](DatafileBuilder &f, int n) {
              if (n != 0) return false;
              add_bitmap(f, "WRONG", Bitmap8(1, 1));
              return true;
            }),
            "object 0 should be a palette");
  EXPECT_EQ(problem_with("sound.dat", [](DatafileBuilder &f, int n) {
              if (n != 19) return false;
              add_bitmap(f, "WRONG", Bitmap8(1, 1));
              return true;
            }),
            "object 19 should be a sample");
}

TEST_F(CatalogueTest, UnlistedPositionsMayHoldAnything) {
  // sound.dat 6, a level's spare frames 8 to 11 and 22, bonus.dat 49 and 50.
  auto any_bitmap_at = [](std::vector<int> spare) {
    return [spare](DatafileBuilder &f, int n) {
      if (std::find(spare.begin(), spare.end(), n) == spare.end()) return false;
      add_bitmap(f, "SPARE", Bitmap8(1, 1));
      return true;
    };
  };
  EXPECT_EQ(problem_with("sound.dat", any_bitmap_at({6})), "");
  EXPECT_EQ(problem_with("level1.dat", any_bitmap_at({7, 8, 9, 10, 11, 19, 20, 21, 22})), "");
  EXPECT_EQ(problem_with("bonus.dat", any_bitmap_at({49, 50})), "");
  // Kind 6 has ten frames: position 21 is listed in level7.dat.
  EXPECT_EQ(problem_with("level7.dat", [](DatafileBuilder &f, int n) {
              if (n != 21) return false;
              add_sample(f, "WRONG", Sample16{22050, {0}});
              return true;
            }),
            "object 21 should be a bitmap");
}

TEST_F(CatalogueTest, TheSizesTheCodeReliesOnAreChecked) {
  auto bitmap_at = [](int position, Bitmap8 b) {
    return [position, b](DatafileBuilder &f, int n) {
      if (n != position) return false;
      add_bitmap(f, "SIZED", b);
      return true;
    };
  };
  EXPECT_EQ(problem_with("title.dat", bitmap_at(23, Bitmap8(320, 200))), "object 23 should be a 320x240 bitmap");
  EXPECT_EQ(problem_with("level4.dat", bitmap_at(25, Bitmap8(320, 958))),
            "object 25 should be a bitmap 320 wide and at least 959 high");
  EXPECT_EQ(problem_with("level4.dat", bitmap_at(25, Bitmap8(320, 1200))), "");
  EXPECT_EQ(problem_with("level7.dat", bitmap_at(76, Bitmap8(19, 15))),
            "object 76 should be a layout picture of at least 20x15");
  EXPECT_EQ(problem_with("level10.dat", bitmap_at(77, layout_with(7, 41))),
            "object 77 places 41 enemies; at most 40 fit");
  EXPECT_EQ(problem_with("level10.dat", bitmap_at(77, layout_with(8, 40))), "");
  EXPECT_EQ(problem_with("level4.dat", bitmap_at(75, layout_with(2, 3))),
            "object 75 holds enemy kind 2 at column 0, row 1; this group has kinds 3 and 4 only");
}

TEST_F(CatalogueTest, TheLoopedTuneLastsATenthOfASecondAtLeast) {
  auto tune_of = [](int frequency, int frames) {
    return [=](DatafileBuilder &f, int n) {
      if (n != 7) return false;
      add_sample(f, "TUNE", Sample16{frequency, std::vector<int16_t>(frames, 0)});
      return true;
    };
  };
  const std::string too_short = "object 7 should be a sample of at least a tenth of a second (it plays looped)";
  EXPECT_EQ(problem_with("sound.dat", tune_of(22050, 2204)), too_short);
  EXPECT_EQ(problem_with("sound.dat", tune_of(22050, 2205)), "");
  EXPECT_EQ(problem_with("sound.dat", tune_of(65000, 1)), too_short);
  EXPECT_EQ(problem_with("sound.dat", tune_of(10, 1)), "");
  // The game-over tune is not looped: a single value will do.
  EXPECT_EQ(problem_with("sound.dat", [](DatafileBuilder &f, int n) {
              if (n != 8) return false;
              add_sample(f, "END", Sample16{44100, {0}});
              return true;
            }),
            "");
}

TEST_F(CatalogueTest, AShortFileSaysHowManyObjectsItHolds) {
  DatafileBuilder short_file;
  for (int n = 0; n < 30; ++n) add_bitmap(short_file, "B", Bitmap8(1, 1));
  write_bytes(folder.file("bonus.dat"), datafile_bytes(short_file));
  EXPECT_EQ(datafile_problem(folder.path, "bonus.dat"), "object 30 should be a bitmap (the file holds 30 objects)");
}

TEST_F(CatalogueTest, MissingTruncatedAndGarbageFilesAreReportedByName) {
  for (const char *name : datafile_names) write_bytes(folder.file(name), stand_in_datafile(name));
  EXPECT_EQ(datafiles_problem(folder.path), "");

  std::remove(folder.file("level7.dat").c_str());
  EXPECT_EQ(datafiles_problem(folder.path).rfind("level7.dat: missing", 0), 0u) << datafiles_problem(folder.path);

  std::vector<uint8_t> title = stand_in_datafile("title.dat");
  title.resize(title.size() / 2);
  write_bytes(folder.file("title.dat"), title);
  EXPECT_EQ(datafiles_problem(folder.path),
            "title.dat: cannot be read (truncated at byte " + std::to_string(title.size()) + ", in object 23)");

  write_bytes(folder.file("sound.dat"), std::vector<uint8_t>(5000, 'x'));
  EXPECT_EQ(datafiles_problem(folder.path), "sound.dat: cannot be read (not a datafile)");
}
