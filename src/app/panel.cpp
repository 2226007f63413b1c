// Control panel logic.
#include "app/panel.h"

#include "app/rearm.h"
#include "config_window/config_state.h"
#include "config_window/config_window.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "scan/watchdog.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

PanelState& panelState() {
    static PanelState state;
    return state;
}

Size panelCellArea() {
    const PanelGrid grid = panelGrid();
    return {grid.columns * CELL_SIZE - 2, grid.rows * CELL_SIZE};
}

void resetPanelState() {
    panelState().pointerOverPanel = 0;
    panelState().scanStoppedForConfig = 0;
    panelState().closed = 0;
}

bool startAsOnlyCopy(Platform& p) {
    if (p.claimOnlyCopy()) return true;
    p.restoreRunningCopy();
    return false;
}

void startUp(Platform& p) {
    // The listed cells first: the scan sequence the settings build takes them in.
    loadOptions(p);
    const bool cellsMoved = layOutListedCells();
    loadSettings(p);
    if (cellsMoved) p.layOutPanel();
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
    // Only the start/stop cell is a button that sends commands.
    if (isCell(cellId) && cellRow(cellId).kind == ActionKind::StartStop) stopAndReset(p);
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

void onPanelMouseButton(Platform& p) {
    const SwitchState& sw = switchState();
    PanelState& panel = panelState();
    // An open window shows choices not yet saved; reading the file now
    // would drop them from the record while the window still shows them.
    if (configState().configOpen == 1) return;
    const bool keyboard = sw.keyboardHookActive == 1;
    if (!keyboard && !(panel.pointerOverPanel == 1 && sw.mouseHookActive == 0)) return;
    if (keyboard) {
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
