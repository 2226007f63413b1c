// Cases for options.ini: the panel's third row and the wheel its scroll
// cells turn.
#include "product.h"

namespace {

constexpr int PERIOD = 250;

} // namespace

// A scroll cell turns the wheel of the window under the pointer, a notch a
// time, until the next press; the scan then goes on.
E2E_CASE(scroll_cell_turns_the_wheel) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "extra_cells = scroll_down\r\nscroll_interval_ms = 150\r\n"),
                "options.ini");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e wheel target"), "target window opens");
    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;
    E2E_CHECK_EQ(e2e::windowRect(panel).bottom - e2e::windowRect(panel).top,
                 sp::panelOuterHeight() + sp::CELL_SIZE, "the panel has a third row");
    E2E_CHECK(target.bringToFront(), "target window in front");
    target.takeMouseMessages();

    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Scroll Down", 10 * PERIOD + 2000),
                "the scan reaches Scroll Down");
    sp::tapSwitchKey();
    e2e::pause(700);
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", 3 * PERIOD + 1000), "the scan goes on after the press");
    const std::vector<e2e::MouseMessage> turns = target.takeMouseMessages();
    e2e::pause(500);
    E2E_CHECK(target.takeMouseMessages().empty(), "no turn after the press that stopped it");

    POINT at{500, 400};
    ScreenToClient(target.handle(), &at);
    int down = 0;
    bool allAtPointer = true;
    for (const e2e::MouseMessage& m : turns) {
        if (m.message == WM_MOUSEWHEEL && m.wheel == -WHEEL_DELTA) ++down;
        if (m.client.x != at.x || m.client.y != at.y) allAtPointer = false;
    }
    // A notch at once, then one every 150 ms for the 0.7 s until the press.
    E2E_CHECK(down >= 4 && down <= 7, "notches down in 0.7 s: " + std::to_string(down));
    E2E_CHECK_EQ(static_cast<int>(turns.size()), down, "nothing but notches down");
    E2E_CHECK(allAtPointer, "every notch at the pointer");
}
