// Pointer movement.
#include "pointer/movement.h"

#include "overlay/crosshair.h"
#include "pointer/scroll.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

#include <cmath>

namespace sp {

namespace {
MovementState g_movement;
} // namespace

MovementState& movementState() { return g_movement; }

void resetMovementState() { g_movement = MovementState{}; }

void startMovement() { resetMovementState(); }

namespace {
// Whole pixels this tick moves: a step per period elapsed since the last
// tick, since the system timer may fire later than asked.
int pixelsThisTick(double nowMs, int step) {
    MovementState& m = g_movement;
    if (!m.started) {
        m.started = true;
        m.startMs = nowMs;
        m.lastTickMs = nowMs;
        m.carry = 0;
        return step;
    }
    const double elapsed = nowMs - m.lastTickMs;
    const OptionValues options = currentOptions();
    double due = m.carry + step * (elapsed > 0 ? elapsed : 0) / MOVE_PERIOD_MS;
    if (options.value[OPTION_ACCELERATION] == 1 && elapsed > 0)
        due = m.carry + step * acceleratedSteps(m.lastTickMs - m.startMs, nowMs - m.startMs,
                                                options.value[OPTION_ACCELERATION_MAX],
                                                options.value[OPTION_ACCELERATION_MS]);
    m.lastTickMs = nowMs;
    const double whole = std::floor(due);
    m.carry = due - whole;
    return static_cast<int>(whole);
}
} // namespace

double acceleratedSteps(double fromMs, double toMs, int most, int rampMs) {
    // Steps due from the start to t: the integral of a rate that rises
    // linearly from 1 to `most` steps a period and then stays there.
    const auto due = [&](double t) {
        const double ramped = t < rampMs ? t * t / (2.0 * rampMs) : t - rampMs / 2.0;
        return (t + (most - 1) * ramped) / MOVE_PERIOD_MS;
    };
    return due(toMs) - due(fromMs);
}

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
    SwitchState& sw = switchState();
    if (sw.moving == 1 && actionKind(sw.pendingAction) == ActionKind::Scroll) {
        scrollTick(p);
        return;
    }
    const Point from = p.cursorPos();
    if (sw.moving != 1) return;
    const int direction = sw.pendingAction;
    if (!isDirection(direction)) return;
    const int pixels = pixelsThisTick(p.nowMs(), live().liveMoveStep);
    // Too early for a pixel: nothing moves, so no wrap either.
    if (pixels <= 0) return;
    const Point target = movementTarget(direction, from, pixels, p.screenSize());
    moveCursorTo(p, target);
    moveCrosshair(p, target);
    sw.lastMoveX = target.x;
    sw.lastMoveY = target.y;
}

} // namespace sp
