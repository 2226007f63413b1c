// The crosshair: four thin arms running from the monitor's edges towards the
// pointer and stopping short of it. The arm windows live on threads of their
// own (the platform's business); this module owns their geometry, their open
// flags and the ways every caller builds, closes and moves them.
#pragma once

#include <atomic>

#include "platform/platform.h"
#include "platform/scale.h"

namespace sp {

// At 96 DPI; scaled for the monitor that holds the pointer.
constexpr int ARM_GAP = 10;
constexpr int ARM_THICKNESS = 3;
// moveCrosshair's pause, which also paces pointer movement.
constexpr int CROSSHAIR_MOVE_PAUSE_MS = 33;

struct OverlayState {
    // Written by the arm threads, read by the main thread.
    std::atomic<int> armOpen[ARM_COUNT] = {0, 0, 0, 0};
    std::atomic<int> helpBoxOpen{0};
    std::atomic<int> pointMarkOpen[POINT_MARK_COUNT] = {0, 0};
};

const OverlayState& overlayState();
void resetOverlayState();
// The arm threads report their windows shown or gone.
void noteArmOpen(Arm arm, bool open);
void noteHelpBoxOpen(bool open);
void notePointMarkOpen(PointMark mark, bool open);

// Where an arm goes for a pointer at `pointer`: across the monitor that
// holds it. Arms near its left or top edge may get a zero or negative
// length; they then show nothing. The right and down arms are a monitor
// long, so they reach past its far edge, unless another monitor lies there.
// The gap and the thickness are scaled for `dpi`.
Rect armRect(Arm arm, Point pointer, const MonitorLayout& layout, int dpi = BASE_DPI);
Rect armRect(Arm arm, Point pointer, Size screen);

bool anyCrosshairOpen();
// WM_CLOSE to the four arms (and the help box when it is on), if any is open.
void closeCrosshairIfOpen(Platform& p);
// Closes what is open, waits, starts the arm threads, waits, and applies the
// settings so the new arms take the line colour. The help box, when it is
// on, is closed and started with the arms.
void rebuildCrosshair(Platform& p, int waitBeforeStartMs, int waitAfterStartMs);
// WM_CLOSE to every arm (and the help box when it is on), open or not.
void closeCrosshair(Platform& p);
// Moves the arms (and the help box) around `pointer`. Whoever moved the
// pointer goes through moveCrosshair (pointer/step_aside.h), which also
// steps the panel aside and pauses.
void placeCrosshair(Platform& p, Point pointer);

} // namespace sp
