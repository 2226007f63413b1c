// The program on a screen at 150 %: run_case.sh sets the prefix's DPI to
// 144, on a 1536 x 1152 screen, for the cases whose names end in _144_dpi.
#include "product.h"

namespace {

// 45, 10 and 3 px at 96 DPI, scaled and rounded as MulDiv rounds.
constexpr int CELL = 68;
constexpr int GAP = 15;
constexpr int THICK = 5;
constexpr POINT PARK{700, 500};

// Polls until the window sits at `want`; a check either way, with what it saw.
void checkPlaced(e2e::Run& run, const std::function<HWND()>& find, const RECT& want,
                 const std::string& what) {
    RECT seen{};
    const bool placed = e2e::waitUntil(
        [&] {
            HWND window = find();
            seen = window ? e2e::windowRect(window) : RECT{};
            return window && EqualRect(&seen, &want);
        },
        4000);
    E2E_CHECK(placed, what + ": want " + e2e::rectText(want) + ", got " + e2e::rectText(seen));
}

} // namespace

E2E_CASE(panel_at_144_dpi) {
    // The driver sees physical pixels, as the product does.
    SetProcessDPIAware();
    HDC screenDc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screenDc, LOGPIXELSX);
    ReleaseDC(nullptr, screenDc);
    E2E_REQUIRE_EQ(dpi, 144, "the screen's DPI in this prefix");
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, 1000, 0, 1, 0)),
                "keyboard switch, help box on");
    HWND panel = sp::startAndWaitForPanel(run, PARK);
    if (!panel) return;

    const RECT outer = e2e::windowRect(panel);
    E2E_CHECK_EQ(outer.right - outer.left, 2 * GetSystemMetrics(SM_CXFRAME) + 5 * CELL - 3,
                 "panel outer width");
    E2E_CHECK_EQ(outer.bottom - outer.top,
                 2 * GetSystemMetrics(SM_CYMENU) - 2 * GetSystemMetrics(SM_CYFRAME) + 2 * CELL,
                 "panel outer height");
    for (int i = 0; i < sp::CELL_COUNT; ++i) {
        const int x = CELL * (i % sp::CELLS_PER_ROW), y = CELL * (i / sp::CELLS_PER_ROW);
        const RECT want{x, y, x + CELL, y + CELL};
        const RECT c = e2e::rectInParent(GetDlgItem(panel, i));
        E2E_CHECK(EqualRect(&c, &want) != FALSE,
                  "cell " + std::to_string(i) + " is 68 px: " + e2e::rectText(c));
    }

    // The start delay raises the crosshair and the box around the pointer.
    const SIZE screen = sp::screenSize();
    const RECT arms[4] = {{0, PARK.y, PARK.x - GAP, PARK.y + THICK},
                          {PARK.x + GAP, PARK.y, PARK.x + GAP + screen.cx, PARK.y + THICK},
                          {PARK.x, 0, PARK.x + THICK, PARK.y - GAP},
                          {PARK.x, PARK.y + GAP, PARK.x + THICK, PARK.y + GAP + screen.cy}};
    for (int a = 0; a < 4; ++a)
        checkPlaced(
            run, [&] { return sp::findArm(run, static_cast<sp::Arm>(a)); }, arms[a],
            e2e::narrow(sp::ARM_CLASSES[a]) + " arm 5 px thick, 15 px from the pointer");
    checkPlaced(
        run, [&] { return e2e::findProductWindow(run, L"AYUDA"); }, RECT{730, 410, 790, 470},
        "help box 60 px, 30 px right of the pointer and 90 px above it");

    // Scanning, so the picture shows a highlighted cell and its icon in the box.
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"LEFT", 3000), "the scan reaches LEFT");
    e2e::pause(200);
    e2e::requestScreenshot(run);

    // The settings window, opened with a click on the panel: 640 x 555 at 96
    // DPI, centred, and its controls where the table puts them, scaled.
    E2E_REQUIRE(e2e::mouseMoveTo(outer.left + CELL / 2, outer.bottom - CELL / 2), "pointer onto the panel");
    e2e::pause(200);
    sp::clickHere();
    HWND config = nullptr;
    E2E_REQUIRE(e2e::waitUntil(
                    [&] {
                        config = e2e::findProductWindow(run, L"CONFIGURACI\u00D3N");
                        return config && IsWindowVisible(config) && GetDlgItem(config, 0);
                    },
                    4000),
                "the settings window opens");
    const RECT c = e2e::windowRect(config);
    const RECT wantConfig{(screen.cx - 960) / 2, (screen.cy - 833) / 2, (screen.cx + 960) / 2,
                          (screen.cy - 833) / 2 + 833};
    E2E_CHECK(EqualRect(&c, &wantConfig) != FALSE, "settings window 960 x 833, centred: " + e2e::rectText(c));
    const RECT a = e2e::rectInParent(GetDlgItem(config, 0));
    const RECT wantAccept{645, 732, 645 + 135, 732 + 41};
    E2E_CHECK(EqualRect(&a, &wantAccept) != FALSE, "ACEPTAR at (645, 732), 135 x 41: " + e2e::rectText(a));
}
