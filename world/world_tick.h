// One logic step of play, in its fixed order.
#pragma once

void world_tick();
