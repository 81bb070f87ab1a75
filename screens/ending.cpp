// Placeholder ending: nothing to show yet.
#include "screens/ending.h"

void show_ending() {}
