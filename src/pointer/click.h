// Click actions and the stop that brings everything to rest.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct ClickState {
    // 1 while a drag holds the primary button down.
    std::atomic<int> dragging;
};

ClickState& clickState();
void resetClickState();

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

// The click kind of `pendingAction`, the sound after it, and scanning
// restarted from the first cell with nothing highlighted. Runs on the main
// thread and blocks it for the delay and the sound.
void performClick(Platform& p);
// Releases a held drag, if any.
void releaseDrag(Platform& p);

// Releases any held button, stops scanning and the countdown, closes the
// crosshair and paints the panel at rest. Hooks are the caller's business.
void stopAndReset(Platform& p);

} // namespace sp
