// What the benchmark files share: every benchmark is registered through
// `tuned`, which gives it the repetitions and statistics of a full run (the
// median and the spread over repetitions), or one single iteration in the
// smoke run that the tests make.
#pragma once

#include <benchmark/benchmark.h>

using Bench = benchmark::internal::Benchmark;

extern bool smoke_run;

// Repetitions with aggregates only (mean, median, stddev, cv, min, max),
// in microseconds; `repetitions` and `iterations` (0: chosen by the library)
// apply to the full run only.
Bench *tuned(Bench *b, int repetitions = 10, int iterations = 0);

void register_frame_benchmarks();
void register_tick_benchmarks();
void register_screen_benchmarks();
void register_loading_benchmarks();
