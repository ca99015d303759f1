// The closing lines of the Wine latency probes: median, 95th percentile and maximum of the
// measured latencies, and how many rounds timed out.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

inline void PrintLatencyReport(std::vector<double> latencies, int timeouts) {
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        if (latencies.empty()) return -1.0;
        size_t index = static_cast<size_t>(q * static_cast<double>(latencies.size() - 1) + 0.5);
        return latencies[std::min(index, latencies.size() - 1)];
    };
    std::printf("median_ms %.1f\np95_ms %.1f\nmax_ms %.1f\ntimeouts %d\n", at(0.5), at(0.95),
                latencies.empty() ? -1.0 : latencies.back(), timeouts);
}
