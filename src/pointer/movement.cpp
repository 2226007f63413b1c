// Pointer movement.
#include "pointer/movement.h"

#include "overlay/crosshair.h"
#include "platform/monitors.h"
#include "pointer/click.h"
#include "pointer/point_scan.h"
#include "pointer/scroll.h"
#include "pointer/step_aside.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace sp {

namespace {
MovementState g_movement;
} // namespace

const MovementState& movementState() { return g_movement; }

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

Point normalisedFor(Point pixel, const MonitorLayout& layout) {
    const Rect v = virtualScreen(layout);
    // The factor first, then the product, truncated toward zero.
    const double fx = 65535.0 / (v.width - 1);
    const double fy = 65535.0 / (v.height - 1);
    return {static_cast<int>(fx * (pixel.x - v.left)), static_cast<int>(fy * (pixel.y - v.top))};
}

Point normalisedFor(Point pixel, Size screen) { return normalisedFor(pixel, singleMonitor(screen)); }

namespace {

Ahead aheadFor(int direction) {
    switch (direction) {
    case ACTION_LEFT: return Ahead::Left;
    case ACTION_RIGHT: return Ahead::Right;
    case ACTION_UP: return Ahead::Up;
    case ACTION_DOWN: return Ahead::Down;
    default: return Ahead::Anywhere;
    }
}

// The wrap tests look at where the pointer is, against the virtual screen.
Point stepOrWrap(int direction, Point from, int step, const Rect& v) {
    const int left = v.left;
    const int top = v.top;
    const int right = v.left + v.width;
    const int bottom = v.top + v.height;
    switch (direction) {
    case ACTION_LEFT: return from.x > left + 1 ? Point{from.x - step, from.y} : Point{right, from.y};
    case ACTION_RIGHT:
        if (from.x >= right - 1) return {left + 1, from.y};
        // One extra pixel near the left edge.
        return from.x < left + 16 ? Point{from.x + step + 1, from.y} : Point{from.x + step, from.y};
    case ACTION_UP: return from.y > top + 1 ? Point{from.x, from.y - step} : Point{from.x, bottom - 1};
    case ACTION_DOWN: return from.y >= bottom - 1 ? Point{from.x, top + 1} : Point{from.x, from.y + step};
    default: return from;
    }
}

} // namespace

Point movementTarget(int direction, Point from, int step, const MonitorLayout& layout) {
    const Rect v = virtualScreen(layout);
    const Point target = stepOrWrap(direction, from, step, v);
    // Past the virtual screen's edge the system keeps the pointer on it, as
    // it always has; only a point between monitors is moved here, forward,
    // so a glide into a gap never stalls there.
    const Point inside{std::clamp(target.x, v.left, v.left + v.width - 1),
                       std::clamp(target.y, v.top, v.top + v.height - 1)};
    const Point onMonitor = nearestMonitorPoint(layout, inside, aheadFor(direction));
    return onMonitor == inside ? target : onMonitor;
}

Point movementTarget(int direction, Point from, int step, Size screen) {
    return movementTarget(direction, from, step, singleMonitor(screen));
}

void moveCursorTo(Platform& p, Point pixel) {
    const Point n = normalisedFor(pixel, p.monitorLayout());
    p.sendAbsoluteMove(n.x, n.y);
}

void putPointerAt(Platform& p, Point pixel) {
    moveCursorTo(p, pixel);
    moveCrosshair(p, pixel);
    noteMoveTarget(pixel);
}

bool stopOnHandMove(Platform& p, Point keptAt) {
    if (mouseIsSwitch() || pointerPlace(p) == keptAt) return false;
    handleFarMoveStop(p);
    return true;
}

void stopScanTimers(Platform& p) {
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    endPointScan(p);
    p.sleepMs(10);
    endMovement();
}

void restartWithSwitchDevice(Platform& p) {
    removeAllSwitchHooks(p);
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    endPointScan(p);
    // A stop the old hook saw is void with the new one going in.
    takeStopSeen();
    installSwitchHook(p);
    setPressState(PressState::Scanning);
    rewindScan();
    startScanTimer(p);
}

void movementTick(Platform& p) {
    const SwitchState& sw = switchState();
    const ActionKind kind =
        pressState() == PressState::Moving ? actionKind(sw.pendingAction) : ActionKind::None;
    if (kind == ActionKind::Scroll) {
        scrollTick(p);
        return;
    }
    if (kind == ActionKind::Point) {
        pointScanTick(p);
        return;
    }
    const Point from = pointerPlace(p);
    if (pressState() != PressState::Moving) return;
    const int direction = sw.pendingAction;
    if (!isDirection(direction)) return;
    const int pixels = pixelsThisTick(p.nowMs(), live().liveMoveStep);
    // Too early for a pixel: nothing moves, so no wrap either.
    if (pixels <= 0) return;
    putPointerAt(p, movementTarget(direction, from, pixels, p.monitorLayout()));
}

Point pointerPlace(Platform& p) {
    const Point reading = p.cursorPos();
    if (!isPanelEcho(reading, p.nowMs())) return reading;
    // Put back once: a later reading there would be the user's own.
    forgetPanelMove();
    const Point from = pointerBeforePanelMove();
    moveCursorTo(p, from);
    return from;
}

} // namespace sp
