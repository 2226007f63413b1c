// Crosshair and pointer movement cases: where the arms are and how they
// look, and how a selected direction moves the pointer and the arms.
#include "product.h"

#include <cstdio>

namespace {

std::string pointText(POINT p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

struct PointerSample {
    POINT p;
    ULONGLONG at;
};

// Records every change of the pointer position until `done` holds for the
// latest sample or timeoutMs passes.
std::vector<PointerSample> trackPointer(int timeoutMs, const std::function<bool(const POINT&)>& done) {
    std::vector<PointerSample> samples{{e2e::cursorPos(), GetTickCount64()}};
    e2e::waitUntil(
        [&] {
            const POINT now = e2e::cursorPos();
            const POINT& last = samples.back().p;
            if (now.x != last.x || now.y != last.y) samples.push_back({now, GetTickCount64()});
            return done(now);
        },
        timeoutMs, 2);
    return samples;
}

// Index of the first sample at or after `from` that meets pred, or -1.
int findSample(const std::vector<PointerSample>& samples, size_t from,
               const std::function<bool(const POINT&)>& pred) {
    for (size_t i = from; i < samples.size(); ++i)
        if (pred(samples[i].p)) return static_cast<int>(i);
    return -1;
}

bool pointerRests(int ms) {
    const POINT start = e2e::cursorPos();
    return !e2e::waitUntil(
        [&] {
            const POINT now = e2e::cursorPos();
            return now.x != start.x || now.y != start.y;
        },
        ms, 5);
}

} // namespace

E2E_CASE(crosshair_arms) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, 1500, 0)),
                "keyboard-switch config.ini seeded");
    const POINT first{700, 500};
    HWND panel = sp::startAndWaitForPanel(run, first);
    if (!panel) return;

    // No press yet: the start delay alone brings the crosshair up.
    const ULONGLONG shown = GetTickCount64();
    const bool up = e2e::waitUntil([&] { return sp::crosshairAt(run, first); }, 4000);
    const ULONGLONG delay = GetTickCount64() - shown;
    E2E_CHECK(up && delay >= 1200 && delay <= 2500,
              "crosshair comes up by itself about 1.5 s after the panel (after " + std::to_string(delay) +
                  " ms" + (up ? ")" : ", not in place)"));
    sp::checkCrosshairAt(run, first, "after the start delay");

    // A press re-creates the arms around the pointer where it is now; the
    // keyboard switch leaves the old crosshair where it was until then.
    const POINT p{600, 400};
    E2E_REQUIRE(e2e::mouseMoveTo(p.x, p.y), "pointer moved to (600,400)");
    e2e::pause(100);
    E2E_CHECK(sp::crosshairAt(run, first), "crosshair stays put until the press");
    sp::tapSwitchKey();
    e2e::waitUntil([&] { return sp::crosshairAt(run, p); }, 1500);
    sp::checkCrosshairAt(run, p, "after the first press");

    for (int a = sp::ARM_LEFT; a <= sp::ARM_DOWN; ++a) {
        HWND arm = sp::findArm(run, static_cast<sp::Arm>(a));
        if (!arm) continue;
        const std::string name = e2e::narrow(sp::ARM_CLASSES[a]) + " arm";
        E2E_CHECK_EQ(sp::shownWindows(run, sp::ARM_CLASSES[a]), 1,
                     name + " shown once: the press closed the earlier one");
        DWORD pid = 0;
        GetWindowThreadProcessId(arm, &pid);
        E2E_CHECK_EQ(pid, run.product.dwProcessId, name + " belongs to the product");
        const LONG_PTR ex = GetWindowLongPtrW(arm, GWL_EXSTYLE);
        E2E_CHECK((ex & WS_EX_TOPMOST) != 0 && (ex & WS_EX_LAYERED) != 0, name + " is topmost and layered");
        E2E_CHECK((GetWindowLongPtrW(arm, GWL_STYLE) & WS_CAPTION) == 0, name + " has no caption");
    }

    const SIZE screen = sp::screenSize();
    e2e::ScreenGrab grab;
    E2E_REQUIRE(e2e::grabScreen(RECT{0, 0, screen.cx, screen.cy}, grab), "screen read");
    // One pixel halfway along each arm, and each arm's end next to the gap.
    const POINT mids[4] = {{p.x / 2, p.y + 1},
                           {(p.x + 10 + screen.cx) / 2, p.y + 1},
                           {p.x + 1, p.y / 2},
                           {p.x + 1, (p.y + 10 + screen.cy) / 2}};
    const POINT ends[4] = {{p.x - 11, p.y}, {p.x + 10, p.y + 2}, {p.x + 2, p.y - 11}, {p.x, p.y + 10}};
    for (int a = 0; a < 4; ++a) {
        const std::string name = e2e::narrow(sp::ARM_CLASSES[a]) + " arm";
        E2E_CHECK_COLOUR(grab.at(mids[a].x, mids[a].y), sp::LINE_RED,
                         name + " is red halfway along, at " + pointText(mids[a]));
        E2E_CHECK_COLOUR(grab.at(ends[a].x, ends[a].y), sp::LINE_RED,
                         name + " is red at its end by the gap, at " + pointText(ends[a]));
    }
    int red = 0;
    for (int y = p.y - 10; y <= p.y + 9; ++y)
        for (int x = p.x - 10; x <= p.x + 9; ++x)
            if (grab.at(x, y) == sp::LINE_RED) ++red;
    E2E_CHECK_EQ(red, 0, "no arm pixel in the gap square (x-10..x+9, y-10..y+9)");
}

// RIGHT from near the right edge: the step rate, the wrap to the left edge
// and the stop; then LEFT from there wraps back to the right edge.
E2E_CASE(move_and_wrap) {
    constexpr int STEP = 2;
    constexpr int PERIOD = 200;
    // With drag as the only click kind the way round from UP to LEFT is short.
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"0 0 0 0 1", STEP, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    const POINT start{900, 400};
    HWND panel = sp::startAndWaitForPanel(run, start);
    if (!panel) return;
    const SIZE screen = sp::screenSize();
    // The start delay rebuilds the crosshair, which holds up a movement step
    // or two; let it pass so that the rate below is the movement's own.
    e2e::waitUntil([&] { return sp::crosshairAt(run, start); }, 2500);

    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"RIGHT", 4 * PERIOD + 1000), "scan reaches RIGHT");
    const ULONGLONG pressed = sp::tapSwitchKey();

    // Past the edge and a little beyond, so the steps after the wrap show too.
    int wrapAt = -1;
    std::vector<PointerSample> right = trackPointer(5000, [&](const POINT& now) {
        if (wrapAt < 0 && now.x <= 3) wrapAt = 0;
        return wrapAt == 0 && now.x >= 8;
    });
    const ULONGLONG stopPressed = sp::tapSwitchKey();
    E2E_REQUIRE(right.size() > 1, "pointer moves after RIGHT is selected");
    E2E_CHECK(right[1].at - pressed <= 600,
              "first step within 600 ms of the press (" + std::to_string(right[1].at - pressed) + " ms)");

    // Rate and direction from the run well clear of the edge.
    const int pastClear = findSample(right, 1, [&](const POINT& q) { return q.x > 1010 || q.x < start.x; });
    const int lastClear = (pastClear < 0 ? static_cast<int>(right.size()) : pastClear) - 1;
    E2E_REQUIRE(lastClear > 1, "pointer moved right from (900,400) towards the edge");
    const PointerSample& a = right[1];
    const PointerSample& b = right[static_cast<size_t>(lastClear)];
    const double seconds = static_cast<double>(b.at - a.at) / 1000.0;
    const double steps = static_cast<double>(b.p.x - a.p.x) / STEP;
    const double rate = seconds > 0 ? steps / seconds : 0;
    char measured[120];
    std::snprintf(measured, sizeof measured, "%.1f a second: %d px in %.2f s, %d position changes", rate,
                  static_cast<int>(b.p.x - a.p.x), seconds, lastClear);
    E2E_CHECK(seconds >= 1.5 && rate >= 20 && rate <= 30,
              std::string("pointer moves 20 to 30 steps of 2 px a second (") + measured + ")");
    int offRow = 0;
    int backwards = 0;
    for (int i = 1; i <= lastClear; ++i) {
        offRow += right[static_cast<size_t>(i)].p.y != start.y;
        backwards += right[static_cast<size_t>(i)].p.x < right[static_cast<size_t>(i) - 1].p.x;
    }
    E2E_CHECK(offRow == 0 && backwards == 0, "every step goes right along the row (" +
                                                 std::to_string(offRow) + " off the row, " +
                                                 std::to_string(backwards) + " backwards)");

    const int nearEdge = findSample(right, 1, [&](const POINT& q) { return q.x >= screen.cx - 9; });
    const int wrapped = nearEdge < 0 ? -1
                                     : findSample(right, static_cast<size_t>(nearEdge),
                                                  [](const POINT& q) { return q.x <= 3; });
    E2E_CHECK(wrapped > 0 && right[static_cast<size_t>(wrapped) - 1].p.x >= screen.cx - 9,
              "pointer jumps from the right edge to x 1..3 (last " + pointText(right.back().p) + ")");
    if (wrapped > 0)
        E2E_CHECK(right[static_cast<size_t>(wrapped)].at - right[static_cast<size_t>(nearEdge)].at <= 1000,
                  "wrap comes within a second of reaching the edge");

    // The press stops the pointer and scanning goes on after RIGHT.
    std::vector<sp::CaptionChange> resumed = sp::watchCaptions(panel, 1, 3 * PERIOD);
    E2E_CHECK(pointerRests(300), "pointer rests after the next press");
    E2E_CHECK(!resumed.empty() && resumed[0].text == L"UP" && resumed[0].at - stopPressed >= PERIOD * 3 / 4,
              "scanning resumes with UP one period after the press: " + sp::captionList(resumed));
    const POINT stopped = e2e::cursorPos();
    E2E_CHECK(stopped.x < 40 && stopped.y == start.y,
              "pointer stopped near the left edge: " + pointText(stopped));

    // LEFT from there: through the left edge to the right one.
    E2E_REQUIRE(e2e::waitForCaption(panel, L"LEFT", 6 * PERIOD + 500), "scan comes round to LEFT");
    sp::tapSwitchKey();
    int leftWrapAt = -1;
    std::vector<PointerSample> left = trackPointer(2000, [&](const POINT& now) {
        if (leftWrapAt < 0 && now.x >= screen.cx - 3) leftWrapAt = 0;
        return leftWrapAt == 0 && now.x <= screen.cx - 20;
    });
    sp::tapSwitchKey();
    const int leftWrap = findSample(left, 0, [&](const POINT& q) { return q.x >= screen.cx - 3; });
    E2E_CHECK(leftWrap > 0 && left[static_cast<size_t>(leftWrap) - 1].p.x <= 2,
              "pointer moving left jumps from the left edge to x W-1 (samples until " +
                  pointText(left.back().p) + ")");
    resumed = sp::watchCaptions(panel, 1, 3 * PERIOD);
    E2E_CHECK(!resumed.empty() && resumed[0].text == L"RIGHT",
              "scanning resumes with RIGHT after LEFT: " + sp::captionList(resumed));

    // The arms went along with the pointer.
    const POINT end = e2e::cursorPos();
    e2e::waitUntil([&] { return sp::crosshairAt(run, end); }, 500);
    sp::checkCrosshairAt(run, end, "after moving");
}

// Mouse switch: the glide's own steps, even the jump of a wrap, never stop
// it; a hand that moves the mouse by 3 px while it glides does.
E2E_CASE(glide_stopped_by_hand_not_by_itself) {
    constexpr int PERIOD = 250;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"0 0 0 0 0", 2, PERIOD, 1)),
                "mouse-switch config.ini seeded");
    const POINT start{960, 400};
    HWND panel = sp::startAndWaitForPanel(run, start);
    if (!panel) return;
    e2e::waitUntil([&] { return sp::crosshairAt(run, start); }, 2500);
    sp::clickHere();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"RIGHT", 4 * PERIOD + 1500), "the click starts the scan: RIGHT");
    sp::clickHere();

    // Through the right edge and on for some 60 px beyond the wrap.
    bool wrapped = false;
    bool stopped = false;
    std::vector<PointerSample> glide = trackPointer(6000, [&](const POINT& now) {
        stopped = stopped || e2e::windowText(panel) == sp::READY;
        wrapped = wrapped || now.x <= 3;
        return stopped || (wrapped && now.x >= 60);
    });
    E2E_CHECK(wrapped && !stopped && glide.back().p.x >= 60,
              "the glide wraps and goes on, never stopped by its own moves (" + std::to_string(glide.size()) +
                  " positions, last " + pointText(glide.back().p) + (stopped ? ", caption Ready" : "") + ")");
    E2E_CHECK(!pointerRests(200), "the pointer is still gliding");

    // A hand on the mouse: a run of small moves within 3 px of the row.
    const std::wstring gliding = e2e::windowText(panel);
    int sent = 0;
    for (; sent < 36 && e2e::windowText(panel) != sp::READY; ++sent) {
        e2e::sendMouseMove(e2e::cursorPos().x, start.y + 1 + sent % 3);
        e2e::pause(15);
    }
    std::vector<sp::CaptionChange> after = sp::watchCaptions(panel, 2, 2500, nullptr, &gliding);
    sp::checkCaptions(run, after, {sp::READY, L"Ready (5 s)"},
                      "a 3 px hand move stops the glide (after " + std::to_string(sent) +
                          " small moves), then the countdown");
    E2E_CHECK(pointerRests(300), "the pointer rests after the stop");
}
