// Scrolling from a scroll cell: the wheel turns one notch at the pointer,
// then one more every scroll_interval_ms, until the next press. It runs on
// TIMER_MOVE as a movement does, so every way a movement ends ends it too.
#pragma once

#include "platform/platform.h"

namespace sp {

// What the system counts as one notch of the wheel.
constexpr int WHEEL_NOTCH = 120;

// The wheel event one notch of a scroll action gives: the amount, positive
// away from the user or to the right, and whether it is the tilt wheel.
struct WheelTurn {
    int delta;
    bool horizontal;
};
WheelTurn wheelTurnFor(int action);

// TIMER_MOVE's period while scrolling.
int scrollPeriodMs();
// Called as the scroll starts: the first notch turns at once.
void startScroll(Platform& p);
// One tick of TIMER_MOVE while a scroll action runs.
void scrollTick(Platform& p);
void resetScrollState();

} // namespace sp
