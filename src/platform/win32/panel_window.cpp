// The control panel window: its owner-drawn cells, the timers, the window
// menu commands, the switch's reactions posted by the hook thread, the
// program's menu and its answers, closing.
#include "app/menu.h"
#include "app/panel.h"
#include "app/press.h"
#include "config_window/config_window.h"
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"
#include "pointer/movement.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"

namespace sp {

namespace {

void createCells(HWND panel, HINSTANCE instance, int dpi) {
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        if (!cellShown(cell)) continue;
        // The start/stop cell is a push button: clicks on it reach the panel
        // as commands. The others let hit tests and clicks through to it.
        const bool button = cellRow(cell).kind == ActionKind::StartStop;
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | (button ? BS_OWNERDRAW : SS_OWNERDRAW);
        const Rect r = cellRectAt(cell, dpi);
        CreateWindowExW(0, button ? L"BUTTON" : L"STATIC", L"", style, r.left, r.top, r.width, r.height,
                        panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(cell)), instance, nullptr);
    }
}

} // namespace

SIZE panelWindowSize(int dpi) {
    const Size cells = panelCellArea(dpi);
    return {2 * systemMetricAt(SM_CXFRAME, dpi) + cells.width,
            2 * systemMetricAt(SM_CYMENU, dpi) - 2 * systemMetricAt(SM_CYFRAME, dpi) + cells.height};
}

void layOutPanelWindow(HWND panel, int dpi) {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (HWND child = GetDlgItem(panel, cell)) DestroyWindow(child);
    createCells(panel, handles().instance, dpi);
    const SIZE size = panelWindowSize(dpi);
    SetWindowPos(panel, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

void drawCell(const DRAWITEMSTRUCT& item) {
    const int cell = static_cast<int>(item.CtlID);
    if (!isCell(cell)) return;
    const ScanState& s = scanState();
    RECT rect;
    GetClientRect(item.hwndItem, &rect);
    fillWithIcon(item.hDC, rect, colourForState(cell, s.cellState[cell]),
                 cellIcon(cell, s.startIconShown == 1), windowDpi(item.hwndItem));
}

// The benchmark build notes each press taken and acted on and each stop,
// whether the hook's message or the hold timer brings it. `act` says
// whether it took a press.
template <typename Act> void actOnSwitch(Act act) {
#ifdef SWITCHPOINT_BENCH
    const bool stopping = switchState().stopPending != 0;
    const auto handlerState = [] {
        return static_cast<int>(pressState()) * 100 + scanState().highlightedAction;
    };
    const int before = handlerState();
    const bool pressed = act();
    if (stopping) noteStopActed();
    if (!stopping && pressed) notePressTaken();
    if (!stopping && pressed && handlerState() != before) notePressActed();
    if (pressed) noteSwitchFree();
#else
    act();
#endif
}

void onSwitchEvent(WPARAM wParam, LPARAM generation) {
    const auto event = static_cast<SwitchEvent>(wParam & 0xFF);
    const HookKind kind = ((wParam >> 8) & 0xFF) == 0 ? HookKind::Mouse : HookKind::Keyboard;
    // A press swallowed by a hook that has since been taken out is void:
    // the reaction that took it out (a stop, a click) comes first.
    const bool current = hookEventIsCurrent(kind, generation);
    actOnSwitch([&] {
        handleSwitchEvent(win32Platform(), event, current);
        return event == SwitchEvent::Press && current;
    });
}

void onTimer(int timerId) {
    if (timerId == TIMER_HOLD)
        actOnSwitch([] { return holdTimerTick(win32Platform()); });
    else
        onPanelTimer(win32Platform(), timerId);
}

void onSysCommand(HWND panel, WPARAM command) {
    // The low four bits are the system's own.
    switch (command & 0xFFF0) {
    case SC_MINIMIZE: ShowWindow(panel, SW_MINIMIZE); break;
    case SC_CLOSE: SendMessageW(panel, WM_CLOSE, 0, 0); break;
    case SC_RESTORE:
        ShowWindow(panel, SW_RESTORE);
        onPanelRestored(win32Platform());
        break;
    default:
        // No moving, sizing, maximising or window menu: the panel stays put.
        break;
    }
}

} // namespace

LRESULT CALLBACK panelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (onSystemMessage(window, message, wParam, lParam)) return message == WM_POWERBROADCAST ? TRUE : 0;
    switch (message) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        createCells(window, cs->hInstance, windowDpi(window));
        return 0;
    }
    case WM_DPICHANGED: {
        // Onto a monitor of another scale: where the system suggests, with
        // the cells and the size for the new one.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOutPanelWindow(window, LOWORD(wParam));
        return 0;
    }
    case WM_DRAWITEM: drawCell(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_NCHITTEST: {
        const LRESULT hit = DefWindowProcW(window, message, wParam, lParam);
        onPanelHitTest(hit == HTCLIENT);
        return hit;
    }
    case WM_SETCURSOR:
        // The pointer is over the panel, whoever moved it: with a keyboard
        // switch no hook sees a hand move.
        stepPanelAside(win32Platform(), pointerPlace(win32Platform()));
        break;
    case WM_COMMAND: onCellCommand(win32Platform(), LOWORD(wParam)); return 0;
    case WM_SYSCOMMAND: onSysCommand(window, wParam); return 0;
    case WM_TIMER: onTimer(static_cast<int>(wParam)); return 0;
    case WM_SWITCH_EVENT: onSwitchEvent(wParam, lParam); return 0;
    case WM_SWITCH_MOVE: {
        takePendingMove();
        Platform& p = win32Platform();
        handlePointerMoved(p, pointerPlace(p));
        return 0;
    }
    case WM_OWN_WINDOW_REQUEST: onOwnWindowRequest(wParam, lParam); return 0;
    case WM_SHOW_PANEL:
        // Brought back as the taskbar would, without the focus.
        if (IsIconic(window)) {
            ShowWindow(window, SW_SHOWNOACTIVATE);
            onPanelRestored(win32Platform());
        }
        return 1;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN: onPanelMouseButton(win32Platform()); return 0;
    // Also from the start/stop button, which passes it on to its parent.
    case WM_CONTEXTMENU: openMenuFromPanel(win32Platform()); return 0;
    case WM_MENU_OPEN: openMenu(win32Platform(), MenuPlace::Pointer); return 0;
    case WM_MENU_CHOSEN: onMenuChosen(win32Platform(), static_cast<int>(wParam)); return 0;
    case WM_MENU_ANSWER: onExitAnswered(win32Platform(), wParam == 1); return 0;
    case WM_CLOSE:
        closePanel(win32Platform());
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        stopWatchingTheSystem(window);
        PostQuitMessage(0);
        return 0;
#ifdef SWITCHPOINT_BENCH
    case WM_TEST_DROP_HOOKS:
        hookRemove(HookKind::Keyboard);
        hookRemove(HookKind::Mouse);
        return 0;
#endif
    case WM_PAINT: {
        const PaintDc paint(window);
        return 0;
    }
    case WM_SETICON: return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace sp
