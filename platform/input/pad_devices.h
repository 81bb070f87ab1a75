// Whether the system has a pad plugged in where the library's joystick
// driver would find it, asked cheaply before the driver is (which takes a
// while to look), and whether the driver's last read found it gone.
#pragma once

// The pad the driver numbers n.
bool pad_device_there(int n);

// After poll_joystick: whether the system said a pad is gone, though its
// device may still stand (the driver then keeps the last state it read).
bool pad_read_failed();
