// Benchmark builds note how long each click sound played and how long after
// a click's last button event the switch took presses again. Main thread only.
#include "platform/win32/win32_platform.h"

#ifdef SWITCHPOINT_BENCH

#include <cstdio>
#include <string>
#include <vector>

namespace sp {

namespace {

std::vector<std::string> g_clickTimes;
LARGE_INTEGER g_lastButton{};

double msSince(const LARGE_INTEGER& then) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - then.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void noteClickTime(const char* what, double ms) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %.3f", what, ms);
    g_clickTimes.push_back(line);
}

} // namespace

void noteTimeSince(const char* what, const LARGE_INTEGER& start) { noteClickTime(what, msSince(start)); }

void noteButtonSent() { QueryPerformanceCounter(&g_lastButton); }

void noteStopActed() {
    LARGE_INTEGER now{};
    noteClickTime("stop", msSince(now));
}

void noteSwitchFree() {
    if (g_lastButton.QuadPart == 0) return;
    noteClickTime("hookback", msSince(g_lastButton));
    g_lastButton.QuadPart = 0;
}

void notePressActed() {
    LARGE_INTEGER now{};
    noteClickTime("press", msSince(now));
}

void notePressTaken() {
    LARGE_INTEGER now{};
    noteClickTime("taken", msSince(now));
}

void writeClickTimes(const wchar_t* path) {
    FILE* out = _wfopen(path, L"w");
    if (!out) return;
    for (const std::string& line : g_clickTimes) std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
}

} // namespace sp

#endif
