// Re-arm countdown and start delay.
#include "pointer/rearm.h"

#include <cmath>
#include <cstdio>

#include "overlay/crosshair.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"

namespace sp {

namespace {
RearmState g_rearm;
constexpr int COUNTDOWN_TICK_MS = 1000;

void showCountdown(Platform& p, int seconds) {
    char title[500];
    std::snprintf(title, sizeof title, "Ready (%i s)", seconds);
    showCaption(p, title);
}
} // namespace

const RearmState& rearmState() { return g_rearm; }
RearmState& rearmStateForTests() { return g_rearm; }

void resetRearmState() {
    g_rearm.rearmCount = 0;
    g_rearm.rearmLimit = 5;
    g_rearm.shortRearm = 0;
    g_rearm.rearmLastX = 0;
    g_rearm.rearmLastY = 0;
}

void resetRearmCount() { g_rearm.rearmCount = 0; }

void forgetRearmPointer() {
    g_rearm.rearmLastX = 0;
    g_rearm.rearmLastY = 0;
}

void rearmTick(Platform& p) {
    const Point pointer = p.cursorPos();
    if (g_rearm.shortRearm == 1) {
        g_rearm.rearmLimit = 2;
        g_rearm.shortRearm = 0;
    }
    const int limit = g_rearm.rearmLimit;

    if (g_rearm.rearmCount > limit) {
        resetCellStates();
        installSwitchHook(p);
        rebuildCrosshair(p, 5, 20);
        moveCrosshair(p, pointer);
        p.killTimer(TIMER_REARM);
        showReadyCaption(p);
        g_rearm.rearmCount = 0;
        return;
    }

    const double dx = pointer.x - g_rearm.rearmLastX;
    const double dy = pointer.y - g_rearm.rearmLastY;
    if (std::sqrt(dy * dy + dx * dx) > REARM_REST_DISTANCE) {
        g_rearm.rearmCount = 0;
        showCountdown(p, limit);
    } else {
        showCountdown(p, limit - g_rearm.rearmCount);
        ++g_rearm.rearmCount;
    }
    g_rearm.rearmLastX = pointer.x;
    g_rearm.rearmLastY = pointer.y;
}

void startShortRearm(Platform& p) {
    g_rearm.shortRearm = 1;
    p.setTimer(TIMER_REARM, COUNTDOWN_TICK_MS);
}

void startDelayTick(Platform& p) {
    const SwitchState& sw = switchState();
    if (sw.mouseHookActive == 1 || sw.keyboardHookActive == 1) {
        p.sleepMs(5);
        rebuildCrosshair(p, 0, 5);
    }
    p.killTimer(TIMER_START_DELAY);
}

} // namespace sp
