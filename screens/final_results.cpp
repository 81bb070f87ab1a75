// Placeholder final results: nothing to show yet.
#include "screens/final_results.h"

void show_final_results() {}
