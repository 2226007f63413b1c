// The "More options" window, opened from the menu and worked with scanned
// left clicks like any window: the keyboard is the switch, so every click
// reaches the window through the scan.
#include "product.h"

namespace {

constexpr int PERIOD = 250;
constexpr wchar_t OPTIONS_CLASS[] = L"SWITCHPOINT_OPTIONS";
constexpr wchar_t POPUP_MENU_CLASS[] = L"#32768";
// The window's controls by id: a row of 32 ids per option from 100, in the
// option table's order; a number's "-", value and "+" follow its label and hint.
constexpr int SCROLL_INTERVAL_ROW = 1;
constexpr int SCROLL_INTERVAL_VALUE = 100 + 32 * SCROLL_INTERVAL_ROW + 3;
constexpr int SCROLL_INTERVAL_PLUS = SCROLL_INTERVAL_VALUE + 1;
constexpr int OK_BUTTON = 1;
// The menu's second item, "More options...", from the menu's top left.
constexpr POINT ON_MORE_OPTIONS{30, 27};

POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool scannedLeftClickAt(HWND panel, POINT at) {
    if (!e2e::mouseMoveTo(at.x, at.y)) return false;
    if (e2e::windowText(panel) == sp::READY) sp::tapSwitchKey();
    // The caption a click leaves names it until the scan's next step, and
    // until then nothing is lit for a press to act on.
    e2e::waitUntil([&] { return e2e::windowText(panel) != L"Left Click"; }, 3 * PERIOD + 1000);
    if (!e2e::waitForCaption(panel, L"Left Click", 12 * PERIOD + 2000)) return false;
    sp::tapSwitchKey();
    return true;
}

// Starts the product with a "Menu" cell, opens the menu with it and picks
// "More options..." with a scanned click; the window, or null.
HWND openMoreOptions(e2e::Run& run, HWND* panelOut, const std::string& extraCells = "menu") {
    if (!E2E_CHECK(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch"))
        return nullptr;
    if (!E2E_CHECK(sp::seedOptions(run, "extra_cells = " + extraCells + "\r\n"), "options.ini"))
        return nullptr;
    // The menu opens under the panel: the pointer waits on the item.
    const POINT onItem{ON_MORE_OPTIONS.x, sp::panelOuterHeight() + sp::CELL_SIZE + ON_MORE_OPTIONS.y};
    HWND panel = sp::startAndWaitForPanel(run, onItem);
    if (!panel) return nullptr;
    *panelOut = panel;
    sp::tapSwitchKey();
    if (!E2E_CHECK(e2e::waitForCaption(panel, L"Menu", 12 * PERIOD + 2000), "the scan reaches Menu"))
        return nullptr;
    sp::tapSwitchKey();
    if (!E2E_CHECK(e2e::waitUntil([&] { return sp::shownWindows(run, POPUP_MENU_CLASS) == 1; }, 3000),
                   "the menu opens"))
        return nullptr;
    if (!E2E_CHECK(scannedLeftClickAt(panel, onItem), "scanned click on More options...")) return nullptr;
    const bool shown = e2e::waitUntil([&] { return sp::shownWindows(run, OPTIONS_CLASS) == 1; }, 3000);
    if (!E2E_CHECK(shown, "the options window opens")) return nullptr;
    return sp::shownProductWindows(run, OPTIONS_CLASS).front();
}

} // namespace

// "+" on the scroll interval and "OK", all by scanned clicks: the file holds
// the new value, the window never took the focus, and the panel scans on.
E2E_CASE(options_window_saves) {
    HWND panel = nullptr;
    HWND window = openMoreOptions(run, &panel);
    if (!window) return;
    E2E_CHECK_EQ(e2e::windowText(window), std::wstring(L"More options"), "the title, in English");
    E2E_CHECK(GetForegroundWindow() != window, "the window has not taken the focus");
    HWND value = GetDlgItem(window, SCROLL_INTERVAL_VALUE);
    E2E_CHECK_EQ(e2e::windowText(value), std::wstring(L"200"), "the scroll interval's value");
    const RECT plus = e2e::windowRect(GetDlgItem(window, SCROLL_INTERVAL_PLUS));
    E2E_CHECK(plus.bottom - plus.top >= 24, "the \"+\" is at least 24 px high: " + e2e::rectText(plus));
    E2E_REQUIRE(scannedLeftClickAt(panel, centreOf(plus)), "scanned click on +");
    e2e::waitUntil([&] { return e2e::windowText(value) == L"250"; }, 3000);
    E2E_CHECK_EQ(e2e::windowText(value), std::wstring(L"250"), "the value goes up one step");
    E2E_CHECK(GetForegroundWindow() != window, "still without the focus");

    E2E_REQUIRE(scannedLeftClickAt(panel, centreOf(e2e::windowRect(GetDlgItem(window, OK_BUTTON)))),
                "scanned click on OK");
    E2E_CHECK(e2e::waitUntil([&] { return sp::shownWindows(run, OPTIONS_CLASS) == 0; }, 3000),
              "OK closes the window");
    std::vector<unsigned char> bytes;
    E2E_REQUIRE(e2e::readFileBytes(e2e::inWorkDir(run, L"options.ini"), bytes), "options.ini is there");
    const std::string text(bytes.begin(), bytes.end());
    E2E_CHECK(text.find("scroll_interval_ms = 250") != std::string::npos, "options.ini holds 250: " + text);
    E2E_CHECK(text.find("extra_cells = menu") != std::string::npos, "and keeps the seeded line");
    const std::vector<sp::CaptionChange> next = sp::watchCaptions(panel, 2, 3 * PERIOD + 2000);
    E2E_CHECK_EQ(next.size(), static_cast<size_t>(2), "the panel still scans: " + sp::captionList(next));
}

E2E_CASE(screenshot_more_options) {
    HWND panel = nullptr;
    HWND window = openMoreOptions(run, &panel, "menu scroll_up scroll_down");
    if (!window) return;
    e2e::pause(500); // every control painted
    // make screenshots cuts the picture to this area.
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(window)));
    e2e::requestScreenshot(run);
}

// On a screen 600 pixels high the window fits the work area and scrolls;
// scanned clicks page it down and reach "OK".
E2E_CASE(options_window_scrolls_600_high) {
    HWND panel = nullptr;
    HWND window = openMoreOptions(run, &panel);
    if (!window) return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT frame = e2e::windowRect(window);
    E2E_CHECK(frame.top >= work.top && frame.bottom <= work.bottom,
              "within the work area " + e2e::rectText(work) + ": " + e2e::rectText(frame));
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HWND ok = GetDlgItem(window, OK_BUTTON);
    E2E_CHECK(e2e::windowRect(ok).top >= client.bottom, "OK below the client at first");
    // The scroll bar right of the client, just above its down arrow: a page down.
    const POINT pageDown{client.right + GetSystemMetrics(SM_CXVSCROLL) / 2,
                         client.bottom - GetSystemMetrics(SM_CYVSCROLL) - 4};
    for (int page = 0; page < 3 && e2e::windowRect(ok).bottom > client.bottom; ++page) {
        E2E_REQUIRE(scannedLeftClickAt(panel, pageDown), "scanned click on the scroll bar");
        e2e::waitUntil([&] { return e2e::windowRect(ok).bottom <= client.bottom; }, 2000);
    }
    const RECT shown = e2e::windowRect(ok);
    E2E_REQUIRE(shown.top >= client.top && shown.bottom <= client.bottom, "OK scrolled into view");
    E2E_REQUIRE(scannedLeftClickAt(panel, centreOf(shown)), "scanned click on OK");
    E2E_CHECK(e2e::waitUntil([&] { return sp::shownWindows(run, OPTIONS_CLASS) == 0; }, 3000),
              "OK closes the window");
    E2E_CHECK(GetFileAttributesW(e2e::inWorkDir(run, L"options.ini").c_str()) != INVALID_FILE_ATTRIBUTES,
              "options.ini saved");
}
