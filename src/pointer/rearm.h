// The two timers that bring the system back without a switch press: the
// re-arm countdown after a stop, and the start delay that raises the
// crosshair after start-up, a restore or the settings window closing.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct RearmState {
    std::atomic<int> rearmCount{0};
    std::atomic<int> rearmLimit{5};
    std::atomic<int> shortRearm{0};
    std::atomic<int> rearmLastX{0};
    std::atomic<int> rearmLastY{0};
};

const RearmState& rearmState();
void resetRearmState();
// A stop ends any countdown that was under way.
void resetRearmCount();
// At start-up no tick has yet seen where the pointer rests.
void forgetRearmPointer();

// Pointer movement between two ticks up to this far counts as rest.
constexpr double REARM_REST_DISTANCE = 10.0;
constexpr int START_DELAY_MS = 1500;
// The countdown's tick after a stop.
constexpr int REARM_PERIOD_MS = 1000;

void rearmTick(Platform& p);
// The countdown, to its short limit, as after the settings window closes.
void startShortRearm(Platform& p);
void startDelayTick(Platform& p);

} // namespace sp
