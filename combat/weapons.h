// Launching the player's volleys, enemy shots and bonus capsules.
#pragma once

void fire_player_weapon();
