// A pilot for headless games (the record and leak sessions, the allocation
// test): holds the arrow keys towards the lowest enemy in the formation and
// taps the fire key on every other call.
#pragma once

void pilot_keys();
