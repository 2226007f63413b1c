// Benchmark runs of whole tasks through the real exe:
//   bench_rest: 1000 presses at rest, reached in four ways, none lost.
#include <random>

#include "bench_util.h"
#include "product.h"

namespace {

using namespace e2e;
using namespace bench;

// ---- Presses at rest -----------------------------------------------------

enum Way { WAY_STOP, WAY_CLICK, WAY_REARM, WAY_START, WAY_COUNT };
const char* const WAY_NAMES[WAY_COUNT] = {"after STOP", "after a click and STOP", "after a re-arm",
                                          "after the start delay"};
constexpr int WAY_PRESSES[WAY_COUNT] = {835, 120, 30, 15};
constexpr int REST_PERIOD = 100;

struct RestPress {
    Way way;
    double at;
    double gap; // since the panel showed the rest
    bool started;
    double until; // the scan seen, or given up: no other press before
};

bool scanStarted(HWND panel) {
    return waitUntil([&] { return windowText(panel) != sp::READY; }, REST_PERIOD + 1500, 2);
}

void sleepUntil(double ms) {
    while (nowMs() < ms) Sleep(1);
}

} // namespace

// Presses at rest with the keyboard switch, each 0.3 to 3 s after the panel
// showed the rest; one that starts no scan (the caption stays "Ready", and
// the benchmark build notes no press) is lost. A press within the fixed
// waits of the STOP press before it (some 100 ms) is dropped by design;
// this pace stays well clear of them.
E2E_CASE(bench_rest) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 2, REST_PERIOD, 0)), "keyboard switch");
    TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"bench rest target"), "target window");
    // The run begins with a fresh start: its first press is one of those.
    std::vector<Way> ways;
    for (int w = 0; w < WAY_COUNT; ++w)
        ways.insert(ways.end(), WAY_PRESSES[w] - (w == WAY_START), static_cast<Way>(w));
    std::mt19937 rng(1807);
    std::shuffle(ways.begin(), ways.end(), rng);
    ways.insert(ways.begin(), WAY_START);
    // A person's pace: mostly just over 0.3 s, now and then up to 3 s.
    std::exponential_distribution<double> lingering(1.0 / 300);

    std::vector<double> notes;
    HWND panel = nullptr;
    double rested = 0;
    // A fresh start; at rest once the start delay has raised the crosshair.
    const auto start = [&] {
        if (panel) {
            closeAndReadHookTimes(run, panel);
            const std::vector<double> more = readPressNotes(run);
            notes.insert(notes.end(), more.begin(), more.end());
            endProduct(run);
        }
        panel = sp::startAndWaitForPanel(run, POINT{500, 400});
        const bool up =
            panel && waitUntil([&] { return sp::shownWindows(run, sp::ARM_CLASSES[0]) > 0; }, 4000, 2);
        rested = nowMs();
        return up;
    };
    // From a running scan to its rest on the STOP cell; a STOP press lost
    // while scanning is pressed again.
    const auto selectStop = [&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!waitForCaption(panel, L"STOP", 8 * REST_PERIOD + 2000)) return false;
            keyTap(SWITCH_KEY);
            if (waitUntil([&] { return windowText(panel) == sp::READY; }, 1000, 2)) {
                rested = nowMs();
                return true;
            }
        }
        return false;
    };
    const auto reachRest = [&](Way way) {
        switch (way) {
        case WAY_STOP: return selectStop();
        case WAY_CLICK: {
            if (!waitForCaption(panel, L"Left Click", 8 * REST_PERIOD + 2000)) return false;
            target.takeMouseMessages();
            keyTap(SWITCH_KEY);
            const std::vector<MouseMessage> got = target.takeMouseMessagesUntil(1, 2000);
            return !got.empty() && got[0].message == WM_LBUTTONDOWN && selectStop();
        }
        case WAY_REARM:
            keyTap(VK_ESCAPE);
            if (!waitUntil([&] { return windowText(panel).rfind(L"Ready (", 0) == 0; }, 3000, 2))
                return false;
            if (!waitUntil([&] { return windowText(panel) == sp::READY; }, 12000, 2)) return false;
            rested = nowMs();
            return true;
        case WAY_START:
        case WAY_COUNT: break;
        }
        return start();
    };

    E2E_REQUIRE(start(), "product up with its crosshair");
    std::vector<RestPress> presses;
    std::string stuck;
    for (size_t i = 0; i < ways.size(); ++i) {
        const Way way = ways[i];
        if (i > 0 && !reachRest(way)) {
            stuck = std::string("no rest ") + WAY_NAMES[way] + ", caption " + narrow(windowText(panel));
            break;
        }
        const double gap = 300 + std::min(2700.0, lingering(rng));
        sleepUntil(rested + gap);
        const double at = nowMs();
        keyTap(SWITCH_KEY);
        bool started = scanStarted(panel);
        presses.push_back({way, at, at - rested, started, nowMs()});
        if (!started)
            log(run, "note lost press " + std::to_string(presses.size()) + " " + WAY_NAMES[way] + ", " +
                         fixed(at - rested, 0) + " ms after the rest showed");
        // Pressed again until it scans, so the run goes on.
        for (int again = 0; !started && again < 3; ++again) {
            Sleep(400);
            keyTap(SWITCH_KEY);
            started = scanStarted(panel);
        }
        if (!started) {
            stuck = "no scan after four presses at rest, caption " + narrow(windowText(panel));
            break;
        }
    }
    closeAndReadHookTimes(run, panel);
    const std::vector<double> more = readPressNotes(run);
    notes.insert(notes.end(), more.begin(), more.end());
    std::sort(notes.begin(), notes.end());

    int lost[WAY_COUNT] = {}, unnoted[WAY_COUNT] = {}, made[WAY_COUNT] = {};
    std::vector<double> gaps;
    for (size_t i = 0; i < presses.size(); ++i) {
        const RestPress& p = presses[i];
        ++made[p.way];
        lost[p.way] += !p.started;
        unnoted[p.way] += notesBetween(notes, p.at, p.until) == 0;
        gaps.push_back(p.gap);
    }
    log(run, "figure presses after the rest showed: " + summary(gaps, " ms"));
    int allLost = 0;
    for (int w = 0; w < WAY_COUNT; ++w) {
        log(run, std::string("figure presses at rest ") + WAY_NAMES[w] + ": " + std::to_string(made[w]) +
                     ", lost " + std::to_string(lost[w]) + " (no press note: " + std::to_string(unnoted[w]) +
                     ")");
        allLost += lost[w] + unnoted[w];
    }
    E2E_CHECK(presses.size() == ways.size(), "1000 presses at rest made (" + std::to_string(presses.size()) +
                                                 (stuck.empty() ? "" : ": " + stuck) + ")");
    E2E_CHECK(allLost == 0, "no press at rest lost");
}
