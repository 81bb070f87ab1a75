// The reward after level twelve.
#pragma once

void show_ending();
