// Point scanning seen from outside: the band and the line that sweep the
// screen, four presses timed from their speeds, and the click that then
// lands at the chosen point.
#include <cstdlib>

#include "product.h"

namespace {

constexpr int PERIOD = 250;
constexpr int BAND_PX_S = 120;
constexpr int LINE_PX_S = 20;
// From a mark seen moving to the product acting on the press: the poll, the
// key's way through the hook, and a machine busy with other builds (360 ms
// was seen). At the line's speed that is the tolerance of the point; at
// the band's it must keep the aim, in the band's middle, inside the band.
constexpr int LATENCY_MS = 400;
constexpr int TOLERANCE_PX = LINE_PX_S * LATENCY_MS / 1000;
static_assert(BAND_PX_S * LATENCY_MS / 1000 < 1024 / 10 / 2, "the band's error stays inside the band");
constexpr wchar_t BAND_CLASS[] = L"SWITCHPOINT_BAND";
constexpr wchar_t LINE_CLASS[] = L"SWITCHPOINT_LINE";

double nowMs() {
    LARGE_INTEGER now;
    LARGE_INTEGER rate;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&rate);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(rate.QuadPart);
}

bool across(const RECT& r) { return r.right - r.left < r.bottom - r.top; }

// Where a mark is along its sweep: the band's near edge, the line's middle.
int markPlace(const RECT& r, bool line) {
    if (across(r)) return line ? r.left + 1 : r.left;
    return line ? r.top + 1 : r.top;
}

// Waits until the mark, lying `wantAcross` or not, is seen moving, and taps
// the switch when the sweep at `pxPerS` brings it to `place`. False if it
// was never seen moving.
bool pressWhenMarkAt(HWND mark, bool line, bool wantAcross, int place, int pxPerS) {
    RECT seen = e2e::windowRect(mark);
    double seenAt = 0;
    // The moment it moves is the moment it is where it shows.
    const bool moving = e2e::waitUntil(
        [&] {
            const RECT r = e2e::windowRect(mark);
            const bool moved = across(r) == wantAcross && across(seen) == wantAcross &&
                               markPlace(r, line) != markPlace(seen, line);
            seen = r;
            seenAt = nowMs();
            return moved;
        },
        4000, 2);
    if (!moving) return false;
    const double dueAt = seenAt + 1000.0 * (place - markPlace(seen, line)) / pxPerS;
    while (nowMs() < dueAt) Sleep(1);
    sp::tapSwitchKey();
    return true;
}

} // namespace

// Keyboard switch: the scan reaches Point, and four presses stop the band
// and the line on x, then on y, over a target window's spot. The pointer
// jumps there, the scan goes on at Left Click, and the click lands there.
E2E_CASE(point_scan_clicks_at_the_point) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "point_scan = 1\r\npoint_band_px_s = " + std::to_string(BAND_PX_S) +
                                         "\r\npoint_line_px_s = " + std::to_string(LINE_PX_S) + "\r\n"),
                "options.ini");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e point target"), "target window opens");
    const POINT aim{620, 430};
    HWND panel = sp::startAndWaitForPanel(run, POINT{400, 300});
    if (!panel) return;
    E2E_CHECK(target.bringToFront(), "target window in front");
    const SIZE screen = sp::screenSize();
    const int bandWidth = screen.cx / 10;
    const int bandHeight = screen.cy / 10;

    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Point", 12 * PERIOD + 2000), "the scan reaches Point");
    sp::tapSwitchKey();
    HWND band = e2e::waitForProductWindow(run, BAND_CLASS, 3000);
    E2E_REQUIRE(band != nullptr, "a band shows");
    E2E_CHECK_EQ(e2e::windowRect(band).bottom - e2e::windowRect(band).top, static_cast<LONG>(screen.cy),
                 "the band is as tall as the screen");
    E2E_CHECK_EQ(e2e::windowRect(band).right - e2e::windowRect(band).left, static_cast<LONG>(bandWidth),
                 "the band is a tenth of the screen wide");
    E2E_CHECK(GetForegroundWindow() == target.handle(), "the band leaves the focus where it was");

    E2E_REQUIRE(pressWhenMarkAt(band, false, true, aim.x - bandWidth / 2, BAND_PX_S),
                "the band sweeps right");
    HWND line = e2e::waitForProductWindow(run, LINE_CLASS, 3000);
    // A hand move would have stopped it all: where the pointer is says so.
    E2E_REQUIRE(line != nullptr, "a line shows once the band stops (caption " +
                                     e2e::narrow(e2e::windowText(panel)) + ", pointer " +
                                     std::to_string(e2e::cursorPos().x) + "," +
                                     std::to_string(e2e::cursorPos().y) + ")");
    const RECT stopped = e2e::windowRect(band);
    E2E_CHECK(aim.x >= stopped.left && aim.x < stopped.right,
              "the band stopped over the aim: " + e2e::rectText(stopped));
    E2E_REQUIRE(pressWhenMarkAt(line, true, true, aim.x, LINE_PX_S), "the line sweeps inside the band");
    // While y is sought the line stays where x was fixed.
    E2E_CHECK(e2e::waitUntil([&] { return !across(e2e::windowRect(band)); }, 2000), "the band turns");
    const int fixedX = markPlace(e2e::windowRect(line), true);
    e2e::log(run, "x fixed at " + std::to_string(fixedX) + " for " + std::to_string(aim.x));

    E2E_REQUIRE(pressWhenMarkAt(band, false, false, aim.y - bandHeight / 2, BAND_PX_S),
                "the band sweeps down");
    E2E_REQUIRE(pressWhenMarkAt(line, true, false, aim.y, LINE_PX_S), "the line sweeps down inside the band");

    E2E_CHECK(
        e2e::waitUntil(
            [&] { return sp::shownWindows(run, BAND_CLASS) + sp::shownWindows(run, LINE_CLASS) == 0; }, 2000),
        "the marks go");
    const std::vector<sp::CaptionChange> next = sp::watchCaptions(panel, 1, 3 * PERIOD + 2000);
    E2E_CHECK(!next.empty() && next[0].text == L"Left Click",
              "the scan goes on at the first click cell (" + sp::captionList(next) + ")");
    const POINT at = e2e::cursorPos();
    E2E_CHECK(std::abs(at.x - aim.x) <= TOLERANCE_PX && std::abs(at.y - aim.y) <= TOLERANCE_PX,
              "the pointer is at the aim within " + std::to_string(TOLERANCE_PX) +
                  " px: " + std::to_string(at.x) + "," + std::to_string(at.y));
    E2E_CHECK_EQ(at.x, fixedX, "the pointer is on the line shown");
    sp::checkCrosshairAt(run, at, "after the jump");

    target.takeMouseMessages();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Left Click", 12 * PERIOD + 1000), "the scan is on Left Click");
    sp::tapSwitchKey();
    std::vector<e2e::MouseMessage> got = target.takeMouseMessagesUntil(2, 2000);
    POINT client = at;
    ScreenToClient(target.handle(), &client);
    int downs = 0;
    bool allAt = true;
    for (const e2e::MouseMessage& m : got) {
        if (m.message == WM_MOUSEMOVE) continue;
        downs += m.message == WM_LBUTTONDOWN;
        if (m.client.x != client.x || m.client.y != client.y) allAt = false;
    }
    E2E_CHECK_EQ(downs, 1, "one left click reaches the target");
    E2E_CHECK(allAt, "the click lands at the point");
}

// The guide's picture: the band stopped and the line sweeping inside it.
E2E_CASE(screenshot_point_scan) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "point_scan = 1\r\npoint_line_px_s = 20\r\n"), "options.ini");
    HWND panel = sp::startAndWaitForPanel(run, POINT{600, 420});
    if (!panel) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Point", 14 * PERIOD + 2000), "the scan reaches Point");
    sp::tapSwitchKey();
    HWND band = e2e::waitForProductWindow(run, BAND_CLASS, 3000);
    E2E_REQUIRE(band != nullptr, "a band shows");
    E2E_REQUIRE(e2e::waitUntil([&] { return e2e::windowRect(band).left >= 480; }, 4000), "the band sweeps");
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForProductWindow(run, LINE_CLASS, 3000) != nullptr, "a line shows");
    e2e::pause(1200);
    // The screen above the taskbar; make screenshots adds 8 pixels around the area.
    const SIZE screen = sp::screenSize();
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const LONG bottom = taskbar ? e2e::windowRect(taskbar).top : screen.cy;
    e2e::log(run, "area " + e2e::rectText(RECT{0, 0, screen.cx - 8, bottom - 8}));
    e2e::requestScreenshot(run);
}
