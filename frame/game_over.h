// The game-over caption, its tune and the spinning shrink.
#pragma once

int game_over();
