#include "dist/window_icon_source.h"

#include <cstdio>
#include <map>

namespace {

uint32_t argb(const Icon &icon, size_t at) {
  const std::vector<uint8_t> &rgb = icon.picture.rgb;
  return uint32_t{icon.alpha[at]} << 24 | uint32_t{rgb[at * 3]} << 16 | uint32_t{rgb[at * 3 + 1]} << 8 |
         rgb[at * 3 + 2];
}

std::string hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

std::string cardinals(const std::vector<Icon> &icons) {
  std::string out = "const uint32_t window_icon_cardinals[] = {\n";
  for (const Icon &icon : icons) {
    int w = icon.picture.width, h = icon.picture.height;
    out += "    " + std::to_string(w) + ", " + std::to_string(h) + ",";
    for (size_t at = 0; at < static_cast<size_t>(w) * h; ++at)
      out += (at % 8 == 0 ? "\n    " : " ") + hex(argb(icon, at)) + ",";
    out += "\n";
  }
  return out + "};\nconst int window_icon_cardinal_count = sizeof window_icon_cardinals / sizeof window_icon_cardinals[0];\n";
}

// Two characters a pixel: "  " is clear, the colours follow in the order
// they are met.
std::string xpm(const Icon &icon) {
  const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ#$";
  int w = icon.picture.width, h = icon.picture.height;
  std::map<uint32_t, std::string> codes;
  std::vector<uint32_t> order;
  std::string rows;
  for (int y = 0; y < h; ++y) {
    rows += "    \"";
    for (int x = 0; x < w; ++x) {
      size_t at = static_cast<size_t>(y) * w + x;
      if (icon.alpha[at] == 0) {
        rows += "  ";
        continue;
      }
      uint32_t colour = argb(icon, at) & 0xffffff;
      if (!codes.count(colour)) {
        int n = static_cast<int>(order.size());
        codes[colour] = std::string{digits[n / 64 % 64], digits[n % 64]};
        order.push_back(colour);
      }
      rows += codes[colour];
    }
    rows += "\",\n";
  }
  std::string out = "const char *const window_icon_xpm[] = {\n    \"" + std::to_string(w) + " " + std::to_string(h) +
                    " " + std::to_string(order.size() + 1) + " 2\",\n    \"   c None\",\n";
  for (uint32_t colour : order) {
    char line[40];
    std::snprintf(line, sizeof line, "    \"%s c #%06x\",\n", codes[colour].c_str(), colour);
    out += line;
  }
  return out + rows + "};\n";
}

}  // namespace

std::string window_icon_source(const std::vector<Icon> &icons, const Icon &xpm_icon) {
  return "// Made by make_icons from the ship of level1.dat: the window's icon.\n"
         "#include \"platform/x11/x11_icon.h\"\n\n" +
         cardinals(icons) + "\n" + xpm(xpm_icon);
}
