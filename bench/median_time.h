// The benchmarks' one way to time: the median of several runs, so one slow run
// (another process on the machine) does not move the figure.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Microseconds of one call, the median of `runs`.
inline double MedianMicroseconds(int runs, const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    return Median(times);
}
