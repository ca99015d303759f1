// For the helper programs that time their own box: writes "waited_ms N" into a report file,
// N being the milliseconds from `since` (a QueryPerformanceCounter value; 0: never) to now.
#pragma once

#include <windows.h>

#include <cstdio>

inline void WriteWaitReport(const char* path, LARGE_INTEGER since) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    FILE* report = std::fopen(path, "w");
    if (!report) return;
    const double waited = since.QuadPart == 0
                              ? -1.0
                              : 1000.0 * static_cast<double>(now.QuadPart - since.QuadPart) /
                                    static_cast<double>(frequency.QuadPart);
    std::fprintf(report, "waited_ms %.0f\n", waited);
    std::fclose(report);
}
