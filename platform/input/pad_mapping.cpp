#include "platform/input/pad_mapping.h"

const int pad_key_scancodes[PAD_KEYS] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_SPACE, KEY_P, KEY_ESC};
const int pad_key_presses[PAD_KEYS] = {KEY_LEFT << 8,      KEY_RIGHT << 8,   KEY_UP << 8, KEY_DOWN << 8,
                                       KEY_SPACE << 8 | ' ', KEY_P << 8 | 'p', KEY_ESC << 8 | 27};

namespace {

constexpr int FACE_BUTTONS = 4;
// Pads whose triggers are buttons too number Back and Start after them.
constexpr int BUTTONS_WITH_TRIGGERS = 13;

bool off_centre(const JOYSTICK_AXIS_INFO &axis) { return axis.d1 || axis.d2; }

void add_stick(const JOYSTICK_INFO &pad, const PadRest &rest, int s, PadKeys &held) {
  const JOYSTICK_STICK_INFO &stick = pad.stick[s];
  if (stick.num_axis < 2) return;  // a throttle
  const JOYSTICK_AXIS_INFO &x = stick.axis[0], &y = stick.axis[1];
  if (!rest.off_centre[s][0]) {
    held[PAD_LEFT] = held[PAD_LEFT] || x.d1;
    held[PAD_RIGHT] = held[PAD_RIGHT] || x.d2;
  }
  if (!rest.off_centre[s][1]) {
    held[PAD_UP] = held[PAD_UP] || y.d1;
    held[PAD_DOWN] = held[PAD_DOWN] || y.d2;
  }
}

bool button(const JOYSTICK_INFO &pad, int b) { return b < pad.num_buttons && pad.button[b].b; }

}  // namespace

PadRest pad_rest(const JOYSTICK_INFO &pad) {
  PadRest rest;
  for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; ++s)
    for (int a = 0; a < pad.stick[s].num_axis && a < MAX_JOYSTICK_AXIS; ++a)
      rest.off_centre[s][a] = off_centre(pad.stick[s].axis[a]);
  return rest;
}

void add_pad_keys(const JOYSTICK_INFO &pad, const PadRest &rest, PadKeys &held) {
  int last = (pad.num_sticks < MAX_JOYSTICK_STICKS ? pad.num_sticks : MAX_JOYSTICK_STICKS) - 1;
  while (last > 0 && pad.stick[last].num_axis < 2) --last;  // past a throttle
  if (last >= 0) add_stick(pad, rest, 0, held);
  if (last > 0) add_stick(pad, rest, last, held);
  for (int b = 0; b < FACE_BUTTONS; ++b) held[PAD_FIRE] = held[PAD_FIRE] || button(pad, b);
  int back = pad.num_buttons >= BUTTONS_WITH_TRIGGERS ? 8 : 6;
  held[PAD_ESCAPE] = held[PAD_ESCAPE] || button(pad, back);
  held[PAD_PAUSE] = held[PAD_PAUSE] || button(pad, back + 1);
}
