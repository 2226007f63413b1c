// Scanning cases: the order and pace of the highlight, the captions, the
// cell colours on the way, and stopping and resuming on the STOP cell.
#include "product.h"

namespace {

const std::vector<std::wstring> ALL_KINDS_ORDER = {
    L"STOP",         L"LEFT",         L"RIGHT",         L"UP",   L"DOWN", L"Left Click", L"Double Left Click",
    L"Middle Right", L"Middle Click", L"Click To Drag", L"STOP", L"LEFT"};

// A fresh crosshair shows before the product has settled (20 ms) and applied
// the settings; only then does its scan timer start.
constexpr int CROSSHAIR_SETTLE_MS = 50;

// A press at rest: when it went in, and when its fresh crosshair was seen
// up (0: never).
struct Resume {
    ULONGLONG pressed = 0;
    ULONGLONG rebuilt = 0;
};

Resume pressAndWaitForCrosshair(e2e::Run& run) {
    HWND before = sp::findArm(run, sp::ARM_LEFT);
    Resume r;
    r.pressed = sp::tapSwitchKey();
    r.rebuilt = sp::waitForFreshCrosshair(run, before, 1000);
    E2E_CHECK(r.rebuilt != 0, "the press builds a fresh crosshair (after " +
                                  std::to_string(r.rebuilt ? r.rebuilt - r.pressed : 0) + " ms)");
    return r;
}

// The first step comes a whole period after the scan timer starts, ±25 %
// for polling. The timer starts between the press and the crosshair being
// seen: the arms are other threads' windows, and on a loaded machine they
// can show well after the timer has started, so the step is no earlier than
// a period after the press and no later than a period after the crosshair.
bool firstStepInTime(const Resume& r, ULONGLONG step, int periodMs, std::string* said) {
    const long long fromPress = static_cast<long long>(step - r.pressed);
    const long long fromCrosshair = static_cast<long long>(step) - static_cast<long long>(r.rebuilt);
    *said = std::to_string(fromPress) + " ms after the press, " + std::to_string(fromCrosshair) +
            " ms after the crosshair";
    return fromPress >= periodMs * 3 / 4 && fromCrosshair <= periodMs * 5 / 4 + CROSSHAIR_SETTLE_MS;
}

// Scans from a press at rest and checks the caption order and the cells at
// each step. *resume: when the press went in and its crosshair was seen.
std::vector<sp::CaptionChange> scanAndCheck(e2e::Run& run, HWND panel, const wchar_t* clicks,
                                            const std::vector<std::wstring>& order, int periodMs,
                                            Resume* resume) {
    std::string wrongCells;
    *resume = pressAndWaitForCrosshair(run);
    std::vector<sp::CaptionChange> changes =
        sp::watchCaptions(panel, order.size(), static_cast<int>(order.size()) * periodMs + 1500,
                          [&](const sp::CaptionChange& c) {
                              // The cells are painted around the caption change: give them a moment.
                              const std::string diff = sp::waitForCellColours(
                                  panel, sp::scanColours(sp::cellOfCaption(c.text), clicks), 60);
                              if (!diff.empty()) wrongCells += " [" + e2e::narrow(c.text) + ": " + diff + "]";
                          });
    sp::checkCaptions(run, changes, order, "captions after the first press, one per step");
    E2E_CHECK(wrongCells.empty() && !changes.empty(),
              "at each step the highlighted cell is green, the others near-white (grey if "
              "their click kind is off)" +
                  wrongCells);
    return changes;
}

} // namespace

E2E_CASE(scan_order_timing) {
    constexpr int PERIOD = 300;
    const wchar_t* clicks = L"1 1 1 1 1";
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(clicks, 2, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    Resume resume;
    const std::vector<sp::CaptionChange> changes =
        scanAndCheck(run, panel, clicks, ALL_KINDS_ORDER, PERIOD, &resume);
    if (changes.empty() || resume.rebuilt == 0) return;

    std::string first;
    const bool onTime = firstStepInTime(resume, changes[0].at, PERIOD, &first);
    E2E_CHECK(onTime, "first step a period on: " + first);
    // Each next step a period later; ±25 % leaves room for polling, not for
    // a wrong period.
    std::string intervals;
    bool inRange = true;
    for (size_t i = 1; i < changes.size(); ++i) {
        const long long ms = static_cast<long long>(changes[i].at - changes[i - 1].at);
        inRange = inRange && ms >= PERIOD * 3 / 4 && ms <= PERIOD * 5 / 4;
        intervals += (intervals.empty() ? "" : " ") + std::to_string(ms);
    }
    E2E_CHECK(inRange, "step to step (225..375 ms): " + intervals);
}

E2E_CASE(scan_reduced_set) {
    constexpr int PERIOD = 200;
    const wchar_t* clicks = L"0 1 0 0 1";
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(clicks, 2, PERIOD, 0)),
                "config.ini with only double click and drag seeded");
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    // At rest the start cell is green and the cells that are off already grey.
    const std::string diff = sp::waitForCellColours(panel, sp::scanColours(0, clicks), 2000);
    E2E_CHECK(diff.empty(),
              "at rest cells 5, 7, 8 grey, cell 0 green" + (diff.empty() ? std::string() : ": " + diff));
    Resume resume;
    scanAndCheck(run, panel, clicks,
                 {L"STOP", L"LEFT", L"RIGHT", L"UP", L"DOWN", L"Double Left Click", L"Click To Drag", L"STOP",
                  L"LEFT"},
                 PERIOD, &resume);
    // Between two steps the colours stay as the step painted them: nothing
    // (the title bar's icon, say) may repaint the cells from their states.
    E2E_REQUIRE(e2e::waitForCaption(panel, L"UP", 3 * PERIOD * 7), "scan reaches UP again");
    Sleep(PERIOD / 2);
    const std::string between = sp::waitForCellColours(panel, sp::scanColours(3, clicks), 50);
    E2E_CHECK(between.empty(), "half a period after a step the cells that are off are still grey" +
                                   (between.empty() ? std::string() : ": " + between));
}

E2E_CASE(stop_and_resume) {
    constexpr int PERIOD = 300;
    const wchar_t* clicks = L"1 1 1 1 1";
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(clicks, 2, PERIOD, 0)),
                "keyboard-switch config.ini seeded");
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"STOP", PERIOD + 1000), "scan reaches STOP");
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, sp::READY, PERIOD), "press on STOP gives \"Ready\"");

    // Stopped: the start cell stays green as the selected one, the rest white.
    const std::string diff = sp::waitForCellColours(panel, sp::scanColours(0, clicks), 500);
    E2E_CHECK(diff.empty(),
              "stopped: cell 0 green, the others near-white" + (diff.empty() ? std::string() : ": " + diff));
    const std::vector<sp::CaptionChange> idle = sp::watchCaptions(panel, 1, PERIOD * 5 / 2);
    E2E_CHECK(idle.empty(), "caption stays \"Ready\" for 2.5 periods: " + sp::captionList(idle));

    const Resume resume = pressAndWaitForCrosshair(run);
    const std::vector<sp::CaptionChange> resumed = sp::watchCaptions(panel, 2, 3 * PERIOD);
    sp::checkCaptions(run, resumed, {L"LEFT", L"RIGHT"}, "next press resumes the scan at LEFT, not STOP");
    if (!resumed.empty() && resume.rebuilt != 0) {
        std::string first;
        const bool onTime = firstStepInTime(resume, resumed[0].at, PERIOD, &first);
        E2E_CHECK(onTime, "first step a period on: " + first);
    }
}

// A quick user stops the scan and presses again as soon as "Ready" shows:
// five rounds each 0, 50 and 100 ms after it.
E2E_CASE(press_right_after_ready) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"0 0 0 0 0", 2, 150, 0)),
                "five-cell config.ini seeded");
    HWND panel = sp::startAndWaitForPanel(run);
    const auto ready = [&] { return e2e::windowText(panel) == sp::READY; };
    std::string taken;
    for (int round = 0; panel && round < 15; ++round) {
        if (ready()) sp::tapSwitchKey();
        E2E_REQUIRE(e2e::waitForCaption(panel, L"STOP", 3000), "the scan reaches STOP");
        sp::tapSwitchKey();
        E2E_REQUIRE(e2e::waitUntil(ready, 1000, 1), "the press on STOP gives \"Ready\"");
        Sleep(round / 5 * 50);
        sp::tapSwitchKey();
        taken += e2e::waitUntil([&] { return !ready(); }, 1650) ? '1' : '0';
    }
    E2E_CHECK_EQ(taken, std::string(15, '1'), "each press after \"Ready\" starts a scan (1: it did)");
}
