// The clock of the Windows-side benchmarks: seconds from the performance counter.
#pragma once

#include <windows.h>

namespace quillory::bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

}  // namespace quillory::bench
