// The program on a screen scaled to 150 %: run_case.sh sets the prefix's
// DPI to 144, on a 1536 x 1152 screen, for the cases whose names end in _144_dpi.
#include "product.h"

namespace {

constexpr int DPI = 144;
// 45, 10, 3 and 40 pixels at 96 DPI, scaled and rounded as MulDiv rounds.
constexpr int CELL = 68;
constexpr int GAP = 15;
constexpr int THICK = 5;
constexpr int HELP_BOX = 60;
// The help box sits 20 px right of the pointer and 60 px above it at 96 DPI.
constexpr int HELP_BESIDE = 30;
constexpr int HELP_ABOVE = 90;
constexpr int CONFIG_WIDTH = 960;
constexpr int CONFIG_HEIGHT = 833;
constexpr POINT PARK{700, 500};

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

E2E_CASE(panel_at_144_dpi) {
    // The driver sees physical pixels, as the product does.
    SetProcessDPIAware();
    E2E_REQUIRE_EQ(screenDpi(), DPI, "the screen's DPI in this prefix");
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, 1000, 0, 1, 0)),
                "keyboard switch, help box on");
    HWND panel = sp::startAndWaitForPanel(run, PARK);
    if (!panel) return;

    const RECT outer = e2e::windowRect(panel);
    E2E_CHECK_EQ(outer.right - outer.left, 2 * GetSystemMetrics(SM_CXFRAME) + 5 * CELL - 3,
                 "panel outer width: five 68 px cells, 3 px less, and the frame");
    E2E_CHECK_EQ(outer.bottom - outer.top,
                 2 * GetSystemMetrics(SM_CYMENU) - 2 * GetSystemMetrics(SM_CYFRAME) + 2 * CELL,
                 "panel outer height: two rows of 68 px cells");
    for (int i = 0; i < sp::CELL_COUNT; ++i) {
        const std::string name = "cell " + std::to_string(i);
        HWND cell = GetDlgItem(panel, i);
        if (!E2E_CHECK(cell != nullptr, name + " found by its control id")) continue;
        const RECT c = e2e::rectInParent(cell);
        const RECT want{CELL * (i % sp::CELLS_PER_ROW), CELL * (i / sp::CELLS_PER_ROW),
                        CELL * (i % sp::CELLS_PER_ROW + 1), CELL * (i / sp::CELLS_PER_ROW + 1)};
        E2E_CHECK(EqualRect(&c, &want) != FALSE,
                  name + " at " + e2e::rectText(want) + ": " + e2e::rectText(c));
    }

    // The start delay raises the crosshair and the box around the pointer.
    const SIZE screen = sp::screenSize();
    const RECT arms[4] = {{0, PARK.y, PARK.x - GAP, PARK.y + THICK},
                          {PARK.x + GAP, PARK.y, PARK.x + GAP + screen.cx, PARK.y + THICK},
                          {PARK.x, 0, PARK.x + THICK, PARK.y - GAP},
                          {PARK.x, PARK.y + GAP, PARK.x + THICK, PARK.y + GAP + screen.cy}};
    for (int a = 0; a < 4; ++a) {
        RECT seen{};
        const bool placed = e2e::waitUntil(
            [&] {
                HWND arm = sp::findArm(run, static_cast<sp::Arm>(a));
                seen = arm ? e2e::windowRect(arm) : RECT{};
                return arm && EqualRect(&seen, &arms[a]);
            },
            4000);
        E2E_CHECK(placed, e2e::narrow(sp::ARM_CLASSES[a]) + " arm 5 px thick, 15 px from the pointer: want " +
                              e2e::rectText(arms[a]) + ", got " + e2e::rectText(seen));
    }
    HWND box = e2e::waitForProductWindow(run, L"AYUDA", 4000);
    E2E_REQUIRE(box != nullptr, "the help box comes up with the crosshair");
    const RECT wantBox{PARK.x + HELP_BESIDE, PARK.y - HELP_ABOVE, PARK.x + HELP_BESIDE + HELP_BOX,
                       PARK.y - HELP_ABOVE + HELP_BOX};
    RECT seenBox{};
    const bool boxPlaced = e2e::waitUntil(
        [&] {
            seenBox = e2e::windowRect(box);
            return EqualRect(&seenBox, &wantBox) != FALSE;
        },
        2000);
    E2E_CHECK(boxPlaced,
              "help box 60 px, 30 px right of and 90 px above the pointer: " + e2e::rectText(seenBox));

    // Scanning, so the picture shows a highlighted cell and its icon in the box.
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"LEFT", 3000), "the scan reaches LEFT");
    e2e::pause(200);
    e2e::log(run, "area " + e2e::rectText(outer));
    e2e::requestScreenshot(run);

    // The settings window, opened with a click on the panel, is scaled too.
    E2E_REQUIRE(e2e::mouseMoveTo(outer.left + CELL / 2, outer.bottom - CELL / 2), "pointer onto the panel");
    e2e::pause(200);
    sp::clickHere();
    HWND config = nullptr;
    const bool opened = e2e::waitUntil(
        [&] {
            config = e2e::findProductWindow(run, L"CONFIGURACI\u00D3N");
            return config && IsWindowVisible(config) && GetDlgItem(config, 0);
        },
        4000);
    E2E_REQUIRE(opened, "the settings window opens");
    const RECT c = e2e::windowRect(config);
    E2E_CHECK(c.left == (screen.cx - CONFIG_WIDTH) / 2 && c.top == (screen.cy - CONFIG_HEIGHT) / 2,
              "settings window centred: " + e2e::rectText(c));
    E2E_CHECK_EQ(c.right - c.left, CONFIG_WIDTH, "settings window width (640 at 96 DPI)");
    E2E_CHECK_EQ(c.bottom - c.top, CONFIG_HEIGHT, "settings window height (555 at 96 DPI)");
    HWND accept = GetDlgItem(config, 0);
    if (E2E_CHECK(accept != nullptr, "ACEPTAR found")) {
        const RECT a = e2e::rectInParent(accept);
        E2E_CHECK(a.left == 645 && a.top == 732 && a.right - a.left == 135 && a.bottom - a.top == 41,
                  "ACEPTAR at (645, 732), 135 x 41: " + e2e::rectText(a));
    }
}
