// What a gamepad stands for on the keyboard. The library's Linux joystick
// driver reads /dev/input/js0-7 through the kernel's joydev interface,
// pairs the axes into sticks in the kernel's order and numbers the buttons
// as the kernel does, with no table of pads. On the common Xbox-style
// layout (8 axes, 11 buttons) stick 0 is the left stick, stick 1 the left
// trigger with the right stick's X, stick 2 the right stick's Y with the
// right trigger, and the last stick the D-pad; the buttons are A, B, X, Y,
// LB, RB, Back, Start, Guide and the two stick clicks. What each control
// does, as players read it, is in the pad rows of frame/key_guide.cpp.
//
//   left stick, D-pad (stick 0 and the last   Left, Right, Up, Down
//   stick of two axes)
//   buttons 0-3 (the four face buttons)       Space (fires and selects)
//   Start: button 7, or 9 on pads of 13 or    P (pause)
//          more buttons (their triggers are
//          buttons 6 and 7, as on PlayStation
//          pads)
//   Back: button 6, or 8 likewise             Esc
//
// An axis found off centre when the pad was opened is a trigger at rest
// (or a stick held then) and never steers: a trigger rests at one end.
#pragma once

#include <allegro.h>

#include <array>

enum PadKey { PAD_LEFT, PAD_RIGHT, PAD_UP, PAD_DOWN, PAD_FIRE, PAD_PAUSE, PAD_ESCAPE, PAD_KEYS };

// The key each stands for (KEY_*), and its press as readkey() gives it.
extern const int pad_key_scancodes[PAD_KEYS];
extern const int pad_key_presses[PAD_KEYS];

using PadKeys = std::array<bool, PAD_KEYS>;

// The axes of a pad off centre when it was opened.
struct PadRest {
  bool off_centre[MAX_JOYSTICK_STICKS][MAX_JOYSTICK_AXIS] = {};
};

PadRest pad_rest(const JOYSTICK_INFO &pad);

// Adds the keys the pad holds now to `held`.
void add_pad_keys(const JOYSTICK_INFO &pad, const PadRest &rest, PadKeys &held);
