// The state and steps the program's own windows share.
#include "config_window/own_windows.h"

namespace sp {

namespace {

OwnWindowState g_windows[OWN_WINDOW_COUNT];

OwnWindowState& stateOf(OwnWindow window) { return g_windows[static_cast<int>(window)]; }

} // namespace

const OwnWindowState& ownWindowState(OwnWindow window) { return stateOf(window); }
OwnWindowState& ownWindowStateForTests(OwnWindow window) { return stateOf(window); }
void notePointerOver(OwnWindow window, bool over) { stateOf(window).pointerOver = over ? 1 : 0; }

void resetOwnWindows() {
    for (OwnWindowState& w : g_windows) {
        w.open = 0;
        w.closing = 0;
        w.pointerOver = 0;
    }
}

bool claimOwnWindow(OwnWindow window) {
    OwnWindowState& w = stateOf(window);
    if (w.open.exchange(1) != 0) return false;
    w.closing = 0;
    return true;
}

void ownWindowGone(OwnWindow window) {
    OwnWindowState& w = stateOf(window);
    w.pointerOver = 0;
    w.closing = 0;
    w.open = 0;
}

bool strayRequest(OwnWindow window) { return ownWindowState(window).open == 0; }

bool answeredAfterClose(Platform& p, OwnWindow window, bool asksToGo) {
    if (ownWindowState(window).closing == 0) return false;
    if (asksToGo) p.answerOwnWindow(window, WindowAnswer::CloseNow);
    return true;
}

void closeOwnWindow(Platform& p, OwnWindow window, void (*restore)(Platform&)) {
    stateOf(window).closing = 1;
    if (restore) restore(p);
    p.answerOwnWindow(window, WindowAnswer::CloseNow);
}

bool openOwnWindow(Platform& p, OwnWindow window) {
    if (!claimOwnWindow(window)) return false;
    p.openOwnWindow(window);
    return true;
}

void onPlainRequest(Platform& p, OwnWindow window, int request) {
    if (strayRequest(window)) return;
    if (request == PLAIN_GONE) {
        ownWindowGone(window);
        return;
    }
    if (!answeredAfterClose(p, window, true)) closeOwnWindow(p, window);
}

void refreshPointerOverOwnWindows(Platform& p) {
    for (int i = 0; i < OWN_WINDOW_COUNT; ++i) {
        const OwnWindow window = static_cast<OwnWindow>(i);
        OwnWindowState& w = stateOf(window);
        w.pointerOver = (w.open == 1 && p.pointerOnOwnWindow(window)) ? 1 : 0;
    }
}

bool pointerOverOwnWindow() {
    for (const OwnWindowState& w : g_windows)
        if (w.pointerOver == 1) return true;
    return false;
}

bool anyOwnWindowOpen() {
    for (const OwnWindowState& w : g_windows)
        if (w.open == 1) return true;
    return false;
}

} // namespace sp
