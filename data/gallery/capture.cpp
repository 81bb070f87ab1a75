#include "data/gallery/gallery.h"

#include "data/png_writer.h"
#include "platform/headless/headless_controls.h"
#include "platform/platform.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

std::string gallery_folder = ".";
std::vector<GalleryPicture> pictures;
std::vector<PngImage> small_pictures;  // the 1x pictures, for the overviews
int missed_captures = 0;

uint8_t eight_bits(int six) { return uint8_t((six << 2) | (six >> 4)); }

PngImage screen_image(BITMAP *screen, const PALETTE palette, int scale) {
  PngImage img{320 * scale, 240 * scale, std::vector<uint8_t>(size_t(320 * scale) * 240 * scale * 3)};
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const RGB &c = palette[getpixel(screen, x / scale, y / scale)];
      uint8_t *p = &img.rgb[(size_t(y) * img.width + x) * 3];
      p[0] = eight_bits(c.r), p[1] = eight_bits(c.g), p[2] = eight_bits(c.b);
    }
  return img;
}

}  // namespace

void set_gallery_folder(const std::string &folder) { gallery_folder = folder; }
const std::vector<GalleryPicture> &saved_pictures() { return pictures; }

void save_screen(const std::string &name, const std::string &caption, const std::string &section) {
  PALETTE palette;
  get_palette(palette);
  std::string file = name + ".png";
  PngImage small = screen_image(headless::screen(), palette, 1);
  bool ok = write_png(gallery_folder + "/" + file, screen_image(headless::screen(), palette, 2)) &&
            write_png(gallery_folder + "/1x/" + file, small);
  if (!ok) {
    std::fprintf(stderr, "make_gallery: cannot write %s\n", file.c_str());
    ++missed_captures;
    return;
  }
  pictures.push_back({file, caption, section});
  small_pictures.push_back(small);
}

bool write_overview(const std::string &name, const std::string &prefix) {
  std::vector<const PngImage *> chosen;
  for (size_t i = 0; i < pictures.size(); ++i)
    if (pictures[i].file.rfind(prefix, 0) == 0) chosen.push_back(&small_pictures[i]);
  if (chosen.empty()) return false;
  const int columns = 4, gap = 4;
  int rows = int(chosen.size() + columns - 1) / columns;
  PngImage sheet{columns * (320 + gap), rows * (240 + gap), {}};
  sheet.rgb.assign(size_t(sheet.width) * sheet.height * 3, 40);
  for (size_t k = 0; k < chosen.size(); ++k) {
    int x0 = int(k % columns) * (320 + gap), y0 = int(k / columns) * (240 + gap);
    for (int y = 0; y < 240; ++y)
      std::copy_n(&chosen[k]->rgb[size_t(y) * 320 * 3], 320 * 3, &sheet.rgb[(size_t(y0 + y) * sheet.width + x0) * 3]);
  }
  return write_png(gallery_folder + "/" + name, sheet);
}

void begin_scene() {
  headless::reset();
  headless::set_event_limit(2'000'000);
  platform_open_display(DisplayRequest{1});
}

SceneScript::SceneScript() : base_(headless::frames()) {}

SceneScript &SceneScript::hold(int scancode, long first, long last) {
  keys_.hold(scancode, base_ + first, base_ + last);
  return *this;
}

SceneScript &SceneScript::press(int scancode, long frame) {
  keys_.press(scancode, base_ + frame);
  return *this;
}

SceneScript &SceneScript::press_on_key_wait(int scancode) {
  key_on_wait_ = scancode;
  return *this;
}

SceneScript &SceneScript::capture(long frame, const std::string &name, const std::string &caption,
                                  const std::string &section) {
  captures_.push_back({base_ + frame, name, caption, section});
  return *this;
}

namespace {
// The captures of the script installed last, still to come.
std::shared_ptr<std::vector<SceneScript::Capture>> pending_captures;

void count_unreached() {
  if (!pending_captures) return;
  for (const SceneScript::Capture &c : *pending_captures)
    std::fprintf(stderr, "make_gallery: frame %ld for %s never came\n", c.frame, c.name.c_str());
  missed_captures += int(pending_captures->size());
  pending_captures.reset();
}
}  // namespace

int SceneScript::missed() {
  count_unreached();
  return missed_captures;
}

void SceneScript::install() {
  auto pending = std::make_shared<std::vector<Capture>>(captures_);
  int wait_key = key_on_wait_;
  keys_.on_event([pending, wait_key](const headless::Event &e) {
    if (e.kind == Wait::KeyWait && wait_key) headless::press(wait_key);
    if (e.kind != Wait::Present) return;
    for (auto it = pending->begin(); it != pending->end();)
      if (it->frame == e.frame) {
        save_screen(it->name, it->caption, it->section);
        it = pending->erase(it);
      } else {
        ++it;
      }
  });
  count_unreached();
  keys_.install();
  pending_captures = pending;
}
