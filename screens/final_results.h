// The totals of a game, its rating and the fireworks.
#pragma once

void show_final_results();
