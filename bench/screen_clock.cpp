#include "bench/screen_clock.h"

#include <chrono>

std::vector<double> frame_seconds(const std::function<void()> &show,
                                  const std::function<void(long frame)> &keys) {
  using clock = std::chrono::steady_clock;
  std::vector<double> seconds;
  seconds.reserve(4096);
  long start = headless::frames();
  clock::time_point previous = clock::now();
  headless::set_hook([&](const headless::Event &e) {
    if (e.kind == Wait::Present)
      seconds.push_back(std::chrono::duration<double>(clock::now() - previous).count());
    keys(e.frame - start);
    previous = clock::now();
  });
  show();
  headless::set_hook(nullptr);
  headless::release_all();
  headless::clear_samples();
  return seconds;
}

double mean_seconds(const std::vector<double> &frames, long first, long last) {
  double sum = 0;
  long n = 0;
  for (long f = first; f <= last && f <= static_cast<long>(frames.size()); ++f, ++n)
    sum += frames[f - 1];
  return n > 0 ? sum / n : 0;
}
