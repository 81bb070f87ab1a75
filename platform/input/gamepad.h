// Gamepads through the library's joystick driver, below the seam: read at
// every wait and answered as the keys they stand for (pad_mapping.h), held
// and pressed, so that the game, its recordings and their replays know
// only keys. No pad, no joydev, or a driver that fails: nothing happens.
#pragma once

// Opens the pads there are.
void gamepad_start();
void gamepad_stop();

// At every wait: reads the pads. A key going down is pressed (for the
// waits that take any key) when `listening`, that is while the window has
// the focus or a lost focus does not pause. With no pad open, looks for one
// about every two seconds (a stat of /dev/input/js0-7 before asking the
// driver); a pad whose device went away is closed and its keys released.
void gamepad_poll(bool listening);

bool gamepad_holds(int scancode);

// The presses of the pads' keys, as the key buffer's.
bool gamepad_keypressed();
int gamepad_readkey();
void gamepad_clear_presses();

// True once after a pad went away, when the game pauses as on a lost
// focus; forgotten when nobody asks within half a second (not in play).
bool gamepad_take_loss();
