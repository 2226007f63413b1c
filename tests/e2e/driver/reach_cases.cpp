// Cases for options.ini: the panel's third row and the wheel its scroll
// cells turn.
#include "product.h"

#include <shellapi.h>

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
    // Under load Wine can hand the pointer back to where the X server had it
    // (the screen's centre) once the target is raised over it, well after the
    // park seemed to hold; the wheel turns wherever the pointer is, so it is
    // put there again.
    E2E_CHECK(e2e::mouseMoveTo(500, 400), "pointer at (500,400) before the scroll");
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
    std::string offPointer;
    for (const e2e::MouseMessage& m : turns) {
        if (m.message == WM_MOUSEWHEEL && m.wheel == -WHEEL_DELTA) ++down;
        if (m.client.x != at.x || m.client.y != at.y)
            offPointer += " (" + std::to_string(m.client.x) + "," + std::to_string(m.client.y) + ")";
    }
    // A notch at once, then one every 150 ms for the 0.7 s until the press.
    E2E_CHECK(down >= 4 && down <= 7, "notches down in 0.7 s: " + std::to_string(down));
    E2E_CHECK_EQ(static_cast<int>(turns.size()), down, "nothing but notches down");
    E2E_CHECK(offPointer.empty(), "every notch at the pointer (" + std::to_string(at.x) + "," +
                                      std::to_string(at.y) + "); off it:" + offPointer);
}

E2E_CASE(screenshot_third_row) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "extra_cells = scroll_up scroll_down scroll_left scroll_right\r\n"),
                "options.ini");
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Scroll Down", 14 * PERIOD + 2000),
                "the scan reaches Scroll Down");
    // make screenshots cuts the picture to this area.
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(panel)));
    e2e::requestScreenshot(run);
}

// The panel steps aside from a pointer moved onto it, and back; the focus stays.
E2E_CASE(panel_steps_aside) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, 1000, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "panel_steps_aside = 1\r\n"), "options.ini");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e focus keeper"), "target window opens");
    HWND panel = sp::startAndWaitForPanel(run, POINT{500, 400});
    if (!panel) return;
    E2E_REQUIRE(target.bringToFront(), "target window has the focus");
    const RECT left = e2e::windowRect(panel);
    E2E_REQUIRE(left.left == 0 && left.top == 0, "at the top left: " + e2e::rectText(left));
    const RECT right{sp::screenSize().cx - left.right, 0, sp::screenSize().cx, left.bottom};
    for (const RECT& to : {right, left}) {
        // Under Wine the pointer may jump back for a moment: from off the panel.
        E2E_CHECK(e2e::mouseMoveTo(500, 400), "pointer in the middle");
        const RECT from = e2e::windowRect(panel);
        E2E_CHECK(e2e::mouseMoveTo((from.left + from.right) / 2, from.bottom / 2), "pointer onto the panel");
        E2E_CHECK(
            e2e::waitUntil([&] { return e2e::rectText(e2e::windowRect(panel)) == e2e::rectText(to); }, 500),
            "the panel steps to " + e2e::rectText(to) + ": " + e2e::rectText(e2e::windowRect(panel)));
    }
    E2E_CHECK(target.hasFocus(), "the target kept the focus (foreground: " +
                                     e2e::narrow(e2e::className(GetForegroundWindow())) + ")");
}

// Over a maximised window the panel steps aside once as an upward glide
// comes onto it; the pointer keeps its column all the way up, and a scanned
// Left Click there opens the window's File menu.
E2E_CASE(panel_steps_aside_over_a_maximised_window) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 4, 500, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "panel_steps_aside = 1\r\n"), "options.ini");
    ShellExecuteW(nullptr, L"open", L"notepad.exe", nullptr, nullptr, SW_SHOWMAXIMIZED);
    HWND notepad = nullptr;
    e2e::waitUntil([&] { return IsZoomed(notepad = FindWindowW(L"Notepad", nullptr)) != FALSE; }, 10000);
    // Left running, it would keep the desktop, and so the case's run, alive.
    const struct EndNotepad {
        HWND window;
        ~EndNotepad() {
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id))
                TerminateProcess(process, 0), CloseHandle(process);
        }
    } endNotepad{notepad};
    const int column = 25;
    HWND panel = notepad ? sp::startAndWaitForPanel(run, POINT{column, 300}) : nullptr;
    if (!E2E_CHECK(panel != nullptr, "the panel over a maximised notepad")) return;
    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"UP", 6000), "the scan reaches UP");
    sp::tapSwitchKey();
    int moves = 0;
    ULONGLONG offSince = 0, longestOff = 0;
    RECT at = e2e::windowRect(panel);
    const bool reached = e2e::waitUntil(
        [&] {
            const RECT now = e2e::windowRect(panel);
            moves += e2e::rectText(now) != e2e::rectText(at);
            at = now;
            const POINT p = e2e::cursorPos();
            const ULONGLONG t = GetTickCount64();
            offSince = p.x == column ? 0 : offSince ? offSince : t;
            longestOff = std::max(longestOff, offSince ? t - offSince : 0);
            return p.y <= 33;
        },
        8000, 2);
    sp::tapSwitchKey();
    e2e::log(run, "panel moves " + std::to_string(moves) + ", off the column " + std::to_string(longestOff) +
                      " ms");
    E2E_CHECK(reached && moves == 1, "the glide reaches y 33, the panel moving once");
    // Wine reads the pointer moved with the panel for a moment; the program
    // puts it back before the next step of the glide.
    E2E_CHECK(longestOff <= 25 && e2e::cursorPos().x == column, "the pointer keeps its column");
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Left Click", 6000), "the scan reaches Left Click");
    sp::tapSwitchKey();
    HWND menu = nullptr;
    e2e::waitUntil([&] { return IsWindowVisible(menu = FindWindowW(L"#32768", nullptr)) != FALSE; }, 3000);
    E2E_CHECK(menu && e2e::windowRect(menu).left < 30,
              "the File menu opens: " + e2e::rectText(e2e::windowRect(menu)));
}
