#include "platform/input/gamepad.h"

#include "platform/input/pad_devices.h"
#include "platform/input/pad_mapping.h"
#include "platform/sys/monotonic_clock.h"

#include <allegro.h>

#include <cerrno>

namespace {

constexpr long long LOOK_EVERY_NS = 2 * NS_PER_SECOND;  // between looks for a new pad
constexpr int LOSS_KEPT = 30;    // waits a lost pad waits to be asked about
constexpr int MOST_PRESSES = 16;

struct Pads {
  int open = 0;  // pads the driver has open
  PadRest rest[MAX_JOYSTICKS];
  PadKeys held{};
  long long next_look = 0;  // on the monotonic clock
  int loss_left = 0;
  int presses[MOST_PRESSES] = {};
  int first_press = 0, press_count = 0;
};

Pads pads;

bool any_device() {
  for (int n = 0; n < MAX_JOYSTICKS; ++n)
    if (pad_device_there(n)) return true;
  return false;
}

PadKeys keys_held() {
  PadKeys now{};
  for (int i = 0; i < pads.open; ++i) add_pad_keys(joy[i], pads.rest[i], now);
  return now;
}

void close_pads() {
  if (pads.open) remove_joystick();
  pads.open = 0;
  pads.held = {};
}

// The axes off centre now are triggers at rest; keys held now are not
// pressed.
void open_pads() {
  close_pads();
  if (install_joystick(JOY_TYPE_AUTODETECT) != 0) return;
  if (num_joysticks <= 0) {
    remove_joystick();
    return;
  }
  pads.open = num_joysticks;
  poll_joystick();
  for (int i = 0; i < pads.open; ++i) pads.rest[i] = pad_rest(joy[i]);
  pads.held = keys_held();
}

void press(int value) {
  if (pads.press_count == MOST_PRESSES) return;
  pads.presses[(pads.first_press + pads.press_count++) % MOST_PRESSES] = value;
}

// No pad open: the driver is asked only when a device is there. One open:
// another plugged in beside it is taken up too.
void look_for_pads() {
  long long now = now_ns();
  if (now < pads.next_look) return;
  pads.next_look = now + LOOK_EVERY_NS;
  if (pads.open ? pad_device_there(pads.open) : any_device()) open_pads();
}

bool a_pad_went_away() {
  for (int i = 0; i < pads.open; ++i)
    if (!pad_device_there(i)) return true;
  return false;
}

// The pads' state now. False when a pad was pulled out.
bool read_pads() {
  errno = 0;
  poll_joystick();
  return !pad_read_failed();
}

// Its keys let go, and the game told once it asks, so that it pauses.
void lose_pads() {
  close_pads();
  pads.loss_left = LOSS_KEPT;
}

}  // namespace

void gamepad_start() {
  pads = Pads{};
  look_for_pads();
}

void gamepad_stop() { close_pads(); }

void gamepad_poll(bool listening) {
  if (pads.loss_left > 0) --pads.loss_left;
  look_for_pads();
  if (!pads.open) return;
  if (a_pad_went_away() || !read_pads()) {
    lose_pads();
    return;
  }
  PadKeys now = keys_held();
  if (listening)
    for (int k = 0; k < PAD_KEYS; ++k)
      if (now[k] && !pads.held[k]) press(pad_key_presses[k]);
  pads.held = now;
}

bool gamepad_holds(int scancode) {
  for (int k = 0; k < PAD_KEYS; ++k)
    if (pad_key_scancodes[k] == scancode) return pads.held[k];
  return false;
}

bool gamepad_keypressed() { return pads.press_count > 0; }

int gamepad_readkey() {
  if (pads.press_count == 0) return 0;
  int value = pads.presses[pads.first_press];
  pads.first_press = (pads.first_press + 1) % MOST_PRESSES;
  --pads.press_count;
  return value;
}

void gamepad_clear_presses() { pads.first_press = pads.press_count = 0; }

bool gamepad_take_loss() {
  bool lost = pads.loss_left > 0;
  pads.loss_left = 0;
  return lost;
}
