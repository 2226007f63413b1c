#include "app/session.h"

#include "app/panel.h"
#include "pointer/click.h"
#include "scan/cells.h"
#include "scan/switch_input.h"

namespace sp {

void onSessionPaused(Platform& p) { releaseDrag(p); }

void onSessionResumed(Platform& p) { restartAtRest(p); }

void restartAtRest(Platform& p) {
    removeAllSwitchHooks(p);
    p.killTimer(TIMER_MOVE);
    stopAndReset(p);
    installSwitchHook(p);
    armStartDelay(p);
}

bool outranksThisProgram(const ForegroundWindow& window) {
    if (!window.exists || window.shell || window.ownProcess) return false;
    return !window.levelKnown || window.levelAbove;
}

void onForegroundChanged(Platform& p, const ForegroundWindow& window) {
    setBlockedByWindowInFront(p, outranksThisProgram(window));
}

} // namespace sp
