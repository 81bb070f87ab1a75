// Contact sheets of the eight datafiles and the samples as WAV files, to
// look at and listen to:  make_sheets DATA_DIR SHEET_DIR SOUND_DIR
// Every object is drawn with its palette, numbered, bitmaps at twice their
// size; a few panels show pictures as the game composes them (glow over the
// level background, the title and options screens). Each sample is written
// as WAV and measured: length, peak, loudness (RMS of the loudest 50 ms),
// DC offset and clipped samples.
#include "data/png_writer.h"

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Panel {
  std::string label;
  PngImage image;
};

PngImage blank(int w, int h, uint8_t shade) {
  PngImage img{w, h, std::vector<uint8_t>(size_t(w) * h * 3, shade)};
  return img;
}

void put(PngImage &img, int x, int y, RGB c) {
  if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
  uint8_t *p = &img.rgb[(size_t(y) * img.width + x) * 3];
  p[0] = uint8_t(c.r * 255 / 63), p[1] = uint8_t(c.g * 255 / 63), p[2] = uint8_t(c.b * 255 / 63);
}

// A bitmap at `scale`, transparent pixels as a dark checkerboard.
PngImage picture(BITMAP *b, const RGB *pal, int scale, bool show_transparent = true) {
  PngImage img = blank(b->w * scale, b->h * scale, 0);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      int v = getpixel(b, x / scale, y / scale);
      RGB c = pal[v];
      if (v == 0 && show_transparent) {
        uint8_t g = ((x / 4 + y / 4) % 2) ? 10 : 6;
        c = RGB{g, 0, uint8_t(g + 2), 0};
      }
      put(img, x, y, c);
    }
  return img;
}

PngImage palette_swatches(const RGB *pal) {
  PngImage img = blank(16 * 10, 16 * 10, 40);
  for (int i = 0; i < 256; ++i)
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 9; ++x) put(img, (i % 16) * 10 + x, (i / 16) * 10 + y, pal[i]);
  return img;
}

void blit_image(PngImage &dst, const PngImage &src, int x0, int y0) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      int dx = x0 + x, dy = y0 + y;
      if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) continue;
      std::copy_n(&src.rgb[(size_t(y) * src.width + x) * 3], 3, &dst.rgb[(size_t(dy) * dst.width + dx) * 3]);
    }
}

// Text in the library's 8 x 8 font, white.
void label(PngImage &img, int x, int y, const std::string &text) {
  BITMAP *b = create_bitmap(int(text.size()) * 8, 8);
  clear_to_color(b, 0);
  textout_ex(b, font, text.c_str(), 0, 0, 255, -1);
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < b->w; ++i)
      if (getpixel(b, i, j)) put(img, x + i, y + j, RGB{63, 63, 63, 0});
  destroy_bitmap(b);
}

// Shelf packing of the panels into one sheet, each with its label above.
PngImage compose(const std::vector<Panel> &panels, int width) {
  int x = 0, y = 0, row_h = 0;
  std::vector<std::pair<int, int>> at;
  for (const Panel &p : panels) {
    int w = std::max(p.image.width, int(p.label.size()) * 8) + 8, h = p.image.height + 12;
    if (x + w > width && x > 0) x = 0, y += row_h, row_h = 0;
    at.emplace_back(x, y);
    x += w, row_h = std::max(row_h, h);
  }
  PngImage sheet = blank(width, y + row_h + 4, 24);
  for (size_t i = 0; i < panels.size(); ++i) {
    label(sheet, at[i].first, at[i].second, panels[i].label);
    blit_image(sheet, panels[i].image, at[i].first, at[i].second + 10);
  }
  return sheet;
}

const char *property_name(DATAFILE *d) { return get_datafile_property(d, DAT_ID('N', 'A', 'M', 'E')); }

std::string object_label(DATAFILE *data, int n) { return std::to_string(n) + " " + property_name(&data[n]); }

int count_objects(DATAFILE *data) {
  int n = 0;
  while (data[n].type != DAT_END) ++n;
  return n;
}

// Every object of a datafile; `palette_for(n)` says which palette object
// bitmap n is drawn with.
std::vector<Panel> object_panels(DATAFILE *data, int (*palette_for)(int)) {
  std::vector<Panel> panels;
  for (int n = 0; n < count_objects(data); ++n) {
    if (data[n].type == DAT_PALETTE)
      panels.push_back({object_label(data, n), palette_swatches(static_cast<RGB *>(data[n].dat))});
    else if (data[n].type == DAT_BITMAP)
      panels.push_back({object_label(data, n), picture(static_cast<BITMAP *>(data[n].dat),
                                                       static_cast<RGB *>(data[palette_for(n)].dat), 2)});
  }
  return panels;
}

BITMAP *bmp(DATAFILE *d, int n) { return static_cast<BITMAP *>(d[n].dat); }
RGB *pal(DATAFILE *d, int n) { return static_cast<RGB *>(d[n].dat); }

// Installs the colour lookup of a palette, and its translucency table
// (24/255, as play uses) or its light table (as the options screen uses).
void use_colour_tables(const RGB *palette, bool light) {
  static RGB_MAP rgb;
  static COLOR_MAP table;
  create_rgb_table(&rgb, palette, nullptr);
  rgb_map = &rgb;
  if (light)
    create_light_table(&table, palette, 0, 0, 0, nullptr);
  else
    create_trans_table(&table, palette, 24, 24, 24, nullptr);
  color_map = &table;
}

// The glow as play draws it: halos and rings blended at 24/255 over the
// background window where a level starts.
Panel glow_preview(DATAFILE *level) {
  use_colour_tables(pal(level, 78), false);
  BITMAP *frame = create_bitmap(320, 240), *glow = create_bitmap(320, 240);
  blit(bmp(level, 25), frame, 0, 719, 0, 0, 320, 240);
  clear_to_color(glow, 0);
  for (int i = 0; i < 6; ++i) {
    int x = 30 + i * 50, y = 200 - i * 25;
    circlefill(glow, x, y, 9, 220), circlefill(glow, x, y, 5, 230);
    draw_sprite(frame, bmp(level, 88), x - 3, y - 3);
    circlefill(glow, x + 20, 60, 8 + 3 * i, 235), circlefill(glow, x + 20, 60, 4 + 3 * i, 245);
  }
  draw_sprite(frame, bmp(level, 81), 152, 214);
  draw_trans_sprite(frame, glow, 0, 0);
  Panel p{"play: glow over the background at row 719", picture(frame, pal(level, 78), 2, false)};
  destroy_bitmap(frame), destroy_bitmap(glow);
  return p;
}

Panel title_preview(DATAFILE *title) {
  BITMAP *frame = create_bitmap(320, 240);
  blit(bmp(title, 23), frame, 0, 0, 0, 0, 320, 240);
  draw_sprite(frame, bmp(title, 1), 165, 100);
  draw_sprite(frame, bmp(title, 2), 130, 140);
  draw_sprite(frame, bmp(title, 4), 165, 185);
  textout_ex(frame, font, "v 1.0", 280, 0, 250, -1);
  Panel p{"title screen, start chosen", picture(frame, pal(title, 22), 2, false)};
  destroy_bitmap(frame);
  return p;
}

// The options screen under its light table, spotlight on `row`.
Panel options_preview(DATAFILE *title, int row, bool all_on) {
  static const int label_at[5][2] = {{75, 20}, {70, 65}, {90, 106}, {70, 155}, {35, 192}};
  static const int off_at[5][2] = {{205, 17}, {215, 57}, {200, 115}, {210, 153}, {242, 208}};
  static const int on_at[5][2] = {{205, 25}, {215, 65}, {200, 119}, {210, 160}, {242, 211}};
  static const int spot_y[5] = {7, 47, 87, 142, 180};
  use_colour_tables(pal(title, 21), true);
  BITMAP *frame = create_bitmap(320, 240), *overlay = create_bitmap(320, 240), *spot = create_bitmap(280, 70);
  clear(frame);
  for (int i = 0; i < 200; ++i) putpixel(frame, (i * 97) % 320, (i * 53) % 240, makecol(i, i, i));
  for (int r = 0; r < 5; ++r) {
    draw_sprite(frame, bmp(title, 6 + 3 * r), label_at[r][0], label_at[r][1]);
    bool on = all_on ? true : (r % 2 == 0);
    const int *at = on ? on_at[r] : off_at[r];
    draw_sprite(frame, bmp(title, (on ? 8 : 7) + 3 * r), at[0], at[1]);
  }
  clear(spot);
  for (int i = 0; i <= 34; ++i) ellipsefill(spot, 140, 35, 115 - i, 35 - i, 50 + 5 * i);
  clear_to_color(overlay, 60);
  draw_sprite(overlay, spot, 20, spot_y[row]);
  draw_trans_sprite(frame, overlay, 0, 0);
  Panel p{"options screen, spotlight on row " + std::to_string(row), picture(frame, pal(title, 21), 2, false)};
  destroy_bitmap(frame), destroy_bitmap(overlay), destroy_bitmap(spot);
  return p;
}

int level_palette_of(int) { return 78; }
int title_palette_of(int n) { return n >= 6 && n <= 20 ? 21 : 22; }
int bonus_palette_of(int) { return 51; }
int ending_palette_of(int) { return 0; }

void put16le(FILE *f, int v) { std::fputc(v & 255, f), std::fputc((v >> 8) & 255, f); }
void put32le(FILE *f, long v) { put16le(f, int(v & 0xffff)), put16le(f, int((v >> 16) & 0xffff)); }

// Writes a sample as 16-bit mono WAV and prints what it measures.
void write_wav(const std::string &path, const std::string &name, SAMPLE *s, FILE *report) {
  std::vector<int> values;
  for (unsigned long i = 0; i < s->len; ++i)
    values.push_back(s->bits == 16 ? int(static_cast<uint16_t *>(s->data)[i]) - 32768
                                   : (int(static_cast<uint8_t *>(s->data)[i]) - 128) * 256);
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  long bytes = long(values.size()) * 2;
  std::fwrite("RIFF", 1, 4, f), put32le(f, 36 + bytes), std::fwrite("WAVEfmt ", 1, 8, f);
  put32le(f, 16), put16le(f, 1), put16le(f, 1), put32le(f, s->freq), put32le(f, s->freq * 2L);
  put16le(f, 2), put16le(f, 16), std::fwrite("data", 1, 4, f), put32le(f, bytes);
  for (int v : values) put16le(f, v);
  std::fclose(f);
  int peak = 0, clipped = 0;
  double sum = 0;
  for (int v : values) peak = std::max(peak, std::abs(v)), clipped += std::abs(v) >= 32767, sum += v;
  // Loudness: the RMS level of the loudest 50 ms.
  size_t window = std::min<size_t>(size_t(s->freq / 20), values.size());
  double energy = 0, loudest = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    energy += double(values[i]) * values[i];
    if (i >= window) energy -= double(values[i - window]) * values[i - window];
    if (i + 1 >= window) loudest = std::max(loudest, energy);
  }
  auto db = [](double v) { return v > 0 ? 20.0 * std::log10(v / 32767.0) : -999.0; };
  double mean = values.empty() ? 0 : sum / double(values.size());
  std::fprintf(report, "%-18s %7.3f s  peak %6.1f dBFS  loudness %6.1f dBFS  DC %+6.1f LSB  clipped %d\n",
               name.c_str(), double(s->len) / s->freq, db(peak), db(std::sqrt(loudest / double(window ? window : 1))),
               mean, clipped);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_sheets DATA_DIR SHEET_DIR SOUND_DIR\n");
    return 2;
  }
  std::string data_dir = argv[1], sheet_dir = argv[2], sound_dir = argv[3];
  mkdir(sheet_dir.c_str(), 0755), mkdir(sound_dir.c_str(), 0755);
  install_allegro(SYSTEM_NONE, &errno, std::atexit);
  set_color_depth(8);
  struct Sheet {
    const char *file;
    int (*palette_for)(int);
  };
  const Sheet sheets[] = {{"title.dat", title_palette_of},   {"bonus.dat", bonus_palette_of},
                          {"level1.dat", level_palette_of},  {"level4.dat", level_palette_of},
                          {"level7.dat", level_palette_of},  {"level10.dat", level_palette_of},
                          {"enddat.dat", ending_palette_of}};
  int unwritten = 0;
  for (const Sheet &s : sheets) {
    DATAFILE *data = load_datafile((data_dir + "/" + s.file).c_str());
    if (!data) {
      std::fprintf(stderr, "make_sheets: cannot load %s\n", s.file);
      return 1;
    }
    std::vector<Panel> panels = object_panels(data, s.palette_for);
    std::string name = std::string(s.file).substr(0, std::string(s.file).find('.'));
    if (name.rfind("level", 0) == 0) panels.push_back(glow_preview(data));
    if (name == "title") {
      panels.push_back(title_preview(data));
      for (int row : {0, 4}) panels.push_back(options_preview(data, row, row == 0));
    }
    std::string path = sheet_dir + "/" + name + ".png";
    if (!write_png(path, compose(panels, 1400))) {
      std::fprintf(stderr, "make_sheets: cannot write %s\n", path.c_str());
      ++unwritten;
    }
    unload_datafile(data);
  }
  DATAFILE *sound = load_datafile((data_dir + "/sound.dat").c_str());
  if (!sound) {
    std::fprintf(stderr, "make_sheets: cannot load sound.dat\n");
    return 1;
  }
  FILE *report = std::fopen((sound_dir + "/measurements.txt").c_str(), "w");
  if (!report) {
    std::fprintf(stderr, "make_sheets: cannot write %s/measurements.txt\n", sound_dir.c_str());
    ++unwritten;
  }
  for (int n = 0; n < count_objects(sound); ++n) {
    std::string name = std::to_string(n) + "_" + property_name(&sound[n]);
    write_wav(sound_dir + "/" + name + ".wav", name, static_cast<SAMPLE *>(sound[n].dat), report ? report : stdout);
  }
  if (report) std::fclose(report);
  unload_datafile(sound);
  return unwritten ? 1 : 0;
}
