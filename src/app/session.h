// What the system does around the program that could cost the user the
// switch: the session locking and unlocking, sleep and resume, and a
// window in front that the system shields from this program's hook.
#pragma once

#include "platform/platform.h"

namespace sp {

// Lock and suspend: the user cannot reach the panel, so no button the
// program holds may stay down.
void onSessionPaused(Platform& p);
// Unlock and resume: hooks are known to go dead across both, and nothing
// half done may carry over.
void onSessionResumed(Platform& p);
// The switch hook goes in afresh, for the device the record names, and the
// program comes to rest, the crosshair back after the start delay: as it
// stands just after start-up.
void restartAtRest(Platform& p);

// The window in front, as far as it matters to the switch.
struct ForegroundWindow {
    bool exists = false;
    // The desktop, or a window of the shell's own process.
    bool shell = false;
    bool ownProcess = false;
    // Its process could be opened and its token's integrity level read.
    bool levelKnown = false;
    // That level is above this program's own.
    bool levelAbove = false;
};

// While such a window is in front, the system keeps the switch from this
// program's hook and drops what it sends; one it cannot even look at
// counts as such.
bool outranksThisProgram(const ForegroundWindow& window);
void onForegroundChanged(Platform& p, const ForegroundWindow& window);

} // namespace sp
