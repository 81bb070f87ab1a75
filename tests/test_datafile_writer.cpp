// The datafile writer, read back through the library's own load_datafile;
// the generated datafiles load its bitmaps and palettes in every other test,
// so this holds it to names, palette conversion and the sample values and
// rates they do not reach.
#include "data/dat_writer.h"
#include "data/stand_in_datafiles.h"
#include "frame/catalogue.h"
#include "platform/headless/headless_controls.h"

#include <allegro.h>
#include <gtest/gtest.h>

TEST(DatafileWriter, ObjectsLoadBackWithTheirNamesPalettesInSixBitsAndSamplesUnsignedAtAnyRate) {
  headless::init_library();
  DatafileBuilder file;
  Bitmap8 bitmap(3, 2);
  bitmap.set(2, 1, 200);
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
  EXPECT_EQ(getpixel(dat_bitmap(d, 0), 2, 1), 200);

  RGB *p = dat_palette(d, 1);
  for (int i = 0; i < 256; ++i)
    EXPECT_TRUE(p[i].r == i >> 2 && p[i].g == (255 - i) >> 2 && p[i].b == ((i * 7) & 255) >> 2) << i;
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
