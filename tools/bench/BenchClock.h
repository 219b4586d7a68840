// Microsecond clock and key=value output shared by the bench programs.
#pragma once
#include <windows.h>
#include <cstdint>
#include <cstdio>

inline int64_t BenchMicros() {
    static const int64_t freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : 1;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // Split so that the multiplication cannot overflow on a long-running counter.
    return (now.QuadPart / freq) * 1000000 + (now.QuadPart % freq) * 1000000 / freq;
}

// One result line for tools/bench.sh, which reads "key=value" pairs.
inline void BenchPut(const char* key, long long value) { std::printf("%s=%lld\n", key, value); }
