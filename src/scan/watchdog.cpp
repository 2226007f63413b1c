#include "scan/watchdog.h"

#include "scan/switch_input.h"
#include "settings/fallback_log.h"
#include "settings/settings.h"

namespace sp {

namespace {
WatchdogState g_watch;

// Out on purpose (the countdown, a stop) is not a lost hook.
bool hookMeantIn() {
    const SwitchState& sw = switchState();
    return mouseIsSwitch() ? sw.mouseHookActive == 1 : sw.keyboardHookActive == 1;
}
} // namespace

const WatchdogState& watchdogState() { return g_watch; }

void resetWatchdogState() {
    g_watch.lastHookEventMs = -1e18;
    g_watch.hookInSinceMs = 0;
    g_watch.checkPending = false;
    g_watch.rawPressMs = 0;
    g_watch.rawKind = -1;
    g_watch.reinstalls = 0;
}

void noteHookEvent(double atMs) { g_watch.lastHookEventMs.store(atMs, std::memory_order_relaxed); }

void noteSwitchHookIn(Platform& p, HookKind kind) {
    g_watch.hookInSinceMs = p.nowMs();
    if (g_watch.rawKind != static_cast<int>(kind)) {
        p.watchRawInput(kind);
        g_watch.rawKind = static_cast<int>(kind);
    }
}

void onRawSwitchPress(Platform& p, double atMs) {
    // One check covers a burst; a press from before the hook went in is not
    // one it could have seen.
    if (g_watch.checkPending || !hookMeantIn() || atMs < g_watch.hookInSinceMs) return;
    g_watch.checkPending = true;
    g_watch.rawPressMs = atMs;
    p.setTimer(TIMER_WATCHDOG, WATCHDOG_WINDOW_MS);
}

void watchdogTick(Platform& p) {
    p.killTimer(TIMER_WATCHDOG);
    if (!g_watch.checkPending) return;
    g_watch.checkPending = false;
    // Put in again since the press: the hook is a fresh one anyway.
    if (!hookMeantIn() || g_watch.hookInSinceMs > g_watch.rawPressMs) return;
    if (g_watch.lastHookEventMs.load(std::memory_order_relaxed) >= g_watch.rawPressMs - WATCHDOG_WINDOW_MS)
        return;
    removeAllSwitchHooks(p);
    installSwitchHook(p);
    ++g_watch.reinstalls;
    logLine(p, std::string("switch: the ") + (mouseIsSwitch() ? "mouse" : "keyboard") +
                   " hook missed a press and was put back in");
}

} // namespace sp
