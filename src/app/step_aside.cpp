// The panel stepping aside.
#include "app/step_aside.h"

#include "pointer/monitors.h"
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

void stepPanelAside(Platform& p, Point pointer) {
    if (currentOptions().value[OPTION_PANEL_STEPS_ASIDE] != 1) return;
    const Rect panel = p.panelRect();
    Point to;
    if (panelStepAsideTo(panel, monitorOfPanel(p, panel), pointer, to)) p.movePanel(to);
}

void returnPanelHome(Platform& p) {
    const Rect panel = p.panelRect();
    const Rect monitor = monitorOfPanel(p, panel);
    const Point home{monitor.left, monitor.top};
    if (!(home == Point{panel.left, panel.top})) p.movePanel(home);
}

} // namespace sp
