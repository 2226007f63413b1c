// Benchmark runs of whole tasks through the real exe:
//   bench_rest: 1000 presses at rest, reached in four ways, none lost;
//   bench_pointing: a multidirectional pointing task done by a simulated
//   switch user, its time per selection, errors and throughput.
#include <cstdlib>
#include <cstring>
#include <numeric>
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

namespace {

// ---- The pointing task ---------------------------------------------------

constexpr int TARGETS = 9;
constexpr double TARGET_RADIUS = 20;
constexpr double RING_RADIUS = 250;
constexpr double MEAN_RT = 350, SD_RT = 60, LEAST_RT = 150;
// A glide shorter than this is not worth a cell's wait.
constexpr int LEAST_GLIDE = 10;

struct PointingConfig {
    const char* name;
    const wchar_t* clicks;
    int step;
    int period;
    const char* options; // options.ini, or none
    int rounds;
};
const PointingConfig CONFIGS[] = {
    {"defaults", L"1 1 1 1 1", 2, 1500, nullptr, 2},
    {"fastest", L"1 1 1 1 1", 6, 500, nullptr, 3},
    {"(a) point 250/100", L"1 0 0 0 0", 6, 500,
     "point_scan = 1\r\npoint_band_px_s = 250\r\npoint_line_px_s = 100\r\n", 3},
    {"(b) accelerated, clicks after", L"1 0 0 0 0", 6, 500, "acceleration = 1\r\nafter_move = clicks\r\n", 3},
    {"(c) point 300/100", L"1 0 0 0 0", 6, 500, "point_scan = 1\r\n", 3},
    {"(d) point 300/100, back to Point after a click", L"1 0 0 0 0", 6, 500,
     "point_scan = 1\r\npoint_band_px_s = 300\r\npoint_line_px_s = 100\r\nafter_click = point\r\n", 5},
    {"(e) point 250/100, back to Point after a click", L"1 0 0 0 0", 6, 500,
     "point_scan = 1\r\npoint_band_px_s = 250\r\npoint_line_px_s = 100\r\nafter_click = point\r\n", 3},
};
constexpr int RECOMMENDED = 5;

std::string optionValue(const PointingConfig& c, const char* key, const std::string& fallback) {
    const std::string text = c.options ? c.options : "";
    const size_t at = text.find(std::string(key) + " = ");
    if (at == std::string::npos) return fallback;
    const size_t from = at + std::strlen(key) + 3;
    return text.substr(from, text.find('\r', from) - from);
}
int optionNumber(const PointingConfig& c, const char* key, int fallback) {
    return std::atoi(optionValue(c, key, std::to_string(fallback)).c_str());
}

POINT targetCentre(int i) {
    const SIZE s = sp::screenSize();
    const double a = 2 * 3.14159265358979 * i / TARGETS - 3.14159265358979 / 2;
    return {static_cast<LONG>(std::lround(s.cx / 2 + RING_RADIUS * std::cos(a))),
            static_cast<LONG>(std::lround(s.cy / 2 + RING_RADIUS * std::sin(a)))};
}

// Where the time of one selection went.
enum Spent { TO_MOVE_CELL, MOVING, TO_CLICK_CELL, CLICKING, SPENT_COUNT };
const char* const SPENT_NAMES[SPENT_COUNT] = {"scan to a movement cell", "glide or sweeps",
                                              "scan to Left Click", "click's waits"};

struct Click {
    POINT at;
    double ms;
    int presses;
    double spent[SPENT_COUNT];
};

bool isDirection(const std::wstring& caption) {
    return caption == L"LEFT" || caption == L"RIGHT" || caption == L"UP" || caption == L"DOWN";
}

// A person with one switch: reacts to a highlighted cell after its reaction
// time, and presses for a moving glide, band or line when its prediction says,
// moved by its reaction time's error.
class SwitchUser {
public:
    SwitchUser(Run& run, HWND panel, TestWindow& window, const PointingConfig& c)
        : run_(run), panel_(panel), window_(window), c_(c), rt_(MEAN_RT, SD_RT),
          point_(optionNumber(c, "point_scan", 0) == 1),
          most_(optionNumber(c, "acceleration", 0) == 1 ? optionNumber(c, "acceleration_max", 4) : 1),
          rampMs_(optionNumber(c, "acceleration_ms", 2000)) {}

    // Moves to `aim` and clicks there; false if the product stopped answering.
    bool select(POINT aim, Click& out) {
        out = Click{};
        presses_ = 0;
        window_.takeMouseMessages();
        bool xDone = false, yDone = false, pointed = false;
        for (int action = 0; action < 16; ++action) {
            if (windowText(panel_) == sp::READY) {
                press(nowMs() + reaction());
                if (!waitUntil([&] { return windowText(panel_) != sp::READY; }, c_.period + 1500, 2))
                    return fail("no scan after a press at rest");
                continue;
            }
            const POINT at = cursorPos();
            const int dx = aim.x - at.x, dy = aim.y - at.y;
            const bool there = std::abs(dx) < 3 && std::abs(dy) < 3;
            std::wstring want = L"Left Click";
            if (point_ && !pointed && !there)
                want = L"Point";
            else if (!point_ && !xDone && std::abs(dx) >= LEAST_GLIDE)
                want = dx < 0 ? L"LEFT" : L"RIGHT";
            else if (!point_ && !yDone && std::abs(dy) >= LEAST_GLIDE)
                want = dy < 0 ? L"UP" : L"DOWN";
            const double from = nowMs();
            const std::wstring got = pressOnCell(want);
            if (got.empty())
                return fail("no " + narrow(want) + " cell, caption " + narrow(windowText(panel_)));
            const double pressed = pressedMs_;
            out.spent[want == L"Left Click" ? TO_CLICK_CELL : TO_MOVE_CELL] += pressed - from;
            if (got == L"Point") {
                pointed = pointScan(aim) || pointed;
            } else if (isDirection(got)) {
                const bool vertical = got == L"UP" || got == L"DOWN";
                const bool wanted = got == want;
                glide(vertical, wanted ? (vertical ? aim.y : aim.x) : -1);
                (vertical ? yDone : xDone) |= wanted;
            } else if (got == L"STOP") {
                waitForCaption(panel_, sp::READY, 1000);
            } else {
                // A click cell, the wanted one or the next; moves (the
                // pointer's jump among them) may come first.
                for (const double until = nowMs() + 3000; nowMs() < until;)
                    for (const MouseMessage& m : window_.takeMouseMessagesUntil(1, 100)) {
                        if (m.message == WM_MOUSEMOVE || qpcMs(m.qpc) < pressed - 40) continue;
                        out.at = m.client;
                        ClientToScreen(window_.handle(), &out.at);
                        out.ms = qpcMs(m.qpc);
                        out.presses = presses_;
                        out.spent[CLICKING] += out.ms - pressed;
                        return true;
                    }
                return fail("no button-down after " + narrow(got));
            }
            out.spent[MOVING] += nowMs() - pressed;
        }
        return fail("no click after 16 presses");
    }

private:
    bool fail(const std::string& why) {
        stuck = why;
        return false;
    }
    double reaction() { return std::max(LEAST_RT, rt_(rng_)); }
    void press(double atMs) {
        sleepUntil(atMs);
        pressedMs_ = nowMs();
        keyTap(SWITCH_KEY);
        ++presses_;
    }
    // The caption the press met: the wanted one, or the next when the
    // reaction came late; empty if the cell never came.
    std::wstring pressOnCell(const std::wstring& caption) {
        if (!waitUntil([&] { return windowText(panel_) == caption; }, 18 * c_.period + 2000, 2)) return L"";
        sleepUntil(nowMs() + reaction());
        const std::wstring shown = windowText(panel_);
        press(nowMs());
        return shown;
    }

    // The steps of a glide due `ms` after its first, with the acceleration if on.
    double glideSteps(double ms) const {
        const double ramped = ms < rampMs_ ? ms * ms / (2.0 * rampMs_) : ms - rampMs_ / 2.0;
        return (ms + (most_ - 1) * ramped) / 40.0;
    }
    double glideMs(double steps) const {
        double lo = 0, hi = 120000;
        for (int i = 0; i < 40; ++i) ((glideSteps((lo + hi) / 2) < steps) ? lo : hi) = (lo + hi) / 2;
        return lo;
    }
    // Stops the glide at `aim` on its axis; a glide not wanted (aim -1) as
    // soon as the user sees it go.
    void glide(bool vertical, int aim) {
        const POINT start = cursorPos();
        const auto gone = [&] {
            const POINT p = cursorPos();
            return std::abs(vertical ? p.y - start.y : p.x - start.x);
        };
        if (!waitUntil([&] { return gone() > 0; }, 2000, 1)) return;
        const double seen = nowMs(), rt = reaction();
        if (aim < 0) {
            press(seen + rt);
            return;
        }
        const int distance = std::abs(aim - (vertical ? start.y : start.x));
        double arrival = seen;
        do {
            // The glide's usual course at the pace it is seen to keep; half a
            // step on, as it stops at the step before the press.
            const double since = nowMs() - seen;
            const double pace = since < 150 ? 1.0 : gone() / (c_.step * (1 + glideSteps(since)));
            arrival = seen + glideMs((distance + c_.step / 2.0) / (pace * c_.step) - 1);
            Sleep(2);
        } while (nowMs() < arrival - MEAN_RT);
        press(arrival - MEAN_RT + rt);
    }

    // The phase the marks on the screen show: 0 band across, 1 line across,
    // 2 band down, 3 line down; -1 without a band.
    int phaseShown(RECT& band, RECT& line) {
        HWND b = findProductWindow(run_, L"SWITCHPOINT_BAND"),
             l = findProductWindow(run_, L"SWITCHPOINT_LINE");
        if (!b || !IsWindowVisible(b)) return -1;
        band = windowRect(b);
        const bool hasLine = l && IsWindowVisible(l);
        if (hasLine) line = windowRect(l);
        if (band.bottom - band.top > band.right - band.left) return hasLine ? 1 : 0;
        return hasLine && line.right - line.left > line.bottom - line.top ? 3 : 2;
    }
    // The four sweeps, each press timed from the sweep's own start as seen;
    // true once the point is fixed.
    bool pointScan(POINT aim) {
        const SIZE screen = sp::screenSize();
        const double bandV = optionNumber(c_, "point_band_px_s", 300) / 1000.0;
        const double lineV = optionNumber(c_, "point_line_px_s", 100) / 1000.0;
        RECT band{}, line{};
        for (int phase = 0; phase < 4;) {
            if (!waitUntil([&] { return phaseShown(band, line) == phase; }, 1500, 1)) return false;
            const bool across = phase < 2, isBand = phase % 2 == 0;
            const int bw = band.right - band.left, bh = band.bottom - band.top;
            const auto moving = [&] {
                if (isBand) return across ? band.left : band.top;
                return across ? line.left + 1 - band.left : line.top + 1 - band.top;
            };
            const int course =
                isBand ? (across ? screen.cx - bw + 1 : screen.cy - bh + 1) : (across ? bw : bh);
            const int wanted = isBand ? (across ? aim.x - bw / 2 : aim.y - bh / 2)
                                      : (across ? aim.x - band.left : aim.y - band.top);
            const double aimAt = std::clamp(wanted, 0, course - 1) + 0.5, v = isBand ? bandV : lineV;
            const double seen = nowMs(), rt = reaction();
            double began = seen, arrival = seen, last = -1;
            int passes = 0;
            do {
                if (phaseShown(band, line) != phase) break;
                const int at = moving();
                if (at < last) ++passes;
                last = at;
                began = std::min(began, nowMs() - (at + passes * course) / v);
                // Due sooner than a reaction after it showed: on its next pass.
                for (int pass = 0; (arrival = began + (aimAt + pass * course) / v) - MEAN_RT < seen;) ++pass;
                Sleep(2);
            } while (nowMs() < arrival - MEAN_RT);
            press(arrival - MEAN_RT + rt);
            if (waitUntil([&] { return phaseShown(band, line) != phase; }, 1000, 1)) ++phase;
        }
        return true;
    }

    Run& run_;
    HWND panel_;
    TestWindow& window_;
    const PointingConfig& c_;
    std::mt19937 rng_{2024};
    std::normal_distribution<double> rt_;
    bool point_;
    int most_;
    int rampMs_;
    int presses_ = 0;
    double pressedMs_ = 0;

public:
    std::string stuck; // why the last selection could not be made
};

struct PointingFigures {
    double seconds, errorPct, presses, throughput;
};

PointingFigures runPointing(Run& run, const PointingConfig& c) {
    PointingFigures f{-1, 100, 0, 0};
    if (!sp::seedSettings(run, sp::settingsText(c.clicks, c.step, c.period, 0))) return f;
    DeleteFileW(inWorkDir(run, L"options.ini").c_str());
    if (c.options && !sp::seedOptions(run, c.options)) return f;
    const SIZE screen = sp::screenSize();
    TestWindow window;
    if (!window.open(RECT{240, 0, screen.cx, screen.cy}, L"bench pointing")) return f;
    HWND panel = sp::startAndWaitForPanel(run, targetCentre(0));
    if (!panel) return f;
    SwitchUser user(run, panel, window, c);
    Click last{}, click{};
    const bool started = user.select(targetCentre(0), last);
    const int n = c.rounds * TARGETS;
    std::vector<double> along, effective, times;
    double presses = 0, spent[SPENT_COUNT] = {};
    int misses = 0;
    for (int k = 1; started && k <= n; ++k) {
        const POINT from = targetCentre((k - 1) * 5 % TARGETS), to = targetCentre(k * 5 % TARGETS);
        if (!user.select(to, click)) {
            log(run, "note selection " + std::to_string(k) + " not made: " + user.stuck);
            break;
        }
        const auto text = [](POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
        log(run, "note selection " + std::to_string(k) + ": target " + text(to) + ", click " +
                     text(click.at) + ", " + std::to_string(click.presses) + " presses, " +
                     fixed((click.ms - last.ms) / 1000.0) + " s");
        const double ux = to.x - from.x, uy = to.y - from.y, d = std::hypot(ux, uy);
        along.push_back(((click.at.x - to.x) * ux + (click.at.y - to.y) * uy) / d);
        effective.push_back(((click.at.x - last.at.x) * ux + (click.at.y - last.at.y) * uy) / d);
        times.push_back(click.ms - last.ms);
        misses += std::hypot(click.at.x - to.x, click.at.y - to.y) > TARGET_RADIUS;
        presses += click.presses;
        for (int s = 0; s < SPENT_COUNT; ++s) spent[s] += click.spent[s];
        last = click;
    }
    closeAndReadHookTimes(run, panel);
    endProduct(run);
    const double count = static_cast<double>(times.size());
    E2E_CHECK(static_cast<int>(times.size()) == n, std::string("every selection made, ") + c.name + " (" +
                                                       std::to_string(times.size()) + " of " +
                                                       std::to_string(n) + ")");
    if (times.empty()) return f;
    const auto mean = [](const std::vector<double>& v) {
        return std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    };
    double var = 0;
    for (double a : along) var += (a - mean(along)) * (a - mean(along));
    const double we = 4.133 * std::sqrt(var / std::max(1.0, count - 1)), de = mean(effective);
    const double ide = std::log2(de / std::max(we, 1e-9) + 1);
    f = {mean(times) / 1000.0, 100.0 * misses / count, presses / count, ide / (mean(times) / 1000.0)};
    std::string where;
    for (int s = 0; s < SPENT_COUNT; ++s)
        where += std::string(s ? ", " : "") + SPENT_NAMES[s] + " " + fixed(spent[s] / count / 1000.0) + " s";
    log(run, std::string("figure pointing, ") + c.name + ": " + std::to_string(times.size()) +
                 " selections, " + fixed(f.seconds) + " s per selection, errors " + fixed(f.errorPct, 1) +
                 " %, " + fixed(f.presses, 1) + " presses per selection, throughput " + fixed(f.throughput) +
                 " bits/s (De " + fixed(de, 0) + " px, We " + fixed(we, 1) + " px, IDe " + fixed(ide) +
                 " bits; p95 " + fixed(percentile(times, 0.95) / 1000.0) + " s); per selection: " + where);
    return f;
}

} // namespace

// The configurations one after another; BENCH_POINTING_CONFIG=k runs the k-th alone.
E2E_CASE(bench_pointing) {
    const long only = envNumber(L"BENCH_POINTING_CONFIG", 0);
    for (int k = 0; k < static_cast<int>(std::size(CONFIGS)); ++k) {
        if (only > 0 && only != k + 1) continue;
        const PointingFigures f = runPointing(run, CONFIGS[k]);
        if (k != RECOMMENDED) continue;
        E2E_CHECK(f.errorPct < 6.0, "recommended set: errors under 6 % (" + fixed(f.errorPct, 1) + " %)");
        E2E_CHECK(f.seconds > 0 && f.seconds <= 6.0,
                  "recommended set: at most 6 s per selection (" + fixed(f.seconds) + " s)");
    }
}
