#pragma once
// The main of the benchmarks that drive the game's windows: headless, as the
// tests run the program.

#include <benchmark/benchmark.h>

#include "tests/support/Headless.h"

inline int RunHeadlessBenchmarks(int argc, char** argv) {
    UseHeadlessDrivers();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
