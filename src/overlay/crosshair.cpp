// Crosshair geometry and the shared build, close and move steps.
#include "overlay/crosshair.h"

#include "overlay/help_box.h"
#include "platform/monitors.h"
#include "settings/settings.h"

namespace sp {

namespace {
OverlayState g_overlay;
}

const OverlayState& overlayState() { return g_overlay; }

void noteArmOpen(Arm arm, bool open) { g_overlay.armOpen[static_cast<int>(arm)] = open ? 1 : 0; }
void noteHelpBoxOpen(bool open) { g_overlay.helpBoxOpen = open ? 1 : 0; }
void notePointMarkOpen(PointMark mark, bool open) {
    g_overlay.pointMarkOpen[static_cast<int>(mark)] = open ? 1 : 0;
}

void resetOverlayState() {
    for (auto& open : g_overlay.armOpen) open = 0;
    g_overlay.helpBoxOpen = 0;
    for (auto& open : g_overlay.pointMarkOpen) open = 0;
}

namespace {

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// A right or down arm that would reach onto another monitor stops at the
// far edge of its own.
Rect cutAtOtherMonitors(Rect arm, const Rect& own, const MonitorLayout& layout, bool across) {
    for (const Rect& m : layout) {
        if (m == own || !overlaps(arm, m)) continue;
        if (across)
            arm.width = own.left + own.width - arm.left;
        else
            arm.height = own.top + own.height - arm.top;
        break;
    }
    return arm;
}

} // namespace

Rect armRect(Arm arm, Point pt, const MonitorLayout& layout, int dpi) {
    const Rect m = monitorHolding(layout, pt);
    const int gap = scaleToDpi(ARM_GAP, dpi);
    const int thick = scaleToDpi(ARM_THICKNESS, dpi);
    switch (arm) {
    case Arm::Left: return {m.left, pt.y, pt.x - gap - m.left, thick};
    case Arm::Right: return cutAtOtherMonitors({pt.x + gap, pt.y, m.width, thick}, m, layout, true);
    case Arm::Up: return {pt.x, m.top, thick, pt.y - gap - m.top};
    case Arm::Down: return cutAtOtherMonitors({pt.x, pt.y + gap, thick, m.height}, m, layout, false);
    }
    return {};
}

Rect armRect(Arm arm, Point pt, Size screen) { return armRect(arm, pt, singleMonitor(screen)); }

bool anyCrosshairOpen() {
    for (const auto& open : g_overlay.armOpen)
        if (open == 1) return true;
    return g_overlay.helpBoxOpen == 1;
}

void closeCrosshair(Platform& p) {
    for (Arm arm : ALL_ARMS) p.closeArm(arm);
    if (live().liveHelpBox == 1) p.closeHelpBox();
}

void closeCrosshairIfOpen(Platform& p) {
    if (anyCrosshairOpen()) closeCrosshair(p);
}

void rebuildCrosshair(Platform& p, int waitBeforeStartMs, int waitAfterStartMs) {
    closeCrosshairIfOpen(p);
    if (waitBeforeStartMs > 0) p.sleepMs(waitBeforeStartMs);
    for (Arm arm : ALL_ARMS) p.startArm(arm);
    if (live().liveHelpBox == 1) p.startHelpBox();
    if (waitAfterStartMs > 0) p.sleepMs(waitAfterStartMs);
    applySettings(p);
}

void placeCrosshair(Platform& p, Point pointer) {
    const MonitorLayout layout = p.monitorLayout();
    const int dpi = p.dpiAt(pointer);
    for (Arm arm : ALL_ARMS) p.moveArm(arm, armRect(arm, pointer, layout, dpi));
    if (live().liveHelpBox == 1) {
        p.moveHelpBox(placeHelpBox(pointer, monitorHolding(layout, pointer), dpi));
        if (g_overlay.helpBoxOpen == 1) p.invalidateHelpBox();
    }
}

} // namespace sp
