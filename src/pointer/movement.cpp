// Pointer movement.
#include "pointer/movement.h"

#include "overlay/crosshair.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

Point normalisedFor(Point pixel, Size screen) {
    // The factor first, then the product, truncated toward zero.
    const double fx = 65535.0 / (screen.width - 1);
    const double fy = 65535.0 / (screen.height - 1);
    return {static_cast<int>(fx * pixel.x), static_cast<int>(fy * pixel.y)};
}

Point movementTarget(int direction, Point from, int step, Size screen) {
    const int w = screen.width;
    const int h = screen.height;
    switch (direction) {
    case ACTION_LEFT: return from.x > 1 ? Point{from.x - step, from.y} : Point{w, from.y};
    case ACTION_RIGHT:
        if (from.x >= w - 1) return {1, from.y};
        // One extra pixel near the left edge.
        return from.x < 16 ? Point{from.x + step + 1, from.y} : Point{from.x + step, from.y};
    case ACTION_UP: return from.y > 1 ? Point{from.x, from.y - step} : Point{from.x, h - 1};
    case ACTION_DOWN: return from.y >= h - 1 ? Point{from.x, 1} : Point{from.x, from.y + step};
    default: return from;
    }
}

void moveCursorTo(Platform& p, Point pixel) {
    const Point n = normalisedFor(pixel, p.screenSize());
    p.sendAbsoluteMove(n.x, n.y);
}

void movementTick(Platform& p) {
    const Point from = p.cursorPos();
    SwitchState& sw = switchState();
    if (sw.moving != 1) return;
    const int direction = sw.pendingAction;
    if (!isDirection(direction)) return;
    const Point target = movementTarget(direction, from, live().liveMoveStep, p.screenSize());
    moveCursorTo(p, target);
    moveCrosshair(p, target);
    sw.lastMoveX = target.x;
    sw.lastMoveY = target.y;
}

} // namespace sp
