#pragma once
// What the frame benchmarks report about a stretch of frames: CPU use, frame rate and how even
// the frames were.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

/// CPU time of the whole process (every thread) so far, in seconds.
inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Sets the counters cpu (percent of one core), fps, jitter_ms (standard deviation of the frame
/// time) and worst_ms from the ends of the frames and the CPU and wall seconds the run took.
inline void reportFrames(benchmark::State& state, const std::vector<Clock::time_point>& ends,
                         double cpu, double wall) {
    std::vector<double> frameMs;
    for (size_t i = 1; i < ends.size(); ++i)
        frameMs.push_back(std::chrono::duration<double, std::milli>(ends[i] - ends[i - 1]).count());
    double mean = 0, var = 0;
    for (double f : frameMs)
        mean += f / frameMs.size();
    for (double f : frameMs)
        var += (f - mean) * (f - mean) / frameMs.size();
    state.counters["cpu"] = 100.0 * cpu / wall;
    state.counters["fps"] = mean > 0 ? 1000.0 / mean : 0;
    state.counters["jitter_ms"] = std::sqrt(var);
    state.counters["worst_ms"] =
        frameMs.empty() ? 0 : *std::max_element(frameMs.begin(), frameMs.end());
}

}  // namespace bench
