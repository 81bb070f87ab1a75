// Times the frames of a screen run through the headless twin: the hook
// notes the clock at every present, so the time of frame n runs from the
// end of the hook of frame n - 1 to the present of frame n (drawing and
// presenting it). Keys are held or pressed by frame from `keys`.
#pragma once

#include "platform/headless/headless_controls.h"

#include <functional>
#include <vector>

// Seconds of every frame the screen presents, frame 1 first (index 0);
// `keys` is called with the frame number at every hook call.
std::vector<double> frame_seconds(const std::function<void()> &show,
                                  const std::function<void(long frame)> &keys);

// The mean of frames first..last (1-based, inclusive).
double mean_seconds(const std::vector<double> &frames, long first, long last);
