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

const MovementState& movementState();
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
// The program's own move of the pointer: the absolute move, the crosshair
// with it, and the mark the mouse switch's hook tells it from a hand's by.
void putPointerAt(Platform& p, Point pixel);
// With the keyboard as the switch only a tick can see a hand take the mouse
// back: a pointer away from `keptAt` stops everything as a far move does.
// True when it did. The mouse switch's hook sees hand moves by itself.
bool stopOnHandMove(Platform& p, Point keptAt);
// One tick of TIMER_MOVE.
void movementTick(Platform& p);
// Ending a movement (or a point scan): both timers stop, nothing moves.
void stopScanTimers(Platform& p);
// The switch becomes the device `switchDevice` names now: both hooks out,
// movement stopped, that hook in, and scanning from the first cell.
void restartWithSwitchDevice(Platform& p);

// The pointer's place as the program takes it: the reading, except that an
// echo is put back where the pointer was, and that place is returned.
Point pointerPlace(Platform& p);

} // namespace sp
