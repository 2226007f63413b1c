// Control panel logic.
#include "app/panel.h"
#include "app/press.h"

#include "app/held_files.h"
#include "app/keyboard.h"
#include "app/menu.h"
#include "config_window/config_state.h"
#include "config_window/config_window.h"
#include "config_window/own_windows.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "pointer/point_scan.h"
#include "pointer/rearm.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "scan/watchdog.h"
#include "settings/fallback_log.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {
PanelState g_panel;
} // namespace

const PanelState& panelState() { return g_panel; }

Size panelCellArea(int dpi) {
    const PanelGrid grid = panelGrid();
    const int pitch = cellPitch(dpi);
    return {grid.columns * pitch - scaleToDpi(2, dpi), grid.rows * pitch};
}

void resetPanelState() {
    g_panel.pointerOverPanel = 0;
    g_panel.closed = 0;
    g_panel.openWhenGone = 0;
}

// A copy that holds the claim but cannot answer (suspended, hung) must not
// keep the user from starting one that works; one that answers is enough.
bool startAsOnlyCopy(Platform& p) {
    bool claimed = p.claimOnlyCopy(0);
    RunningCopy other = p.showRunningCopy(COPY_ANSWER_MS);
    if (other == RunningCopy::Gone && !claimed) {
        // The copy holding the claim is ending, or has not made its panel yet.
        claimed = p.claimOnlyCopy(COPY_ANSWER_MS);
        if (!claimed) other = p.showRunningCopy(COPY_ANSWER_MS);
    }
    if (other == RunningCopy::Shown) {
        // One that answers and then ends would leave the user with no copy.
        if (!claimed && !p.claimOnlyCopy(COPY_OUTLIVE_MS)) return false;
        logLine(p, "start: the copy that answered has ended; this one starts");
        return true;
    }
    const std::string wait = std::to_string(COPY_ANSWER_MS / 1000) + " s";
    if (other == RunningCopy::NoAnswer) {
        // Free by now if that copy was ending: a third start then finds it held.
        if (!claimed) p.claimOnlyCopy(0);
        logLine(p, "start: another copy did not answer within " + wait + "; this one starts as well");
    } else if (!claimed) {
        logLine(p, "start: another copy has shown no panel for " + wait + "; this one starts as well");
    }
    return true;
}

void startUp(Platform& p) {
    // The listed cells first: the scan sequence the settings build takes them in.
    loadOptions(p, true);
    const bool cellsMoved = layOutListedCells();
    loadSettings(p);
    buildScanSequence();
    if (cellsMoved) p.layOutPanel();
    resetCellStates();
    forgetRearmPointer();
    installSwitchHook(p);
    watchHeldFiles(p);
}

void armStartDelay(Platform& p) { p.setTimer(TIMER_START_DELAY, START_DELAY_MS); }

void onPanelTimer(Platform& p, int timerId) {
    switch (timerId) {
    case TIMER_SCAN: scanStep(p); break;
    case TIMER_REARM: rearmTick(p); break;
    case TIMER_START_DELAY: startDelayTick(p); break;
    case TIMER_MOVE: movementTick(p); break;
    case TIMER_WATCHDOG: watchdogTick(p); break;
    case TIMER_HOLD: holdTimerTick(p); break;
    case TIMER_PANEL_ECHO: panelEchoTick(p); break;
    case TIMER_HELD_FILES: heldFilesTick(p); break;
    case TIMER_KEYBOARD: keyboardTick(p); break;
    default: break;
    }
}

void onCellCommand(Platform& p, int cellId) {
    // Only the start/stop cell is a button that sends commands.
    if (isCell(cellId) && cellRow(cellId).kind == ActionKind::StartStop) stopAndReset(p);
}

void onPanelHitTest(bool overClientArea) {
    if (!overClientArea)
        g_panel.pointerOverPanel = 0;
    else if (ownWindowState(OwnWindow::Settings).open == 0)
        g_panel.pointerOverPanel = 1;
}

void refreshPointerOverPanel(Platform& p) { g_panel.pointerOverPanel = p.pointerOnPanel() ? 1 : 0; }

void openConfigFromPanel(Platform& p) {
    // Scanning goes on while the window is open, so the window brings the
    // crosshair back.
    noteScanStoppedForConfig(false);
    openConfigWindow(p);
    closeCrosshair(p);
    clearPointerOverPanel();
}

namespace {

void openFromPanelClick(Platform& p) {
    if (switchState().keyboardHookActive == 1) {
        // Scanning, if it runs, goes on while the window is open.
        noteScanStoppedForConfig(false);
    } else {
        stopAndReset(p);
        noteScanStoppedForConfig(true);
    }
    takeSettingsFile(p);
    openConfigWindow(p);
}

} // namespace

void onPanelMouseButton(Platform& p) {
    const SwitchState& sw = switchState();
    PanelState& panel = g_panel;
    const OwnWindowState& config = ownWindowState(OwnWindow::Settings);
    if (sw.keyboardHookActive == 0 && !(panel.pointerOverPanel == 1 && sw.mouseHookActive == 0)) return;
    if (config.open == 1) {
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
    if (g_panel.openWhenGone.exchange(0) == 1) openFromPanelClick(p);
}

void onConfigRequest(Platform& p, ConfigRequest request, int value) {
    const bool open = ownWindowState(OwnWindow::Settings).open == 1;
    handleConfigRequest(p, request, value);
    if (!open || (request != ConfigRequest::Destroyed && request != ConfigRequest::Gone)) return;
    // The window covered the panel; its hit test may be long past.
    clearPointerOverPanel();
    if (request == ConfigRequest::Gone) openWindowKeptWaiting(p);
}

void clearPointerOverPanel() { g_panel.pointerOverPanel = 0; }

void onPanelRestored(Platform& p) { armStartDelay(p); }

void closePanel(Platform& p) {
    if (g_panel.closed.exchange(1) == 1) return;
    removeAllSwitchHooks(p);
    // Leaving with a drag held would leave the user's button down after exit.
    releaseDrag(p);
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    p.killTimer(TIMER_REARM);
    keyboardAtExit(p);
    endPointScan(p);
    closeCrosshair(p);
    endMenu(p);
}

} // namespace sp
