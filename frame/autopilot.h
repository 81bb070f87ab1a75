// The demo's pilot: one tick of steering and firing in place of the
// player's controls.
#pragma once

void autopilot_step();
