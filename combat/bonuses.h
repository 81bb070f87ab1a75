// The nine bonuses that capsules carry, by capsule kind (26 to 34), and the
// score and the ship's weakening that play shares with them.
#pragma once

// Plays the bonus's sample and applies its effect; other kinds do nothing.
void apply_bonus(int kind);
// The ship's one-step weakening: speed, weapon and firepower, each down to
// its floor (3, 1 and 2; a speed already below 3 stays).
void degrade_ship();
// Every score gain also counts towards the next extra life.
void add_score(int points);
