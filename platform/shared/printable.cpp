#include "platform/shared/printable.h"

#include <cstdint>
#include <cstdio>

namespace {

// The bidirectional embeddings, overrides and isolates, which would turn the
// rest of a terminal's line around (U+202A-202E, U+2066-2069).
bool bidi_control(uint32_t code) { return (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069); }

// The length of the well-formed UTF-8 sequence at `at` that is a printable
// character (not a C1 control nor a bidirectional control), or 0.
size_t printable_sequence(const std::string &text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  uint8_t lead = byte(at);
  if (lead >= 0x20 && lead < 0x7f) return 1;
  size_t length = lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3 : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  uint32_t code = lead & (0x7f >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xc0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3f);
  }
  bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  bool invalid = code < 0xa0 || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff || bidi_control(code);
  return overlong || invalid ? 0 : length;
}

}  // namespace

std::string printable(const std::string &text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    size_t length = printable_sequence(text, at);
    if (length > 0) {
      out.append(text, at, length);
      at += length;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<uint8_t>(text[at]));
    out += escaped;
    ++at;
  }
  return out;
}
