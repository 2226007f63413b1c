// The hook watchdog. Windows takes a low-level hook out without a word when
// one call keeps it waiting too long, and the switch then reaches other
// programs while the panel looks alive. Raw input reaches this program
// whether or not the hook is still in the chain, so a switch press that the
// raw stream shows and the hook never saw means the hook is gone.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

// A raw switch press with no hook event this close to it means the hook is
// gone. Also how long the watchdog waits for the hook's event to show.
constexpr int WATCHDOG_WINDOW_MS = 500;

struct WatchdogState {
    // When the hook last saw any event; written by the hook thread.
    std::atomic<double> lastHookEventMs{-1e18};
    // When the switch hook last went in; main thread.
    double hookInSinceMs = 0;
    // The raw press waiting for TIMER_WATCHDOG, if any.
    bool checkPending = false;
    double rawPressMs = 0;
    // The device raw input is registered for: -1 none, else a HookKind.
    int rawKind = -1;
    int reinstalls = 0;
};

const WatchdogState& watchdogState();
void resetWatchdogState();

// Hook thread: the hook saw an event at `atMs` (Platform::nowMs).
void noteHookEvent(double atMs);
// The switch hook has just gone in: raw input follows the device, and
// presses from before this moment are not the new hook's to have seen.
void noteSwitchHookIn(Platform& p, HookKind kind);
// Main thread: raw input shows a key-down (keyboard switch) or button-down
// (mouse switch) that happened at `atMs`.
void onRawSwitchPress(Platform& p, double atMs);
// TIMER_WATCHDOG: puts the hook back if it missed the press.
void watchdogTick(Platform& p);

} // namespace sp
