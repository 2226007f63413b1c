// The press handler, the scan step and what a scanned click does.
#include "app/press.h"

#include "app/keyboard.h"
#include "app/menu.h"
#include "app/panel.h"
#include "config_window/config_state.h"
#include "config_window/options_window.h"
#include "config_window/own_windows.h"
#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "pointer/point_scan.h"
#include "pointer/rearm.h"
#include "pointer/scroll.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

// Over the program's own windows every kind is a plain primary click, so a
// one-switch user can work their controls.
bool overOwnWindow() { return pointerOverOwnWindow(); }

void clickOnConfigWindow(Platform& p) {
    primaryClick(p);
    if (configState().colourDialogOpen == 1) p.setConfigTimer(CONFIG_TIMER_PERIOD_MS);
}

void leftClick(Platform& p) {
    if (overOwnWindow()) {
        if (clickState().dragging == 1)
            endDrag(p);
        else
            clickOnConfigWindow(p);
    } else if (panelState().pointerOverPanel == 1) {
        if (ownWindowState(OwnWindow::Settings).open == 0) openConfigFromPanel(p);
    } else {
        if (clickState().dragging == 1) endDrag(p);
        primaryClick(p);
    }
}

// Right, middle and double clicks: while a drag is held they only end it.
void otherClick(Platform& p, int action) {
    if (overOwnWindow()) {
        clickOnConfigWindow(p);
        return;
    }
    // Over the panel a right click opens the menu, as a left click there
    // opens the settings.
    if (action == ACTION_RIGHT_CLICK && panelState().pointerOverPanel == 1) {
        openMenuFromPanel(p);
        return;
    }
    if (clickState().dragging == 1) {
        endDrag(p);
        return;
    }
    clickOutside(p, action);
}

void dragToggle(Platform& p) {
    const ConfigState& config = configState();
    bool anyClickShown = false;
    for (int kind = 0; kind < 4; ++kind) anyClickShown = anyClickShown || config.clickChecks[kind] == 1;
    // With only the drag on, the window could not be clicked at all otherwise;
    // the options window has nothing to drag.
    if ((ownWindowState(OwnWindow::Settings).pointerOver == 1 && !anyClickShown) ||
        ownWindowState(OwnWindow::Options).pointerOver == 1)
        primaryClick(p);
    else
        toggleDrag(p);
}

} // namespace

void handleSwitchEvent(Platform& p, SwitchEvent event, bool current) {
    const SwitchEvent stop = takeStopSeen();
    // The stop takes the hook out, so its own message comes back stale.
    const SwitchEvent acted = stop != SwitchEvent::None ? stop : current ? event : SwitchEvent::None;
    bool cameToRest = false;
    switch (acted) {
    case SwitchEvent::Press: cameToRest = handleSwitchPress(p); break;
    // Either also stops the keyboard's scan; it stays open, at rest.
    case SwitchEvent::Escape:
        handleEscape(p);
        stopKeyboardScan(p);
        break;
    case SwitchEvent::FarMoveStop:
        handleFarMoveStop(p);
        stopKeyboardScan(p);
        break;
    case SwitchEvent::HoldBegun: p.setTimer(TIMER_HOLD, optionInForce(OPTION_HOLD_MS)); break;
    default: break;
    }
    if (event == SwitchEvent::Press) endPressInHand();
    // The caption is the status line: once it says "Ready", a press must
    // start a scan, so it says so only once this press is over.
    if (cameToRest) showReadyCaption(p);
}

bool handleSwitchPress(Platform& p) {
    notePress();
    // While the keyboard is open its scan takes the presses.
    if (keyboardOpen()) {
        keyboardPress(p);
        return false;
    }
    if (pressState() == PressState::Scanning) {
        // Before the first step of a scan (re)started the panel still shows
        // the last selection; acting on it would repeat that.
        if (scanState().highlightedAction == NO_ACTION) return false;
        freezeScan(p);
        p.sleepMs(10);
        const int action = scanState().highlightedAction;
        const ActionKind kind = actionKind(action);
        if (kind != ActionKind::None) setPendingAction(action);
        switch (kind) {
        case ActionKind::Direction:
            setPressState(PressState::Moving);
            p.sleepMs(100);
            startMovement();
            p.setTimer(TIMER_MOVE, MOVE_PERIOD_MS);
            break;
        case ActionKind::Scroll:
            setPressState(PressState::Moving);
            p.sleepMs(100);
            startScroll(p);
            p.setTimer(TIMER_MOVE, scrollPeriodMs());
            break;
        case ActionKind::Point:
            setPressState(PressState::Moving);
            startPointScan(p);
            p.setTimer(TIMER_MOVE, MOVE_PERIOD_MS);
            break;
        case ActionKind::Click: performClick(p); break;
        case ActionKind::Menu: openMenuFromCell(p); break;
        case ActionKind::Window: {
            const auto window = static_cast<OwnWindow>(cellRow(cellForAction(action)).window);
            if (window == OwnWindow::Keyboard)
                openKeyboard(p);
            else
                openWindowFromCell(p, window);
            break;
        }
        case ActionKind::StartStop: return true;
        case ActionKind::None: break;
        }
        return false;
    }
    if (pressState() == PressState::Moving) {
        // A point scan takes the presses until its point is fixed.
        const bool pointed = pointScanRunning();
        if (pointed && !pointScanPress(p)) return false;
        // Ending a movement stops the timers just as Escape does.
        stopScanTimers(p);
        // After a movement the pointer is mostly where the user wants to click.
        if (pointed || currentOptions().value[OPTION_AFTER_MOVE] == AFTER_MOVE_CLICKS)
            resumeAtFirstClickCell();
        setPressState(PressState::Scanning);
        startScanTimer(p);
        // The point is fixed for a click: that click lights at once rather
        // than a whole step later.
        if (pointed) scanStep(p);
        return false;
    }
    setPressState(PressState::Scanning);
    rebuildCrosshair(p, 5, 20);
    startScanTimer(p);
    return false;
}

void handleEscape(Platform& p) {
    removeSwitchHook(p);
    p.sleepMs(10);
    stopScanTimers(p);
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    stopAndReset(p);
    p.setTimer(TIMER_REARM, REARM_PERIOD_MS);
}

bool holdTimerTick(Platform& p) {
    p.killTimer(TIMER_HOLD);
    if (!takeHeldPress()) return false;
    handleSwitchEvent(p, SwitchEvent::Press, true);
    return true;
}

void handlePointerMoved(Platform& p, Point pointer) { moveCrosshair(p, pointer); }

void scanStep(Platform& p) {
    if (!lightNextCell(p)) {
        stopAndReset(p);
        return;
    }
    // The box repaints on its own thread from the state current then, so it
    // is told only once the step's state is complete: told earlier, it could
    // paint START on cell 0 for a whole step.
    if (overlayState().helpBoxOpen == 1) p.invalidateHelpBox();
    showLitCell(p);
}

// The switch hook stays in: out, a press during the click would reach the
// window under the pointer. The hook lets the click's own marked events
// through and drops the presses, as one is in hand until this returns.
void performClick(Platform& p) {
    p.sleepMs(CLICK_DELAY_MS);

    // Where the pointer is now decides what a click means, not where it was
    // when a window last saw it.
    refreshPointerOverPanel(p);
    refreshPointerOverOwnWindows(p);
    const int action = switchState().pendingAction;
    switch (action) {
    case ACTION_LEFT_CLICK: leftClick(p); break;
    case ACTION_RIGHT_CLICK:
    case ACTION_MIDDLE_CLICK:
    case ACTION_DOUBLE_CLICK: otherClick(p, action); break;
    case ACTION_DRAG: dragToggle(p); break;
    default: break;
    }

    if (live().liveClickSound == 1) p.playClickSound();
    setPressState(PressState::Scanning);
    const bool pointAgain = resumeAfterClick();
    startScanTimer(p);
    // The click's own wait has already shown what was taken; going back to
    // pointing need not cost a whole step more.
    if (pointAgain) scanStep(p);
}

} // namespace sp
