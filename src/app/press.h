// The press handler: what a press the switch hook has classified does, and
// the steps it shares with the scan's timer. It moves the system between
// Idle, Scanning and Moving: freezes the scan, starts a movement, clicks,
// opens the menu or stops. Every reaction runs on the main thread.
#pragma once

#include "platform/platform.h"
#include "scan/switch_input.h"

namespace sp {

// Main thread: a switch message. `current` is false when the hook that saw
// it has since been taken out. A stop seen by the hook acts first, whatever
// message brings the main thread here, and the presses queued behind it
// then find their hook gone.
void handleSwitchEvent(Platform& p, SwitchEvent event, bool current);

// True when the press stopped the scan at the start/stop cell: "Ready" is
// for the caller to show once the press is over.
bool handleSwitchPress(Platform& p);
void handleEscape(Platform& p);
// The hold timer: a hold still waiting is a press; true if it was.
bool holdTimerTick(Platform& p);
void handlePointerMoved(Platform& p, Point pointer);

// One step of the scan (TIMER_SCAN): the next cell lights, or after
// scan_loops passes without a press everything comes to rest.
void scanStep(Platform& p);

// The click kind of `pendingAction`, the sound after it, and scanning
// restarted from the first cell with nothing highlighted. Over the panel
// and the program's own windows a click works them instead. Runs on the
// main thread and blocks it for the delay and the sound.
void performClick(Platform& p);

} // namespace sp
