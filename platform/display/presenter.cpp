#include "platform/display/presenter.h"

#include "platform/display/display_modes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct Pixel24 {
  uint8_t b[3];
};

struct BitmapDestroy {
  void operator()(BITMAP *bitmap) const { destroy_bitmap(bitmap); }
};
using OwnedBitmap = std::unique_ptr<BITMAP, BitmapDestroy>;

// Where scaled rows go: a bitmap's rows, or rows at a pitch.
struct Rows {
  uint8_t *const *lines = nullptr;
  uint8_t *pixels = nullptr;
  long pitch = 0;
  uint8_t *operator[](int y) const { return lines ? lines[y] : pixels + y * pitch; }
};

struct Presenter {
  OwnedBitmap picture;  // the logical screen, as the game presented it
  // What the display holds: the picture, with the overlay when there is
  // one (composed in `composed`).
  OwnedBitmap on_display, composed;
  void (*overlay)(BITMAP *onto) = nullptr;
  bool held = false;   // nothing written to the display
  bool stale = false;  // the display is not what `on_display` holds
  BITMAP *target = nullptr;  // the display's, not ours
  bool buffered = false;     // the display's own buffers instead of a target
  BufferedDisplay display{};
  long colours = 0;          // bumped when the colours change
  bool held_back = false;    // a picture waits for a free buffer
  // Video targets: the scaled picture is built here, then blitted to the
  // target a band at a time (the library sends only what it is given).
  OwnedBitmap scaled;
  Placement place{1, 0, 0};
  int depth = 8;
  uint8_t c8[256];
  uint16_t c16[256];
  Pixel24 c24[256];
  uint32_t c32[256];
  long rows_written = 0;
};

// Never destroyed: at the process's end the library is gone before static
// objects are, and presenter_release lets the bitmaps go before that.
Presenter &presenter = *new Presenter{};

// An 8-bit channel value in the bits of `mask`.
uint32_t in_mask(int value, unsigned long mask) {
  if (!mask) return 0;
  int shift = __builtin_ctzl(mask);
  unsigned long most = mask >> shift;
  return static_cast<uint32_t>(((value * most + 127) / 255) << shift);
}

uint32_t colour_of(int r, int g, int b) {
  if (presenter.buffered) {
    const unsigned long *m = presenter.display.masks;
    return in_mask(r, m[0]) | in_mask(g, m[1]) | in_mask(b, m[2]);
  }
  return static_cast<uint32_t>(makecol_depth(presenter.depth, r, g, b));
}

void make_colours(const RGB *palette) {
  for (int i = 0; i < 256; ++i) {
    presenter.c8[i] = static_cast<uint8_t>(i);
    int r = _rgb_scale_6[palette[i].r & 63], g = _rgb_scale_6[palette[i].g & 63],
        b = _rgb_scale_6[palette[i].b & 63];
    uint32_t c = presenter.depth == 8 ? i : colour_of(r, g, b);
    presenter.c16[i] = static_cast<uint16_t>(c);
    presenter.c32[i] = c;
    std::memcpy(presenter.c24[i].b, &c, 3);
  }
}

// Rows y0..y1, columns x0..x1 of the picture onto dst, whose (ox, oy) is the
// picture's top-left corner: each pixel s times across, each row s times down.
template <class Pixel>
void write_block(const Rows &dst, int ox, int oy, int y0, int y1, int x0, int x1, const Pixel *colours) {
  int s = presenter.place.scale;
  size_t bytes = static_cast<size_t>(x1 - x0 + 1) * s * sizeof(Pixel);
  for (int y = y0; y <= y1; ++y) {
    const uint8_t *src = presenter.on_display->line[y];
    uint8_t *first = dst[oy + y * s] + static_cast<size_t>(ox + x0 * s) * sizeof(Pixel);
    Pixel *out = reinterpret_cast<Pixel *>(first);
    for (int x = x0; x <= x1; ++x) {
      Pixel c = colours[src[x]];
      for (int k = 0; k < s; ++k) *out++ = c;
    }
    for (int k = 1; k < s; ++k)
      std::memcpy(dst[oy + y * s + k] + static_cast<size_t>(ox + x0 * s) * sizeof(Pixel), first,
                  bytes);
  }
  presenter.rows_written += y1 - y0 + 1;
}

// An 8-bit target at scale 1 takes the picture's own bytes.
void copy_block(const Rows &dst, int ox, int oy, int y0, int y1, int x0, int x1) {
  for (int y = y0; y <= y1; ++y) std::memcpy(dst[oy + y] + ox + x0, presenter.on_display->line[y] + x0, x1 - x0 + 1);
  presenter.rows_written += y1 - y0 + 1;
}

void write_to(const Rows &dst, int ox, int oy, int y0, int y1, int x0, int x1) {
  switch (presenter.depth) {
    case 8:
      if (presenter.place.scale == 1)
        copy_block(dst, ox, oy, y0, y1, x0, x1);
      else
        write_block(dst, ox, oy, y0, y1, x0, x1, presenter.c8);
      break;
    case 15:
    case 16: write_block(dst, ox, oy, y0, y1, x0, x1, presenter.c16); break;
    case 24: write_block(dst, ox, oy, y0, y1, x0, x1, presenter.c24); break;
    default: write_block(dst, ox, oy, y0, y1, x0, x1, presenter.c32); break;
  }
}

void write_band(int y0, int y1, int x0, int x1) {
  if (!presenter.target || presenter.held) return;
  if (!presenter.scaled) {
    write_to({presenter.target->line}, presenter.place.x, presenter.place.y, y0, y1, x0, x1);
    return;
  }
  int s = presenter.place.scale;
  write_to({presenter.scaled->line}, 0, 0, y0, y1, x0, x1);
  blit(presenter.scaled.get(), presenter.target, x0 * s, y0 * s, presenter.place.x + x0 * s, presenter.place.y + y0 * s,
       (x1 - x0 + 1) * s, (y1 - y0 + 1) * s);
}

void write_all() { write_band(0, PICTURE_HEIGHT - 1, 0, PICTURE_WIDTH - 1); }

// The first and last column where two rows differ; false when they do not.
bool row_change(const uint8_t *a, const uint8_t *b, int &first, int &last) {
  if (std::memcmp(a, b, PICTURE_WIDTH) == 0) return false;
  first = 0;
  while (a[first] == b[first]) ++first;
  last = PICTURE_WIDTH - 1;
  while (a[last] == b[last]) --last;
  return true;
}

// What the display holds into a buffer the display is done with, only the
// rows (and within them the columns) the buffer lacks, all of it in new
// colours; the buffer then goes to the display. Without a free buffer the
// picture waits.
void send_picture() {
  if (presenter.held) return;
  PictureBuffer *buffer = presenter.display.free_buffer();
  presenter.held_back = !buffer;
  if (!buffer) return;
  Rows rows{nullptr, buffer->pixels, buffer->pitch};
  bool all = buffer->colours != presenter.colours;
  int first = -1, last = -2;
  for (int y = 0; y < PICTURE_HEIGHT; ++y) {
    const uint8_t *row = presenter.on_display->line[y];
    int x0 = 0, x1 = PICTURE_WIDTH - 1;
    if (!all && !row_change(row, buffer->held[y], x0, x1)) continue;
    write_to(rows, 0, 0, y, y, x0, x1);
    std::memcpy(buffer->held[y], row, PICTURE_WIDTH);
    if (first < 0) first = y;
    last = y;
  }
  buffer->colours = presenter.colours;
  int s = presenter.place.scale;
  presenter.display.send(buffer, presenter.place.x, presenter.place.y, first * s, (last + 1) * s - 1);
}

// Copies the rows of `from` that differ into `to`; whether any did.
bool copy_changed_rows(BITMAP *from, BITMAP *to) {
  bool any = false;
  for (int y = 0; y < PICTURE_HEIGHT; ++y)
    if (std::memcmp(from->line[y], to->line[y], PICTURE_WIDTH) != 0) {
      std::memcpy(to->line[y], from->line[y], PICTURE_WIDTH);
      any = true;
    }
  return any;
}

OwnedBitmap new_picture() {
  // The library's colour depth is 8 outside a mode switch.
  OwnedBitmap bitmap(create_bitmap(PICTURE_WIDTH, PICTURE_HEIGHT));
  if (bitmap) clear(bitmap.get());
  return bitmap;
}

// The picture as the display is to show it: with the overlay drawn on a
// copy, never on the picture itself.
BITMAP *picture_to_show() {
  if (!presenter.overlay || !presenter.composed) return presenter.picture.get();
  blit(presenter.picture.get(), presenter.composed.get(), 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  presenter.overlay(presenter.composed.get());
  return presenter.composed.get();
}

// Writes the rows of `next` that differ from what the display shows, in
// bands of changed rows, the columns of a band from its first change to
// its last.
void write_changes(BITMAP *next) {
  BITMAP *on_display = presenter.on_display.get();
  int band_start = -1, band_first = PICTURE_WIDTH, band_last = -1;
  for (int y = 0; y <= PICTURE_HEIGHT; ++y) {
    int first = 0, last = -1;
    bool changed = y < PICTURE_HEIGHT && row_change(next->line[y], on_display->line[y], first, last);
    if (changed) {
      std::memcpy(on_display->line[y], next->line[y], PICTURE_WIDTH);
      if (band_start < 0) band_start = y;
      if (first < band_first) band_first = first;
      if (last > band_last) band_last = last;
    } else if (band_start >= 0) {
      write_band(band_start, y - 1, band_first, band_last);
      band_start = -1, band_first = PICTURE_WIDTH, band_last = -1;
    }
  }
}

// The display's buffers brought up to the picture (and overlay): a picture
// that changed, or one held back for want of a buffer, is sent.
void update_buffers(BITMAP *next) {
  bool changed = copy_changed_rows(next, presenter.on_display.get()) || presenter.stale;
  presenter.stale = false;
  if (changed || presenter.held_back) send_picture();
}

// The display brought up to the picture (and overlay), unless held.
void update_display() {
  if (presenter.held || !presenter.on_display) return;
  BITMAP *next = picture_to_show();
  if (presenter.buffered) return update_buffers(next);
  if (!presenter.stale) return write_changes(next);
  blit(next, presenter.on_display.get(), 0, 0, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT);
  presenter.stale = false;
  write_all();
}

}  // namespace

BITMAP *presenter_picture() {
  if (!presenter.picture) {
    presenter.picture = new_picture();
    presenter.on_display = new_picture();
    if (!presenter.on_display) presenter.picture.reset();
  }
  return presenter.picture.get();
}

void presenter_release() {
  presenter_detach();
  presenter.overlay = nullptr;
  presenter.held = false;
  presenter.picture.reset();
  presenter.on_display.reset();
  presenter.composed.reset();
}

void presenter_attach(BITMAP *target, const RGB *palette, const ScreenRect &area) {
  presenter_detach();
  presenter_picture();
  presenter.target = target;
  presenter.depth = bitmap_color_depth(target);
  make_colours(palette);
  presenter.rows_written = 0;
  presenter_fit(area);
}

void presenter_attach_buffers(const BufferedDisplay &display, const RGB *palette, const ScreenRect &area) {
  presenter_detach();
  presenter_picture();
  presenter.buffered = true;
  presenter.display = display;
  presenter.depth = 32;
  presenter.place = place_picture(area);
  make_colours(palette);
  ++presenter.colours;
  presenter.rows_written = 0;
  presenter.stale = true;
  update_display();
}

void presenter_fit(const ScreenRect &area) {
  BITMAP *target = presenter.target;
  if (!target) return;
  // Within the target, whatever the area says.
  int x = std::max(0, area.x), y = std::max(0, area.y);
  presenter.place = place_picture({x, y, std::min(area.w, target->w - x), std::min(area.h, target->h - y)});
  presenter.scaled.reset();
  if (!is_memory_bitmap(target)) {
    int scale = presenter.place.scale;
    presenter.scaled.reset(create_bitmap_ex(presenter.depth, PICTURE_WIDTH * scale, PICTURE_HEIGHT * scale));
    // No memory: at least the picture.
    if (!presenter.scaled) presenter.place = {1, presenter.place.x, presenter.place.y};
  }
  // An area too small for the picture: as much of it as the target holds.
  Placement &p = presenter.place;
  p.x = std::max(0, std::min(p.x, target->w - PICTURE_WIDTH * p.scale));
  p.y = std::max(0, std::min(p.y, target->h - PICTURE_HEIGHT * p.scale));
  clear_to_color(target, 0);
  presenter.stale = true;
  update_display();
}

void presenter_detach() {
  presenter.scaled.reset();
  presenter.target = nullptr;
  presenter.buffered = false;
  presenter.held_back = false;
}

void presenter_repaint() {
  if (presenter.buffered) send_picture();
}

void presenter_send_held_back() {
  if (presenter.buffered && presenter.held_back) send_picture();
}

void presenter_show(BITMAP *frame) {
  BITMAP *picture = presenter_picture();
  for (int y = 0; y < PICTURE_HEIGHT; ++y) std::memcpy(picture->line[y], frame->line[y], PICTURE_WIDTH);
  update_display();
}

void presenter_clear() {
  clear(presenter_picture());
  presenter.stale = true;
  update_display();
}

void presenter_set_palette(const RGB *palette) {
  if (!presenter.buffered && (!presenter.target || presenter.depth == 8)) return;
  uint32_t before[256];
  std::memcpy(before, presenter.c32, sizeof before);
  make_colours(palette);
  if (std::memcmp(before, presenter.c32, sizeof before) == 0) return;
  ++presenter.colours;
  presenter.stale = true;
  update_display();
}

void presenter_set_overlay(void (*draw)(BITMAP *onto)) {
  // Made when first needed; without memory for it, no overlay.
  if (draw && !presenter.composed) presenter.composed = new_picture();
  presenter.overlay = draw;
}

void presenter_hold(bool held) {
  presenter.held = held;
  update_display();
}

void presenter_refresh() { update_display(); }

long presenter_rows_written() { return presenter.rows_written; }
