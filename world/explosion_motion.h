// The motion of the particle explosions, one tick at a time: the world tick
// moves them in play, the final results screen over its rating.
#pragma once

// One step of every active explosion's particles.
void move_explosions();
