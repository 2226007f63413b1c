// Configuration window cases: where it opens and what it holds, what its
// controls change at once, what saving and closing leave in the file and
// in the running switch, and scanned clicks on it. The keyboard is the
// switch, so the mouse is free to work the window.
#include "product.h"

#include <commctrl.h>

#include <atomic>
#include <map>
#include <thread>

namespace {

constexpr wchar_t CONFIG_CLASS[] = L"CONFIGURACI\u00D3N";
constexpr int PERIOD = 300;
constexpr POINT PARK{700, 650};

// Control ids the cases press.
constexpr int ACCEPT = 0, CANCEL = 1, RIGHT_TOGGLE = 11, MOUSE_TOGGLE = 14, SOUND_TOGGLE = 16;

// Keyboard switch; the other values differ from the defaults so the window
// visibly opens with the file's values.
std::wstring seededText() {
    return L"1 0 1 1 1\r\n4\r\n" + std::to_wstring(PERIOD) + L"\r\n255\r\n128\r\n1\r\n0\r\n0\r\n";
}

POINT centreOf(HWND control) {
    const RECT r = e2e::windowRect(control);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool clickAt(POINT p) {
    if (!e2e::mouseMoveTo(p.x, p.y)) return false;
    sp::clickHere();
    return true;
}

// A mouse click on a cell of the panel; the window once it is shown.
HWND openByPanelClick(e2e::Run& run, HWND panel) {
    if (!E2E_CHECK(clickAt(centreOf(GetDlgItem(panel, 3))), "pointer on the panel")) return nullptr;
    HWND config = e2e::waitForProductWindow(run, CONFIG_CLASS, 3000);
    if (!E2E_CHECK(config != nullptr, "a click on the panel opens the configuration window")) return nullptr;
    E2E_CHECK(e2e::waitUntil([&] { return IsWindowVisible(config) != FALSE; }, 2000), "window shown");
    e2e::pause(300); // let it paint
    return config;
}

bool clickControl(e2e::Run& run, HWND config, int id) {
    HWND control = GetDlgItem(config, id);
    return E2E_CHECK(control && clickAt(centreOf(control)), "clicked control " + std::to_string(id));
}

// The toggle's mark as seen on the screen: "on" (green tick), "off" (red
// cross) or "?".
std::string toggleMark(HWND config, int id) {
    e2e::ScreenGrab grab;
    if (!e2e::grabScreen(e2e::windowRect(GetDlgItem(config, id)), grab)) return "?";
    int green = 0, red = 0;
    for (COLORREF c : grab.pixels) {
        const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
        green += g > 120 && r < 100 && b < 100;
        red += r > 170 && g < 90 && b < 90;
    }
    return green > 10 && red == 0 ? "on" : red > 10 && green == 0 ? "off" : "?";
}

bool waitForMark(HWND config, int id, const std::string& mark) {
    return e2e::waitUntil([&] { return toggleMark(config, id) == mark; }, 2000, 20);
}

bool waitClosed(HWND config) {
    return e2e::waitUntil([&] { return IsWindow(config) == FALSE; }, 3000);
}

std::wstring fileText(e2e::Run& run) {
    const std::vector<unsigned char> bytes = sp::settingsBytes(run);
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

// The help box may sit over other cells; read only this one.
bool cellShows(HWND panel, int cell, COLORREF colour) {
    return e2e::waitUntil(
        [&] {
            sp::CellColours seen{};
            return sp::readCellColours(panel, seen) && seen.cell[cell] == colour;
        },
        2000);
}

HWND startWithSeededSettings(e2e::Run& run) {
    if (!E2E_CHECK(sp::seedSettings(run, seededText()), "keyboard-switch config.ini seeded")) return nullptr;
    return sp::startAndWaitForPanel(run, PARK);
}

struct ExpectedControl {
    int id;
    const wchar_t* cls;
    RECT rect; // in the window's client area: left, top, right, bottom
    const wchar_t* text;
};

// The whole layout: every control with its class, place and text.
const ExpectedControl LAYOUT[] = {
    {3, L"Button", {5, 5, 190, 220}, L"Clic Activos"},
    {41, L"Static", {10, 35, 55, 80}, L""},
    {21, L"Static", {55, 55, 145, 75}, L"Clic Izquierda"},
    {9, L"Button", {152, 47, 177, 72}, L""},
    {42, L"Static", {10, 70, 55, 115}, L""},
    {22, L"Static", {55, 90, 145, 110}, L"Doble Clic"},
    {10, L"Button", {152, 82, 177, 107}, L""},
    {43, L"Static", {10, 105, 55, 150}, L""},
    {23, L"Static", {55, 125, 145, 145}, L"Clic Derecho"},
    {11, L"Button", {152, 117, 177, 142}, L""},
    {44, L"Static", {10, 140, 55, 185}, L""},
    {24, L"Static", {55, 160, 145, 180}, L"Clic Medio"},
    {12, L"Button", {152, 152, 177, 177}, L""},
    {45, L"Static", {10, 175, 55, 220}, L""},
    {25, L"Static", {55, 195, 145, 215}, L"Arrastrar"},
    {13, L"Button", {152, 187, 177, 212}, L""},
    {4, L"Button", {205, 5, 629, 105}, L"Movimiento"},
    {46, L"Static", {240, 40, 285, 85}, L""},
    {27, L"Static", {315, 50, 365, 70}, L"Lenta"},
    {28, L"Static", {570, 50, 620, 70}, L"R\u00E1pida"},
    {54, L"msctls_trackbar32", {370, 50, 570, 80}, L"Trackbar Control"},
    {5, L"Button", {205, 120, 629, 220}, L"Frecuencia"},
    {47, L"Static", {210, 150, 310, 208}, L""},
    {34, L"Static", {315, 165, 365, 185}, L"Lenta"},
    {35, L"Static", {570, 165, 620, 185}, L"R\u00E1pida"},
    {55, L"msctls_trackbar32", {370, 165, 570, 195}, L""},
    {6, L"Button", {5, 230, 425, 405}, L"Cursor"},
    {48, L"Static", {10, 260, 60, 310}, L""},
    {37, L"Static", {80, 245, 300, 265}, L"Seleccionar un color lineas cursor:"},
    {2, L"Button", {81, 270, 121, 310}, L""},
    {36, L"Static", {140, 280, 240, 300}, L"Opacidad:"},
    {56, L"msctls_trackbar32", {205, 280, 355, 310}, L"Trackbar Control"},
    {50, L"Static", {360, 280, 410, 300}, L"50 %"},
    {49, L"Static", {7, 348, 77, 401}, L""},
    {38, L"Static", {15, 325, 235, 345}, L"Seleccionar ayuda en cursor:"},
    {17, L"Button", {87, 361, 112, 386}, L""},
    {20, L"Static", {250, 325, 350, 345}, L"Sonido:"},
    {53, L"Static", {250, 350, 300, 400}, L""},
    {16, L"Button", {320, 370, 345, 395}, L""},
    {7, L"Button", {455, 230, 629, 405}, L"Acci\u00F3n de Clic"},
    {51, L"Static", {483, 255, 533, 305}, L""},
    {14, L"Button", {570, 280, 595, 305}, L""},
    {52, L"Static", {480, 320, 530, 370}, L""},
    {15, L"Button", {570, 340, 595, 365}, L""},
    {8, L"Button", {5, 405, 425, 515}, L""},
    {29, L"Static", {10, 420, 147, 477}, L""},
    {30, L"Static", {170, 420, 259, 477}, L""},
    {31, L"Static", {290, 420, 390, 485}, L""},
    {32, L"Static", {10, 490, 415, 513}, L""},
    {33, L"Static", {430, 420, 631, 474}, L""},
    {0, L"Button", {430, 488, 520, 515}, L"ACEPTAR"},
    {1, L"Button", {528, 488, 628, 515}, L"CANCELAR"},
};

// With `language = en`: the words by control id; the rest show LAYOUT's.
// clang-format off
const std::pair<int, const wchar_t*> ENGLISH[] = {
    {3, L"Active Clicks"}, {21, L"Left Click"}, {22, L"Double Click"}, {23, L"Right Click"},
    {24, L"Middle Click"}, {25, L"Drag"}, {4, L"Movement"}, {27, L"Slow"}, {28, L"Fast"}, {5, L"Frequency"},
    {34, L"Slow"}, {35, L"Fast"}, {6, L"Cursor"}, {37, L"Choose the colour of the cursor lines:"},
    {36, L"Opacity:"}, {38, L"Show help at the cursor:"}, {20, L"Sound:"}, {7, L"Switch"}, {0, L"OK"},
    {1, L"CANCEL"}, {57, L"The settings could not be saved"}};
// clang-format on

// Seeded settings, the panel up, the window opened by a click on it.
HWND startAndOpen(e2e::Run& run, HWND* panel) {
    *panel = startWithSeededSettings(run);
    return *panel ? openByPanelClick(run, *panel) : nullptr;
}

} // namespace

E2E_CASE(config_opens_centred) {
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config) return;
    const RECT r = e2e::windowRect(config);
    const SIZE screen = sp::screenSize();
    E2E_CHECK_EQ(e2e::rectText(r),
                 e2e::rectText(RECT{(screen.cx - 640) / 2, (screen.cy - 555) / 2, (screen.cx - 640) / 2 + 640,
                                    (screen.cy - 555) / 2 + 555}),
                 "centred, 640 x 555");
    E2E_CHECK_EQ(e2e::windowText(config), std::wstring(CONFIG_CLASS), "title");
    const LONG_PTR style = GetWindowLongPtrW(config, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(config, GWL_EXSTYLE);
    E2E_CHECK((exStyle & WS_EX_TOPMOST) != 0 && (exStyle & WS_EX_NOACTIVATE) != 0,
              "topmost, never activated");
    E2E_CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0, "close box only, fixed size");
    E2E_CHECK(GetForegroundWindow() != config, "the window did not take the focus");
    // Scanning goes on while it is open with the keyboard as switch.
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1500), "the switch still scans");
    e2e::requestScreenshot(run);
}

E2E_CASE(config_controls) {
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config) return;
    for (const ExpectedControl& want : LAYOUT) {
        const std::string name = "control " + std::to_string(want.id);
        HWND control = GetDlgItem(config, want.id);
        if (!E2E_CHECK(control != nullptr, name + " exists")) continue;
        E2E_CHECK(lstrcmpiW(e2e::className(control).c_str(), want.cls) == 0,
                  name + " class " + e2e::narrow(want.cls) + " (got " + e2e::narrow(e2e::className(control)) +
                      ")");
        E2E_CHECK_EQ(e2e::rectText(e2e::rectInParent(control)), e2e::rectText(want.rect),
                     name + " rectangle");
        E2E_CHECK_EQ(e2e::windowText(control), std::wstring(want.text), name + " text");
        E2E_CHECK(IsWindowVisible(control) != FALSE, name + " visible");
    }
    // The file's values: clicks 1 0 1 1 1, step 4, the fastest period,
    // opacity 128, help box on, sound off, keyboard.
    const struct {
        int id;
        const char* mark;
    } toggles[] = {{9, "on"},  {10, "off"}, {11, "on"},  {12, "on"}, {13, "on"},
                   {17, "on"}, {16, "off"}, {14, "off"}, {15, "on"}};
    for (const auto& t : toggles)
        E2E_CHECK(waitForMark(config, t.id, t.mark), "toggle " + std::to_string(t.id) + " " + t.mark);
    LRESULT pos = -1;
    e2e::sendTo(GetDlgItem(config, 54), TBM_GETPOS, 0, 0, &pos);
    E2E_CHECK_EQ(pos, LRESULT{66}, "speed slider at the band of step 4");
    e2e::sendTo(GetDlgItem(config, 55), TBM_GETPOS, 0, 0, &pos);
    E2E_CHECK_EQ(pos, LRESULT{0}, "frequency slider: an unknown period opens at the slow end");
    e2e::sendTo(GetDlgItem(config, 56), TBM_GETPOS, 0, 0, &pos);
    E2E_CHECK_EQ(pos, LRESULT{128}, "opacity slider");

    // A click on the channel right of the thumb pages up by 24, and the
    // label follows at once.
    if (!clickAt(e2e::clientToScreen(config, 320, 290))) return;
    E2E_CHECK(e2e::waitUntil([&] { return e2e::windowText(GetDlgItem(config, 50)) == L"59 %"; }, 2000),
              "opacity label after a page up: " + e2e::narrow(e2e::windowText(GetDlgItem(config, 50))));
    e2e::sendTo(GetDlgItem(config, 56), TBM_GETPOS, 0, 0, &pos);
    E2E_CHECK_EQ(pos, LRESULT{152}, "opacity slider after a page up");
}

E2E_CASE(config_controls_english) {
    if (!E2E_CHECK(sp::seedOptions(run, "language = en\r\n"), "options.ini in English")) return;
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config) return;
    E2E_CHECK_EQ(e2e::windowText(config), std::wstring(L"SETTINGS"), "title");
    // Every control's words, the save notice's (hidden, not in LAYOUT) too.
    std::map<int, std::wstring> want{std::begin(ENGLISH), std::end(ENGLISH)};
    for (const ExpectedControl& control : LAYOUT) want.emplace(control.id, control.text);
    for (const auto& [id, text] : want)
        E2E_CHECK_EQ(e2e::windowText(GetDlgItem(config, id)), text, "control " + std::to_string(id));
    e2e::requestScreenshot(run);
}

E2E_CASE(config_accept_cancel) {
    HWND panel = startWithSeededSettings(run);
    if (!panel) return;
    HWND config = openByPanelClick(run, panel);
    if (!config || !clickControl(run, config, SOUND_TOGGLE)) return;
    E2E_CHECK(waitForMark(config, SOUND_TOGGLE, "on"), "the sound toggle turns on");
    if (!clickControl(run, config, ACCEPT)) return;
    E2E_REQUIRE(waitClosed(config), "ACEPTAR closes the window");
    const std::wstring saved = fileText(run);
    E2E_CHECK_EQ(saved, std::wstring(L"1 0 1 1 1\r\n4\r\n300\r\n255\r\n128\r\n1\r\n1\r\n0\r\n"),
                 "ACEPTAR saved the sound");

    config = openByPanelClick(run, panel);
    if (!config || !clickControl(run, config, SOUND_TOGGLE)) return;
    E2E_CHECK(waitForMark(config, SOUND_TOGGLE, "off"), "the sound toggle turns off");
    E2E_CHECK(GetForegroundWindow() != config, "clicks on the window never give it the focus");
    if (!clickControl(run, config, CANCEL)) return;
    E2E_REQUIRE(waitClosed(config), "CANCELAR closes the window");
    E2E_CHECK_EQ(fileText(run), saved, "CANCELAR left the file alone");

    // A file that cannot be replaced: the window says so and stays open.
    config = openByPanelClick(run, panel);
    if (!config) return;
    const std::wstring file = e2e::inWorkDir(run, sp::SETTINGS_FILE);
    E2E_REQUIRE(DeleteFileW(file.c_str()) && CreateDirectoryW(file.c_str(), nullptr),
                "config.ini made a directory");
    if (!clickControl(run, config, ACCEPT)) return;
    HWND notice = GetDlgItem(config, 57);
    E2E_CHECK(e2e::waitUntil([&] { return notice && IsWindowVisible(notice) != FALSE; }, 2000),
              "a failed save shows its notice");
    E2E_CHECK_EQ(e2e::windowText(notice), std::wstring(L"No se pudo guardar la configuraci\u00F3n"),
                 "notice text");
    E2E_CHECK(IsWindow(config) != FALSE && IsWindowVisible(config) != FALSE, "the window stays open");
    RemoveDirectoryW(file.c_str());
}

E2E_CASE(config_click_kind_leaves_scan) {
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config || !clickControl(run, config, RIGHT_TOGGLE)) return;
    E2E_CHECK(waitForMark(config, RIGHT_TOGGLE, "off"), "right click turned off");
    E2E_CHECK(cellShows(panel, 7, sp::COLOUR_DISABLED), "its cell turns grey");
    sp::tapSwitchKey();
    const std::vector<sp::CaptionChange> seen = sp::watchCaptions(panel, 9, 10 * PERIOD + 2000);
    sp::checkCaptions(run, seen,
                      {L"STOP", L"LEFT", L"RIGHT", L"UP", L"DOWN", L"Left Click", L"Middle Click",
                       L"Click To Drag", L"STOP"},
                      "right click has left the scan (double click is off in the file)");
}

E2E_CASE(config_device_swap) {
    HWND panel = startWithSeededSettings(run);
    if (!panel) return;
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{700, 560, 1000, 740}, L"e2e device target"), "target window opens");

    // Mouse chosen, then cancelled: the keyboard is the switch again.
    HWND config = openByPanelClick(run, panel);
    if (!config || !clickControl(run, config, MOUSE_TOGGLE)) return;
    E2E_CHECK(waitForMark(config, MOUSE_TOGGLE, "on"), "mouse toggle on");
    // The mouse hook takes the button now: close the window from outside.
    E2E_REQUIRE(e2e::postTo(config, WM_CLOSE, 0, 0), "window closed without saving");
    E2E_REQUIRE(waitClosed(config), "window gone");
    E2E_REQUIRE(target.bringToFront(), "target has the focus");
    const long charsBefore = target.received(WM_CHAR);
    sp::tapSwitchKey();
    e2e::pause(300);
    E2E_CHECK_EQ(target.received(WM_CHAR), charsBefore, "after a cancel the keyboard is the switch again");
    E2E_CHECK(clickAt(centreOf(target.handle())), "pointer on the target");
    E2E_CHECK(e2e::waitUntil([&] { return target.received(WM_LBUTTONDOWN) > 0; }, 1500),
              "and a mouse click is a plain click");

    // Mouse chosen and saved: after the window closes, a button is the switch.
    e2e::pause(2500); // the countdown after closing re-arms the keyboard
    config = openByPanelClick(run, panel);
    if (!config || !clickControl(run, config, MOUSE_TOGGLE)) return;
    // The mouse button is the switch from here on: ACEPTAR is pressed from outside.
    E2E_REQUIRE(e2e::sendTo(config, WM_COMMAND, ACCEPT, 0), "ACEPTAR pressed");
    E2E_REQUIRE(waitClosed(config), "window gone");
    const std::wstring text = fileText(run);
    E2E_CHECK(text.size() > 3 && text.substr(text.size() - 3) == L"1\r\n", "the file says mouse");
    const long downs = target.received(WM_LBUTTONDOWN);
    E2E_CHECK(clickAt(centreOf(target.handle())), "pointer on the target");
    e2e::pause(300);
    E2E_CHECK_EQ(target.received(WM_LBUTTONDOWN), downs, "a mouse button is the switch: the click is taken");
    E2E_REQUIRE(target.bringToFront(), "target has the focus");
    const long chars = target.received(WM_CHAR);
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitUntil([&] { return target.received(WM_CHAR) > chars; }, 1500),
              "and the keyboard types again");
}

E2E_CASE(config_two_quick_opens) {
    HWND panel = startWithSeededSettings(run);
    if (!panel) return;
    E2E_REQUIRE(e2e::mouseMoveTo(centreOf(GetDlgItem(panel, 4)).x, centreOf(GetDlgItem(panel, 4)).y),
                "pointer on the panel");
    sp::clickHere();
    sp::clickHere();
    E2E_REQUIRE(e2e::waitForProductWindow(run, CONFIG_CLASS, 3000) != nullptr, "a window opens");
    e2e::pause(1000);
    E2E_CHECK_EQ(sp::shownWindows(run, CONFIG_CLASS), 1, "one window for two quick clicks");
}

E2E_CASE(config_scanned_clicks) {
    HWND panel = startWithSeededSettings(run);
    if (!panel) return;
    // A scanned left click on the panel opens the window.
    E2E_REQUIRE(e2e::mouseMoveTo(centreOf(GetDlgItem(panel, 2)).x, centreOf(GetDlgItem(panel, 2)).y),
                "pointer on the panel");
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Left Click", 8 * PERIOD + 1500),
                "the scan reaches the left click");
    sp::tapSwitchKey();
    HWND config = e2e::waitForProductWindow(run, CONFIG_CLASS, 3000);
    E2E_REQUIRE(config != nullptr, "a scanned left click on the panel opens the window");
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1500), "and scanning goes on");

    // Over the window a scanned right click is a primary click on what is
    // under the pointer: here the sound toggle.
    const POINT toggle = centreOf(GetDlgItem(config, SOUND_TOGGLE));
    E2E_REQUIRE(e2e::mouseMoveTo(toggle.x, toggle.y), "pointer on the sound toggle");
    // Under load the window may paint a little after it appears.
    E2E_REQUIRE(waitForMark(config, SOUND_TOGGLE, "off"), "sound off at first");
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Middle Right", 12 * PERIOD + 1500),
                "the scan reaches the right click");
    sp::tapSwitchKey();
    E2E_CHECK(waitForMark(config, SOUND_TOGGLE, "on"), "the scanned click switched the sound on");
    E2E_CHECK_EQ(sp::shownWindows(run, CONFIG_CLASS), 1, "still one window");

    // Straight from the window onto another one: a right click is a right
    // click there, whatever the window last saw of the pointer.
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{850, 300, 1020, 600}, L"e2e beside the window"), "target window opens");
    const POINT beside = centreOf(target.handle());
    E2E_REQUIRE(e2e::mouseMoveTo(beside.x, beside.y), "pointer moved off the window");
    // Until the restarted scan's first step the caption still names the
    // click just made, and nothing is highlighted.
    e2e::waitUntil([&] { return e2e::windowText(panel) != L"Middle Right"; }, 2 * PERIOD + 1000);
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Middle Right", 12 * PERIOD + 1500),
                "the scan reaches the right click");
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitUntil([&] { return target.received(WM_RBUTTONUP) > 0; }, 2000),
              "a right click arrives");
    E2E_CHECK_EQ(target.received(WM_LBUTTONDOWN), 0L, "and no primary click");
}

// A mouse click on the panel opens the window every time while switch presses
// arrive. The scan never leaves STOP: each press starts or stops it, and each
// start builds the crosshair afresh, as the window's opening and closing do.
E2E_CASE(config_panel_click_beside_presses) {
    if (!E2E_CHECK(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, 60000, 0)), "config.ini seeded"))
        return;
    HWND panel = sp::startAndWaitForPanel(run, PARK);
    if (!panel) return;
    // More with E2E_CASE_TIMEOUT_MS to match: a round takes under a second.
    const int rounds = static_cast<int>(e2e::envNumber(L"E2E_PANEL_CLICK_ROUNDS", 20));
    std::atomic<bool> pressing{true};
    std::atomic<long> presses{0};
    std::thread presser([&] {
        // 120 to 280 ms apart: about as fast as the panel acts on them.
        for (; pressing; Sleep(static_cast<DWORD>(120 + (++presses % 5) * 40))) sp::tapSwitchKey();
    });
    const POINT cell = centreOf(GetDlgItem(panel, 3));
    int opened = 0;
    for (int round = 1; round <= rounds; ++round) {
        if (!E2E_CHECK(e2e::mouseMoveTo(cell.x, cell.y), "pointer on the panel")) break;
        const ULONGLONG clicked = sp::clickHere();
        HWND config = e2e::waitForProductWindow(run, CONFIG_CLASS, 3000);
        e2e::log(run, "round " + std::to_string(round) + (config ? " opened after " : " nothing after ") +
                          std::to_string(GetTickCount64() - clicked) + " ms");
        if (!config) continue;
        ++opened;
        HWND cancel = nullptr;
        e2e::waitUntil([&] { return IsWindowVisible(config) && (cancel = GetDlgItem(config, CANCEL)); },
                       2000);
        // The next click comes once the window is off the screen, as a
        // user's would: not once its thread has finished with it.
        const auto hidden = [&] { return e2e::waitUntil([&] { return !IsWindowVisible(config); }, 3000); };
        if (cancel && clickAt(centreOf(cancel)) && hidden()) continue;
        // Both threads are asked first: a window that does not answer is
        // not one whose click was lost.
        const std::string answers = "panel answers " + e2e::toText(e2e::sendTo(panel, WM_NULL, 0, 0)) +
                                    ", window answers " + e2e::toText(e2e::sendTo(config, WM_NULL, 0, 0));
        if (answers.find("window answers false") != std::string::npos) e2e::dumpThreads(run);
        const bool again = cancel && clickAt(centreOf(cancel)) && hidden();
        e2e::log(run, "round " + std::to_string(round) + ": CANCELAR did not close it; " + answers +
                          ", a second click closes it " + e2e::toText(again));
        if (!again && !E2E_CHECK(e2e::postTo(config, WM_CLOSE, 0, 0) && hidden(), "the window closes")) break;
    }
    pressing = false;
    presser.join();
    e2e::log(run, "opened " + std::to_string(opened) + " of " + std::to_string(rounds) + " with " +
                      std::to_string(presses.load()) + " switch presses");
    E2E_CHECK_EQ(opened, rounds, "every click on the panel opens the window");
}

// The guide's pictures (make screenshots): the panel while it scans, and
// the settings window.
E2E_CASE(screenshot_panel) {
    HWND panel = startWithSeededSettings(run);
    if (!panel) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"RIGHT", 3 * PERIOD + 1500), "the scan reaches RIGHT");
    // make screenshots cuts the picture to this area.
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(panel)));
    e2e::requestScreenshot(run);
}

E2E_CASE(screenshot_settings_english) {
    E2E_REQUIRE(sp::seedOptions(run, "language = en\r\n"), "options.ini in English");
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config) return;
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(config)));
    e2e::requestScreenshot(run);
}

E2E_CASE(screenshot_settings) {
    HWND panel = nullptr;
    HWND config = startAndOpen(run, &panel);
    if (!config) return;
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(config)));
    e2e::requestScreenshot(run);
}
