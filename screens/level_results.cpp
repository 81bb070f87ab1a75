// Placeholder level results: nothing to show yet.
#include "screens/level_results.h"

void show_level_results() {}
