// The totals of a game, its rating and the fireworks.
#pragma once

void show_final_results();

// The rating a score earns, from "YOU MUST BE JOKING" to "ONE OF THE BEST".
const char *rating_message(int score);
