// A small benchmark harness: times a piece of work with the performance counter, takes the
// median of repeated runs, and prints each case as a ratio against its baseline measured in the
// same run (never a bare absolute time as a verdict).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

// Median seconds of `runs` runs of `iterations` calls of f, per call.
template <class F> double MedianSeconds(F&& f, int iterations, int runs = 15) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    f(); // warm-up
    for (int r = 0; r < runs; ++r) {
        LARGE_INTEGER start, stop;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < iterations; ++i)
            f();
        ::QueryPerformanceCounter(&stop);
        samples.push_back(static_cast<double>(stop.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart) / iterations);
    }
    std::nth_element(samples.begin(), samples.begin() + runs / 2, samples.end());
    return samples[runs / 2];
}

// Prints one row of the ratio table: "| name | baseline | measured | ratio | target |".
inline void ReportRatio(const char* name, double baselineSeconds, double measuredSeconds,
                        double target) {
    const double ratio = measuredSeconds / baselineSeconds;
    std::printf("| %-40s | %10.3f us | %10.3f us | %5.2fx | %s %.2fx |\n", name,
                baselineSeconds * 1e6, measuredSeconds * 1e6, ratio,
                ratio <= target ? "within" : "OVER", target);
    std::fflush(stdout);
}

inline void PrintHeader(const char* title) {
    std::printf("\n%s\n| %-40s | %13s | %13s | %6s | %12s |\n|---|---|---|---|---|\n", title,
                "case", "baseline", "library", "ratio", "target");
}

// Keeps the optimiser from discarding a result.
template <class T> inline void KeepAlive(const T& value) {
    asm volatile("" : : "g"(&value) : "memory");
}

} // namespace bench
