// Moving the pointer a step at a time in the selected direction, wrapping at
// the screen edges and carrying the crosshair along.
#pragma once

#include "platform/platform.h"

namespace sp {

// The period TIMER_MOVE asks for; a tick moves one step per period elapsed.
constexpr int MOVE_PERIOD_MS = 40;

// Time of the last tick and the part of a step not moved yet.
struct MovementState {
    bool started = false;
    double startMs = 0;
    double lastTickMs = 0;
    double carry = 0;
};

// With acceleration on, the step grows evenly from the set step to `most`
// times it over `rampMs` of one movement: the steps due from `fromMs` to
// `toMs` after it began.
double acceleratedSteps(double fromMs, double toMs, int most, int rampMs);

MovementState& movementState();
void resetMovementState();
// Called as TIMER_MOVE starts: its first tick moves one whole step.
void startMovement();

// Normalised absolute coordinates (0..65535 across the virtual screen) for
// a pixel.
Point normalisedFor(Point pixel, const MonitorLayout& layout);
Point normalisedFor(Point pixel, Size screen);
// Where one step from `from` goes for direction action 1..4: on across
// monitor edges, round from one edge of the virtual screen to the other,
// and to the nearest point of a monitor ahead from between monitors.
Point movementTarget(int direction, Point from, int step, const MonitorLayout& layout);
Point movementTarget(int direction, Point from, int step, Size screen);
// Moves the system pointer to `pixel` with one absolute move.
void moveCursorTo(Platform& p, Point pixel);
// One tick of TIMER_MOVE.
void movementTick(Platform& p);

} // namespace sp
