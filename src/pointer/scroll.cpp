// Scrolling.
#include "pointer/scroll.h"

#include "scan/cells.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {
// Main thread only: where the pointer was when the scroll began.
Point g_scrollPointer;

void turnOneNotch(Platform& p) {
    const WheelTurn turn = wheelTurnFor(switchState().pendingAction);
    if (turn.delta != 0) p.sendWheel(turn.delta, turn.horizontal);
}
} // namespace

WheelTurn wheelTurnFor(int action) {
    switch (action) {
    case ACTION_SCROLL_UP: return {WHEEL_NOTCH, false};
    case ACTION_SCROLL_DOWN: return {-WHEEL_NOTCH, false};
    case ACTION_SCROLL_LEFT: return {-WHEEL_NOTCH, true};
    case ACTION_SCROLL_RIGHT: return {WHEEL_NOTCH, true};
    default: return {0, false};
    }
}

int scrollPeriodMs() { return currentOptions().value[OPTION_SCROLL_INTERVAL_MS]; }

void startScroll(Platform& p) {
    g_scrollPointer = p.cursorPos();
    turnOneNotch(p);
}

void scrollTick(Platform& p) {
    // With the mouse as the switch its hook sees a hand move; with the
    // keyboard nothing else would, and a wheel turning under a hand that
    // has taken the mouse back is the last thing the user wants.
    if (!mouseIsSwitch() && !(p.cursorPos() == g_scrollPointer)) {
        handleFarMoveStop(p);
        return;
    }
    turnOneNotch(p);
}

void resetScrollState() { g_scrollPointer = Point{}; }

} // namespace sp
