// What the program's own windows share on the Win32 side: each window's
// handle slot, the answer posted to it, the requests posted back to the
// panel, where the pointer is, and the message cases every one of them
// handles alike. Each window keeps only its controls.
#include "platform/win32/win32_platform.h"

#include "config_window/own_windows.h"

namespace sp {

namespace {

std::atomic<HWND> g_slots[OWN_WINDOW_COUNT];

std::atomic<HWND>& slotOf(OwnWindow window) { return g_slots[static_cast<int>(window)]; }

} // namespace

HWND ownWindowHandle(OwnWindow window) { return slotOf(window).load(); }

void postOwnWindowAnswer(OwnWindow window, WindowAnswer answer) {
    HWND handle = ownWindowHandle(window);
    if (handle) PostMessageW(handle, WM_OWN_WINDOW_ANSWER, static_cast<WPARAM>(answer), 0);
}

// Over the client area of the window or of another window of its thread
// (the colour dialog), controls included: what a one-switch user aims at
// there is a plain click.
bool pointerOnOwnWindowClient(OwnWindow window) { return pointerOnClientOf(ownWindowHandle(window)); }

// Posted, never sent. A full queue is waited out for a while: a lost close
// or teardown would leave a window half-closed and the next one barred.
bool postToPanelPatiently(UINT message, WPARAM wParam, LPARAM lParam) {
    for (int tries = 0; tries < 100; ++tries) {
        if (PostMessageW(handles().panel, message, wParam, lParam)) return true;
        Sleep(10);
    }
    return false;
}

bool pointerOnClientOf(HWND window) {
    if (!window) return false;
    POINT pt;
    if (!GetCursorPos(&pt)) return false;
    HWND top = GetAncestor(WindowFromPoint(pt), GA_ROOT);
    if (!top) return false;
    if (top != window && GetWindowThreadProcessId(top, nullptr) != GetWindowThreadProcessId(window, nullptr))
        return false;
    RECT client;
    GetClientRect(top, &client);
    MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return PtInRect(&client, pt) != FALSE;
}

bool onOwnWindowMessage(const OwnWindowKind& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_NCCREATE: slotOf(kind.id) = window; return false;
    case WM_NCHITTEST:
        result = DefWindowProcW(window, message, wParam, lParam);
        ownWindowState(kind.id).pointerOver = result == HTCLIENT ? 1 : 0;
        return true;
    // Clicks on it leave the focus where the user's keys go.
    case WM_MOUSEACTIVATE: result = MA_NOACTIVATE; return true;
    case WM_OWN_WINDOW_ANSWER: kind.answer(window, static_cast<WindowAnswer>(wParam)); return true;
    case WM_CLOSE:
        // The close runs on the panel's thread, which then answers CloseNow;
        // until then the window stays as it is.
        kind.close();
        return true;
    case WM_NCDESTROY: {
        // The controls are gone by now; what they showed can go with them.
        kind.release();
        HWND expected = window;
        slotOf(kind.id).compare_exchange_strong(expected, nullptr);
        // Only now may another window be opened: this one's resources are
        // released and its handle forgotten.
        kind.gone();
        return false;
    }
    default: return false;
    }
}

} // namespace sp
