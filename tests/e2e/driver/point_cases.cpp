// Point scanning: presses timed from the sweeps' speeds put a click on a window.
#include <cstdlib>

#include <algorithm>

#include "product.h"

namespace {

constexpr int PERIOD = 250;
constexpr int BAND_PX_S = 120;
constexpr int LINE_PX_S = 20;
// How much later one press may act than the one before on a busy machine.
constexpr int JITTER_MS = 400;
constexpr int TOLERANCE_PX = LINE_PX_S * JITTER_MS / 1000;
static_assert(BAND_PX_S * JITTER_MS / 1000 < 1024 / 10 / 2, "the band's error stays inside the band");

// Taps the switch once a sweep begun at `from` has gone `px` pixels.
ULONGLONG tapAfter(ULONGLONG from, long long px, int pxPerS) {
    while (static_cast<long long>(GetTickCount64() - from) < px * 1000 / pxPerS) Sleep(1);
    return sp::tapSwitchKey();
}

} // namespace

E2E_CASE(point_scan_clicks_at_the_point) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "point_scan = 1\r\npoint_band_px_s = 120\r\npoint_line_px_s = 20\r\n"),
                "options.ini");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e point target"), "target window opens");
    const POINT aim{620, 430};
    HWND panel = sp::startAndWaitForPanel(run, POINT{400, 300});
    if (!panel) return;
    E2E_CHECK(target.bringToFront(), "target window in front");
    const SIZE screen = sp::screenSize();
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Point", 12 * PERIOD + 2000), "the scan reaches Point");
    const ULONGLONG bandX = sp::tapSwitchKey();
    HWND band = e2e::waitForProductWindow(run, L"SWITCHPOINT_BAND", 3000);
    E2E_REQUIRE(band != nullptr, "a band shows");
    E2E_CHECK(GetForegroundWindow() == target.handle(), "the band leaves the focus where it was");

    const ULONGLONG lineX = tapAfter(bandX, aim.x - screen.cx / 20, BAND_PX_S);
    e2e::pause(300);
    const RECT stopped = e2e::windowRect(band);
    E2E_REQUIRE(aim.x >= stopped.left && aim.x < stopped.right,
                "the band stops over the aim: " + e2e::rectText(stopped) + ", " +
                    e2e::narrow(e2e::windowText(panel)));
    const ULONGLONG bandY = tapAfter(lineX, aim.x - stopped.left, LINE_PX_S);
    const ULONGLONG lineY = tapAfter(bandY, aim.y - screen.cy / 20, BAND_PX_S);
    e2e::pause(300);
    const RECT down = e2e::windowRect(band);
    E2E_REQUIRE(aim.y >= down.top && aim.y < down.bottom,
                "the band stops across the aim: " + e2e::rectText(down));
    tapAfter(lineY, aim.y - down.top, LINE_PX_S);

    E2E_CHECK(e2e::waitForCaption(panel, L"Left Click", 3 * PERIOD + 2000), "the scan goes on at the clicks");
    // The click lights as the pointer jumps; the jump may land a little later.
    POINT at{};
    E2E_CHECK(e2e::waitUntil(
                  [&] {
                      at = e2e::cursorPos();
                      return std::abs(at.x - aim.x) <= TOLERANCE_PX && std::abs(at.y - aim.y) <= TOLERANCE_PX;
                  },
                  1000),
              "the pointer is at the aim: " + std::to_string(at.x) + "," + std::to_string(at.y));
    target.takeMouseMessages();
    sp::tapSwitchKey();
    POINT client = at;
    ScreenToClient(target.handle(), &client);
    // A late move of the jump may come before the button.
    const std::vector<e2e::MouseMessage> got = target.takeMouseMessagesUntil(2, 2000);
    const auto button = std::find_if(got.begin(), got.end(),
                                     [](const e2e::MouseMessage& m) { return m.message != WM_MOUSEMOVE; });
    E2E_CHECK(button != got.end() && button->message == WM_LBUTTONDOWN && button->client.x == client.x &&
                  button->client.y == client.y,
              "a left click at the point");
}

// The guide's picture: the band stopped, its line sweeping inside it.
E2E_CASE(screenshot_point_scan) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "point_scan = 1\r\npoint_line_px_s = 20\r\n"), "options.ini");
    HWND panel = sp::startAndWaitForPanel(run, POINT{600, 420});
    if (!panel) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Point", 14 * PERIOD + 2000), "the scan reaches Point");
    sp::tapSwitchKey();
    HWND band = e2e::waitForProductWindow(run, L"SWITCHPOINT_BAND", 3000);
    E2E_REQUIRE(band != nullptr, "a band shows");
    E2E_REQUIRE(e2e::waitUntil([&] { return e2e::windowRect(band).left >= 480; }, 4000), "the band sweeps");
    sp::tapSwitchKey();
    e2e::pause(1200);
    // The screen above the taskbar; make screenshots adds 8 pixels around the area.
    const SIZE screen = sp::screenSize();
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const LONG bottom = taskbar ? e2e::windowRect(taskbar).top : screen.cy;
    e2e::log(run, "area " + e2e::rectText(RECT{0, 0, screen.cx - 8, bottom - 8}));
    e2e::requestScreenshot(run);
}
