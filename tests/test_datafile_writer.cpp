// The datafile writer, read back through the library's own load_datafile.
#include "data/dat_writer.h"
#include "frame/catalogue.h"
#include "platform/headless.h"
#include "tests/support/data_files.h"

#include <allegro.h>
#include <gtest/gtest.h>

TEST(DatafileWriter, BitmapsPalettesAndSamplesLoadBackWithTheirNames) {
  headless::init_library();
  DatafileBuilder file;
  Bitmap8 bitmap(320, 959);
  for (int y = 0; y < 959; ++y)
    for (int x = 0; x < 320; ++x) bitmap.set(x, y, (x * 7 + y) & 255);
  add_bitmap(file, "PICTURE", bitmap);
  Palette palette;
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t((i * 7) & 255)};
  add_palette(file, "COLOURS", palette);
  add_sample(file, "BEEP", Sample16{44100, {0, 32767, -32768, -1, 1234}});
  ScratchFolder folder;
  ASSERT_TRUE(write_bytes(folder.file("t.dat"), datafile_bytes(file)));
  DATAFILE *d = load_datafile(folder.file("t.dat").c_str());
  ASSERT_NE(d, nullptr);
  const int types[3] = {DAT_BITMAP, DAT_PALETTE, DAT_SAMPLE};
  const char *const names[3] = {"PICTURE", "COLOURS", "BEEP"};
  for (int n = 0; n < 3; ++n) {
    ASSERT_EQ(d[n].type, types[n]);
    EXPECT_STREQ(get_datafile_property(&d[n], DAT_NAME), names[n]);
  }
  EXPECT_EQ(d[3].type, DAT_END);

  BITMAP *b = dat_bitmap(d, 0);
  ASSERT_TRUE(b->w == 320 && b->h == 959 && bitmap_color_depth(b) == 8);
  for (auto [x, y] : {std::pair{0, 0}, {319, 0}, {1, 1}, {0, 958}, {319, 958}})
    EXPECT_EQ(getpixel(b, x, y), (x * 7 + y) & 255) << x << "," << y;
  // Palette entries keep their top six bits; shown() is how they look.
  RGB *p = dat_palette(d, 1);
  EXPECT_TRUE(p[0].r == 0 && p[0].g == 63 && p[0].b == 0);
  EXPECT_TRUE(p[255].r == 63 && p[255].g == 0 && p[255].b == ((255 * 7) & 255) >> 2);
  EXPECT_EQ(shown({255, 0, 128}), (Rgb{255, 0, 130}));
  EXPECT_EQ(shown({200, 10, 3}), (Rgb{203, 8, 0}));

  SAMPLE *s = dat_sample(d, 2);
  EXPECT_TRUE(s->bits == 16 && s->stereo == 0);
  EXPECT_EQ(s->freq, 44100);  // above the signed 16-bit range
  ASSERT_EQ(s->len, 5u);
  // The library holds 16-bit samples unsigned: signed value + 32768.
  const uint16_t *v = static_cast<const uint16_t *>(s->data);
  EXPECT_EQ(std::vector<uint16_t>(v, v + 5), (std::vector<uint16_t>{32768, 65535, 0, 32767, 32768 + 1234}));
  unload_datafile(d);
}
