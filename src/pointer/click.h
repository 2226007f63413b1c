// Click actions and the stop that brings everything to rest.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct ClickState {
    std::atomic<int> dragging;
};

ClickState& clickState();
void resetClickState();

// Primary and secondary button events, honouring swapped buttons.
unsigned primaryDown(Platform& p);
unsigned primaryUp(Platform& p);
unsigned secondaryDown(Platform& p);
unsigned secondaryUp(Platform& p);

// Releases any held button, stops scanning and the countdown, closes the
// crosshair and paints the panel at rest. Hooks are the caller's business.
void stopAndReset(Platform& p);

} // namespace sp
