// What the benchmark runs share: the performance counter in milliseconds,
// percentiles and their summary, and the notes the benchmark build of the
// product leaves in its working directory when it exits.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "harness.h"

namespace bench {

constexpr WORD SWITCH_KEY = VK_SPACE;

// Performance-counter ticks in milliseconds.
inline double qpcMs(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency);
}

inline double nowMs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return qpcMs(t.QuadPart);
}

inline double percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(std::ceil(q * static_cast<double>(values.size())));
    if (rank == 0) rank = 1;
    return values[std::min(rank, values.size()) - 1];
}

inline std::string fixed(double v, int decimals = 2) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

inline std::string summary(const std::vector<double>& v, const char* unit) {
    return "n=" + std::to_string(v.size()) + " p50=" + fixed(percentile(v, 0.50)) + unit +
           " p95=" + fixed(percentile(v, 0.95)) + unit + " p99=" + fixed(percentile(v, 0.99)) + unit +
           " max=" + fixed(v.empty() ? 0.0 : *std::max_element(v.begin(), v.end())) + unit;
}

// Closes the product and reads what its hook procedures recorded; its
// click_times.txt is written by then too.
inline std::vector<double> closeAndReadHookTimes(e2e::Run& run, HWND panel) {
    e2e::postTo(panel, WM_CLOSE, 0, 0);
    DWORD code = 0;
    E2E_CHECK(e2e::waitForExit(run, 5000, &code), "benchmark build exits on WM_CLOSE");
    std::vector<double> micros;
    std::ifstream in(e2e::narrow(e2e::inWorkDir(run, L"hook_times.txt")));
    double v = 0;
    while (in >> v) micros.push_back(v);
    return micros;
}

// The notes of one kind ("press <ms>", "taken", "stop") the benchmark build
// left in click_times.txt, in time order.
inline std::vector<double> readPressNotes(e2e::Run& run, const char* kind = "press") {
    std::vector<double> at;
    std::ifstream in(e2e::narrow(e2e::inWorkDir(run, L"click_times.txt")));
    std::string what;
    double ms = 0;
    while (in >> what >> ms)
        if (what == kind) at.push_back(ms);
    std::sort(at.begin(), at.end());
    return at;
}

inline size_t notesBetween(const std::vector<double>& notes, double from, double to) {
    return static_cast<size_t>(std::lower_bound(notes.begin(), notes.end(), to) -
                               std::lower_bound(notes.begin(), notes.end(), from));
}

} // namespace bench
