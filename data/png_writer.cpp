#include "data/png_writer.h"

#include <png.h>

bool write_png(const std::string &path, const PngImage &image) { return write_png(path, image, {}); }

// libpng's simplified writer: 8 bits a channel, its own error handling (no
// longjmp through our frames), and on failure the half-written file removed.
bool write_png(const std::string &path, const PngImage &image, const std::vector<uint8_t> &alpha) {
  size_t pixels = static_cast<size_t>(image.width) * image.height;
  bool with_alpha = !alpha.empty();
  if (image.width <= 0 || image.height <= 0 || image.rgb.size() != pixels * 3 ||
      (with_alpha && alpha.size() != pixels))
    return false;
  std::vector<uint8_t> rgba;
  if (with_alpha) {
    rgba.resize(pixels * 4);
    for (size_t at = 0; at < pixels; ++at) {
      for (int k = 0; k < 3; ++k) rgba[at * 4 + k] = image.rgb[at * 3 + k];
      rgba[at * 4 + 3] = alpha[at];
    }
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  const void *rows = with_alpha ? rgba.data() : image.rgb.data();
  return png_image_write_to_file(&png, path.c_str(), 0, rows, 0, nullptr) != 0;
}
