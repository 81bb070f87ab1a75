// The keys a gamepad stands for, on the layouts the real-window test's fake
// pad does not have: a trigger resting in the last stick, a throttle after
// the D-pad, and the PlayStation numbering of Back and Start.
#include "platform/input/pad_mapping.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A pad with sticks of these axis counts and this many buttons, at rest.
JOYSTICK_INFO pad_of(std::initializer_list<int> axes, int buttons) {
  JOYSTICK_INFO pad{};
  for (int n : axes) pad.stick[pad.num_sticks++].num_axis = n;
  pad.num_buttons = buttons;
  return pad;
}

void push(JOYSTICK_INFO &pad, int stick, int axis, int direction) {
  pad.stick[stick].axis[axis].d1 = direction < 0;
  pad.stick[stick].axis[axis].d2 = direction > 0;
}

std::string keys(const JOYSTICK_INFO &pad, const PadRest &rest) {
  PadKeys held{};
  add_pad_keys(pad, rest, held);
  std::string out;
  for (int k = 0; k < PAD_KEYS; ++k)
    if (held[k]) out += "LRUDFPE"[k];
  return out;
}

}  // namespace

TEST(PadMapping, SticksButtonsAndTriggersByLayout) {
  // Xbox-style: left stick, LT + RX, RY + RT, D-pad; 11 buttons.
  JOYSTICK_INFO xbox = pad_of({2, 2, 2, 2}, 11);
  push(xbox, 1, 0, -1);  // LT at rest
  push(xbox, 2, 1, -1);  // RT at rest
  PadRest rest = pad_rest(xbox);
  EXPECT_EQ(keys(xbox, rest), "");
  push(xbox, 0, 0, -1);
  push(xbox, 3, 1, 1);
  for (int b : {3, 6, 7, 8}) xbox.button[b].b = 1;
  EXPECT_EQ(keys(xbox, rest), "LDFPE") << "the Guide button (8) does nothing";

  // PlayStation: L2 and R2 are buttons 6 and 7, Share 8, Options 9.
  JOYSTICK_INFO ps = pad_of({2, 2, 2, 2}, 13);
  for (int b : {6, 7}) ps.button[b].b = 1;
  EXPECT_EQ(keys(ps, pad_rest(ps)), "");
  ps.button[8].b = ps.button[9].b = 1;
  EXPECT_EQ(keys(ps, pad_rest(ps)), "PE");

  // Six axes, no D-pad: the last stick is RY + RT, whose trigger never
  // steers while RY does; an axis found pushed as the pad opened stays out.
  JOYSTICK_INFO six = pad_of({2, 2, 2}, 11);
  push(six, 2, 1, -1);  // RT at rest
  push(six, 0, 0, 1);   // the left stick held right
  rest = pad_rest(six);
  push(six, 2, 1, 1);   // RT pulled
  push(six, 0, 0, -1);
  EXPECT_EQ(keys(six, rest), "");
  push(six, 2, 0, 1);  // RY, as the last stick's X
  push(six, 0, 1, 1);
  EXPECT_EQ(keys(six, rest), "RD");

  // A throttle after the D-pad: the D-pad is still the last stick of two.
  JOYSTICK_INFO throttle = pad_of({2, 2, 1}, 4);
  push(throttle, 1, 0, 1);
  push(throttle, 2, 0, -1);
  EXPECT_EQ(keys(throttle, PadRest{}), "R");
}
