// Crosshair geometry and the shared build, close and move steps.
#include "overlay/crosshair.h"

#include "overlay/help_box.h"
#include "settings/settings.h"

namespace sp {

namespace {
OverlayState g_overlay;
}

OverlayState& overlayState() { return g_overlay; }

void resetOverlayState() {
    for (auto& open : g_overlay.armOpen) open = 0;
    g_overlay.helpBoxOpen = 0;
}

Rect armRect(Arm arm, Point pt, Size screen) {
    switch (arm) {
    case Arm::Left: return {0, pt.y, pt.x - ARM_GAP, ARM_THICKNESS};
    // The right and down arms are a whole screen long, so they always reach
    // past the far edge.
    case Arm::Right: return {pt.x + ARM_GAP, pt.y, screen.width, ARM_THICKNESS};
    case Arm::Up: return {pt.x, 0, ARM_THICKNESS, pt.y - ARM_GAP};
    case Arm::Down: return {pt.x, pt.y + ARM_GAP, ARM_THICKNESS, screen.height};
    }
    return {};
}

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

void moveCrosshair(Platform& p, Point pointer) {
    const Size screen = p.screenSize();
    for (Arm arm : ALL_ARMS) p.moveArm(arm, armRect(arm, pointer, screen));
    if (live().liveHelpBox == 1) {
        p.moveHelpBox(placeHelpBox(pointer, screen.width));
        if (g_overlay.helpBoxOpen == 1) p.invalidateHelpBox();
    }
    p.sleepMs(CROSSHAIR_MOVE_PAUSE_MS);
}

} // namespace sp
