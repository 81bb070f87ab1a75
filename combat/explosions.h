// Particle explosions: starting them. Their motion is move_explosions (one
// step of the world tick) and their drawing is the renderer's.
#pragma once

void start_explosion(int x, int y, int count, int ramp, int trail_style);
void init_explosion(int n, int x, int y, int count, int ramp, int trail_style);
