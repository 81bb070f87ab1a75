// The nine bonuses that capsules carry, by capsule kind (26 to 34).
#pragma once

// Plays the bonus's sample and applies its effect; other kinds do nothing.
void apply_bonus(int kind);
