#include "frame/key_guide.h"

#include <algorithm>
#include <cstring>

namespace {

const KeyRow keys[] = {
    {"Left, Right", "steer", nullptr},
    {"Up, Down", nullptr, "move through the menus"},
    {"Alt, Space, Left Ctrl", "fire", "select on the title, switch an option on or off"},
    {"P", "pause and resume", nullptr},
    {"F12", "save a screenshot (dump.pcx)", nullptr},
    {"Esc", "end the game", "leave the options"},
    {"F11", "switch between the window and fullscreen", "switch between the window and fullscreen"},
};

const PadRow pad[] = {
    {"left stick, D-pad", "", "Left, Right, Up, Down", "steer, and move through the menus"},
    {"A, B, X, Y", "buttons 0 to 3", "Space", "fire and select"},
    {"Start", "button 7", "P", "pause and resume"},
    {"Back", "button 6", "Esc", "end the game, leave the options"},
};

const ViewerRow viewer[] = {
    {"Space, P, a pad's Start", "pause and resume"},
    {".", "while paused, one frame on"},
    {"+, =, keypad +", "faster, up to 8x"},
    {"-", "slower, down to 1/4x"},
    {"Right, Left", "10 seconds ahead / back"},
    {"Home", "back to the start"},
    {"Return", "take over (with --record)"},
    {"Esc", "stop"},
};

// "  NAME" padded to `width`, two spaces, then the text.
std::string line(const char *name, size_t width, const std::string &text) {
  std::string out = "  " + std::string(name);
  out.append(width - std::strlen(name) + 2, ' ');
  return out + text + "\n";
}

template <typename Row>
size_t widest(std::span<const Row> rows, const char *Row::*name) {
  size_t width = 0;
  for (const Row &row : rows) width = std::max(width, std::strlen(row.*name));
  return width;
}

std::string key_text(const KeyRow &row) {
  if (!row.on_menus) return row.in_play;
  if (!row.in_play) return row.on_menus;
  if (std::strcmp(row.in_play, row.on_menus) == 0) return std::string(row.in_play) + ", anywhere";
  return std::string(row.in_play) + "; " + row.on_menus;
}

}  // namespace

std::span<const KeyRow> key_rows() { return keys; }
std::span<const PadRow> pad_rows() { return pad; }
std::span<const ViewerRow> viewer_rows() { return viewer; }

// Where the pads come from, as the system has them.
#ifdef _WIN32
constexpr const char *PADS_FROM = "the joysticks Windows knows";
#else
constexpr const char *PADS_FROM = "/dev/input/js0 to js7";
#endif

std::string key_guide_text() {
  std::string text = "Keys (in play; on the title and options screens):\n";
  for (const KeyRow &row : key_rows()) text += line(row.keys, widest(key_rows(), &KeyRow::keys), key_text(row));
  text += "The game pauses when its window loses the keyboard focus.\n"
          "\n"
          "Watching a recording (--play), the sound only at 1x:\n";
  for (const ViewerRow &row : viewer_rows()) text += line(row.keys, widest(viewer_rows(), &ViewerRow::keys), row.does);
  text += std::string("\nGamepads (") + PADS_FROM + ", plugged in at any moment):\n";
  for (const PadRow &row : pad_rows())
    text += line(row.controls, widest(pad_rows(), &PadRow::controls),
                 std::string(row.does) + (*row.buttons ? std::string(" (") + row.buttons + ")" : ""));
  return text +
         "The numbers are those the system gives an Xbox-style pad; other pads act by\n"
         "the same numbers, except that pads of 13 or more buttons (whose triggers\n"
         "are buttons 6 and 7, as on PlayStation pads) have Back and Start at 8 and 9.\n"
         "The D-pad is the last pair of axes; the triggers (and the right stick of an\n"
         "Xbox-style pad) do nothing. A pad unplugged in play pauses the game.\n";
}
