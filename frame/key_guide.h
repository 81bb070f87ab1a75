// The keys as a player reads them, in one place: the keyboard's, a
// gamepad's and the replay viewer's. --help prints its keys part from these
// rows, and KeyGuideTest holds README.md and the manual page to them: each
// row's key names, with the words of each meaning up to its first comma,
// semicolon or parenthesis, stand together on one line of the README and in
// one entry of the manual page, under the heading "Keys", "Gamepads" or
// "Watching a recording".
#pragma once

#include <span>
#include <string>

// A key or keys of the keyboard, with what they do in play and on the title
// and options screens (null where they do nothing).
struct KeyRow {
  const char *keys;  // key names, ", " between them
  const char *in_play;
  const char *on_menus;
};

// A control of a gamepad: the keys it stands for and what it does.
struct PadRow {
  const char *controls;    // ", " between them
  const char *buttons;     // their numbers on an Xbox-style pad, or ""
  const char *stands_for;  // key names, ", " between them
  const char *does;
};

// A key of the viewer of a recording (--play).
struct ViewerRow {
  const char *keys;  // ", " between them
  const char *does;
};

std::span<const KeyRow> key_rows();
std::span<const PadRow> pad_rows();
std::span<const ViewerRow> viewer_rows();

// The keys part of --help.
std::string key_guide_text();
