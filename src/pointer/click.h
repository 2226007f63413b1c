// The clicks as they reach the window under the pointer, and the stop that
// brings everything to rest. What a click over the program's own windows
// does instead is the press handler's (app/press.h).
#pragma once

#include "platform/platform.h"
#include "scan/cells.h"

namespace sp {

// The wait between the selection and the click, so the user sees which
// cell was taken.
constexpr int CLICK_DELAY_MS = 500;
// The configuration window's timer period, restarted by clicks on it while
// its colour dialog is up.
constexpr int CONFIG_TIMER_PERIOD_MS = 500;

// Primary and secondary button events, honouring swapped buttons.
unsigned primaryDown(Platform& p);
unsigned primaryUp(Platform& p);
unsigned secondaryDown(Platform& p);
unsigned secondaryUp(Platform& p);

void primaryClick(Platform& p);
// Lets go of a held drag.
void endDrag(Platform& p);
// A right, middle or double click (`action`) where the pointer is.
void clickOutside(Platform& p, int action);
// Holds the primary button down for a drag, or lets go of the one held.
void toggleDrag(Platform& p);
// Releases a held drag, if any.
void releaseDrag(Platform& p);

// Releases any held button, stops scanning and the countdown, closes the
// crosshair and paints the panel at rest. Hooks are the caller's business.
void stopAndReset(Platform& p);
// A hand took the mouse back (or the mouse switch saw it moved far): the
// hook comes out, everything rests, and the re-arm countdown starts.
void handleFarMoveStop(Platform& p);

} // namespace sp
