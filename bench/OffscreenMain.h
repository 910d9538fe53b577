#pragma once
// The main of a benchmark that needs widgets: an offscreen application around Google Benchmark's
// run. beforeExit runs while the application still exists (to close windows kept across runs).
#include <functional>

int runOffscreenBenchmarks(int argc, char **argv, const std::function<void()> &beforeExit = {});
