// The statistics and accuracy bonus after a completed level.
#pragma once

void show_level_results();
