// Control panel logic.
#include "app/panel.h"

#include "app/rearm.h"
#include "config_window/config_state.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

PanelState& panelState() {
    static PanelState state;
    return state;
}

bool startAsOnlyCopy(Platform& p) {
    if (p.claimOnlyCopy()) return true;
    p.restoreRunningCopy();
    return false;
}

void startUp(Platform& p) {
    loadSettings(p);
    resetCellStates();
    rearmState().rearmLastX = 0;
    rearmState().rearmLastY = 0;
    installSwitchHook(p);
}

void armStartDelay(Platform& p) { p.setTimer(TIMER_START_DELAY, START_DELAY_MS); }

void onPanelTimer(Platform& p, int timerId) {
    switch (timerId) {
    case TIMER_SCAN: scanStep(p); break;
    case TIMER_REARM: rearmTick(p); break;
    case TIMER_START_DELAY: startDelayTick(p); break;
    case TIMER_MOVE: movementTick(p); break;
    default: break;
    }
}

void onCellCommand(Platform& p, int cellId) {
    if (cellId == 0) stopAndReset(p);
}

void onPanelHitTest(bool overClientArea) {
    if (!overClientArea)
        panelState().pointerOverPanel = 0;
    else if (configState().configOpen == 0)
        panelState().pointerOverPanel = 1;
}

void onPanelRestored(Platform& p) { armStartDelay(p); }

void closePanel(Platform& p) {
    removeAllSwitchHooks(p);
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    p.killTimer(TIMER_REARM);
    closeCrosshair(p);
}

} // namespace sp
