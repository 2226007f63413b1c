// Control panel logic.
#include "app/panel.h"

#include "app/rearm.h"
#include "config_window/config_state.h"
#include "config_window/config_window.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "scan/watchdog.h"
#include "settings/settings.h"

namespace sp {

PanelState& panelState() {
    static PanelState state;
    return state;
}

void resetPanelState() {
    panelState().pointerOverPanel = 0;
    panelState().scanStoppedForConfig = 0;
    panelState().closed = 0;
    panelState().openWhenGone = 0;
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
    case TIMER_WATCHDOG: watchdogTick(p); break;
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

void refreshPointerOverPanel(Platform& p) { panelState().pointerOverPanel = p.pointerOnPanel() ? 1 : 0; }

void openConfigFromPanel(Platform& p) {
    // Scanning goes on while the window is open, so the window brings the
    // crosshair back.
    panelState().scanStoppedForConfig = 0;
    openConfigWindow(p);
    closeCrosshair(p);
    clearPointerOverPanel();
}

namespace {

void openFromPanelClick(Platform& p) {
    PanelState& panel = panelState();
    if (switchState().keyboardHookActive == 1) {
        // Scanning, if it runs, goes on while the window is open.
        panel.scanStoppedForConfig = 0;
    } else {
        stopAndReset(p);
        panel.scanStoppedForConfig = 1;
    }
    readSettingsFile(p);
    applySettings(p);
    openConfigWindow(p);
}

} // namespace

void onPanelMouseButton(Platform& p) {
    const SwitchState& sw = switchState();
    PanelState& panel = panelState();
    const ConfigState& config = configState();
    if (sw.keyboardHookActive == 0 && !(panel.pointerOverPanel == 1 && sw.mouseHookActive == 0)) return;
    if (config.configOpen == 1) {
        // An open window shows choices not yet saved; reading the file now
        // would drop them from the record while the window still shows them.
        // One whose close has run shows nothing more, yet is still there
        // after the user has seen it vanish.
        if (config.closing == 1) panel.openWhenGone = 1;
        return;
    }
    openFromPanelClick(p);
}

void openWindowKeptWaiting(Platform& p) {
    if (panelState().openWhenGone.exchange(0) == 1) openFromPanelClick(p);
}

void clearPointerOverPanel() { panelState().pointerOverPanel = 0; }

void onPanelRestored(Platform& p) { armStartDelay(p); }

void closePanel(Platform& p) {
    if (panelState().closed.exchange(1) == 1) return;
    removeAllSwitchHooks(p);
    // Leaving with a drag held would leave the user's button down after exit.
    releaseDrag(p);
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    p.killTimer(TIMER_REARM);
    closeCrosshair(p);
}

} // namespace sp
