// The panel stepping aside.
#include "pointer/step_aside.h"

#include <algorithm>

#include "overlay/crosshair.h"
#include "platform/monitors.h"
#include "pointer/movement.h"
#include "scan/switch_input.h"
#include "settings/options.h"

namespace sp {

bool panelStepAsideTo(const Rect& panel, const Rect& monitor, Point pointer, Point& to) {
    if (!rectHolds(panel, pointer)) return false;
    const bool onLeftHalf = 2 * panel.left + panel.width < 2 * monitor.left + monitor.width;
    const Point corner{onLeftHalf ? monitor.left + monitor.width - panel.width : monitor.left, monitor.top};
    if (corner == Point{panel.left, panel.top}) return false;
    // On a monitor too narrow for two panels it would only come back.
    if (rectHolds(Rect{corner.x, corner.y, panel.width, panel.height}, pointer)) return false;
    to = corner;
    return true;
}

namespace {

Rect monitorOfPanel(Platform& p, const Rect& panel) {
    return monitorHolding(p.monitorLayout(),
                          Point{panel.left + panel.width / 2, panel.top + panel.height / 2});
}

} // namespace

namespace {
// Where the panel last stepped away from, while the pointer has not yet
// left it: one entry of the pointer, one step, so that a reading that puts
// the pointer on the panel's new place can never send it back and forth.
Rect g_steppedFrom;
bool g_holdingStill = false;
} // namespace

bool stepPanelAside(Platform& p, Point pointer) {
    if (currentOptions().value[OPTION_PANEL_STEPS_ASIDE] != 1) return false;
    if (g_holdingStill && rectHolds(g_steppedFrom, pointer)) return false;
    g_holdingStill = false;
    const Rect panel = p.panelRect();
    Point to;
    if (!panelStepAsideTo(panel, monitorOfPanel(p, panel), pointer, to)) return false;
    p.movePanel(to);
    g_steppedFrom = panel;
    g_holdingStill = true;
    notePanelMoved(pointer, Point{to.x - panel.left, to.y - panel.top}, p.nowMs());
    p.setTimer(TIMER_PANEL_ECHO, PANEL_ECHO_CHECK_MS);
    return true;
}

void pauseMendingPanelEcho(Platform& p, int ms) {
    // The timer cannot fire while this thread waits.
    for (int waited = 0; waited < ms; waited += PANEL_ECHO_CHECK_MS) {
        p.sleepMs(std::min(PANEL_ECHO_CHECK_MS, ms - waited));
        pointerPlace(p);
    }
}

void moveCrosshair(Platform& p, Point pointer) {
    const bool stepped = stepPanelAside(p, pointer);
    placeCrosshair(p, pointer);
    if (stepped)
        pauseMendingPanelEcho(p, CROSSHAIR_MOVE_PAUSE_MS);
    else
        p.sleepMs(CROSSHAIR_MOVE_PAUSE_MS);
}

void resetStepAsideState() {
    g_holdingStill = false;
    forgetPanelMove();
}

void panelEchoTick(Platform& p) {
    pointerPlace(p);
    if (!panelEchoAwaited(p.nowMs())) p.killTimer(TIMER_PANEL_ECHO);
}

void returnPanelHome(Platform& p) {
    const Rect panel = p.panelRect();
    const Rect monitor = monitorOfPanel(p, panel);
    const Point home{monitor.left, monitor.top};
    if (!(home == Point{panel.left, panel.top})) p.movePanel(home);
}

} // namespace sp
