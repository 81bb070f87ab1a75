// The datafile writer, read back through the library's own load_datafile.
#include "data/dat_writer.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

const char *name_of(DATAFILE *d) { return get_datafile_property(d, DAT_NAME); }

DatafileBuilder three_objects() {
  DatafileBuilder file;
  Bitmap8 bitmap(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) bitmap.set(x, y, 10 * y + x);
  add_bitmap(file, "PICTURE", bitmap);
  Palette palette;
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 255)};
  add_palette(file, "COLOURS", palette);
  add_sample(file, "BEEP", Sample16{11025, {0, 32767, -32768, -1, 1234}});
  return file;
}

}  // namespace

class DatafileWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::init_library(); }
  ScratchFolder folder;

  DATAFILE *write_and_load(const DatafileBuilder &file) {
    EXPECT_TRUE(write_bytes(folder.file("t.dat"), datafile_bytes(file)));
    return load_datafile(folder.file("t.dat").c_str());
  }
};

TEST_F(DatafileWriterTest, BitmapPalettesAndSamplesLoadBackWithTheirNames) {
  DATAFILE *d = write_and_load(three_objects());
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d[0].type, DAT_BITMAP);
  ASSERT_EQ(d[1].type, DAT_PALETTE);
  ASSERT_EQ(d[2].type, DAT_SAMPLE);
  EXPECT_EQ(d[3].type, DAT_END);
  EXPECT_STREQ(name_of(&d[0]), "PICTURE");
  EXPECT_STREQ(name_of(&d[1]), "COLOURS");
  EXPECT_STREQ(name_of(&d[2]), "BEEP");

  BITMAP *b = static_cast<BITMAP *>(d[0].dat);
  ASSERT_EQ(b->w, 5);
  ASSERT_EQ(b->h, 3);
  EXPECT_EQ(bitmap_color_depth(b), 8);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(getpixel(b, x, y), 10 * y + x) << x << "," << y;

  RGB *p = static_cast<RGB *>(d[1].dat);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(p[i].r, i >> 2);
    EXPECT_EQ(p[i].g, (255 - i) >> 2);
    EXPECT_EQ(p[i].b, ((i * 7) & 255) >> 2);
  }

  SAMPLE *s = static_cast<SAMPLE *>(d[2].dat);
  EXPECT_EQ(s->bits, 16);
  EXPECT_EQ(s->stereo, 0);
  EXPECT_EQ(s->freq, 11025);
  ASSERT_EQ(s->len, 5u);
  // The library holds 16-bit samples unsigned: signed value + 32768.
  const uint16_t *v = static_cast<const uint16_t *>(s->data);
  EXPECT_EQ(v[0], 32768);
  EXPECT_EQ(v[1], 65535);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(v[3], 32767);
  EXPECT_EQ(v[4], 32768 + 1234);
  unload_datafile(d);
}

TEST_F(DatafileWriterTest, LargeBitmapsAndFrequenciesAboveSignedRangeSurvive) {
  DatafileBuilder file;
  Bitmap8 tall(320, 959);
  tall.set(319, 958, 200);
  tall.set(0, 0, 3);
  add_bitmap(file, "TALL", tall);
  add_sample(file, "HIGH", Sample16{44100, {5}});
  DATAFILE *d = write_and_load(file);
  ASSERT_NE(d, nullptr);
  BITMAP *b = static_cast<BITMAP *>(d[0].dat);
  EXPECT_EQ(b->h, 959);
  EXPECT_EQ(getpixel(b, 319, 958), 200);
  EXPECT_EQ(getpixel(b, 0, 0), 3);
  EXPECT_EQ(static_cast<SAMPLE *>(d[1].dat)->freq, 44100);
  unload_datafile(d);
}

TEST_F(DatafileWriterTest, SameObjectsGiveTheSameBytes) {
  EXPECT_EQ(datafile_bytes(three_objects()), datafile_bytes(three_objects()));
  std::vector<uint8_t> bytes = datafile_bytes(three_objects());
  // Unpacked datafile magic, then the datafile id and the object count.
  const uint8_t head[12] = {'s', 'l', 'h', '.', 'A', 'L', 'L', '.', 0, 0, 0, 3};
  EXPECT_TRUE(std::equal(head, head + 12, bytes.begin()));
}

TEST_F(DatafileWriterTest, ShownColoursAreWhatTheSixBitPaletteGives) {
  EXPECT_EQ(shown({255, 0, 128}), (Rgb{255, 0, 130}));
  EXPECT_EQ(shown({200, 10, 3}), (Rgb{203, 8, 0}));
}
