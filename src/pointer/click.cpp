// Button events, the click actions and the stop that brings the system to rest.
#include "pointer/click.h"

#include "app/menu.h"
#include "app/panel.h"
#include "config_window/config_state.h"
#include "config_window/options_window.h"
#include "overlay/crosshair.h"
#include "pointer/point_scan.h"
#include "pointer/rearm.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

namespace {
ClickState g_click;

void primaryClick(Platform& p) {
    p.sendButton(primaryDown(p));
    p.sendButton(primaryUp(p));
}

void endDrag(Platform& p) {
    g_click.dragging = 0;
    p.sendButton(primaryUp(p));
}

// Over the program's own windows every kind is a plain primary click, so a
// one-switch user can work their controls.
bool overOwnWindow() { return configState().pointerOverConfig == 1 || optionsWindowState().pointerOver == 1; }

void clickOnConfigWindow(Platform& p) {
    primaryClick(p);
    if (configState().colourDialogOpen == 1) p.setConfigTimer(CONFIG_TIMER_PERIOD_MS);
}

void leftClick(Platform& p) {
    const ConfigState& config = configState();
    if (overOwnWindow()) {
        if (g_click.dragging == 1)
            endDrag(p);
        else
            clickOnConfigWindow(p);
    } else if (panelState().pointerOverPanel == 1) {
        if (config.configOpen == 0) openConfigFromPanel(p);
    } else {
        if (g_click.dragging == 1) endDrag(p);
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
    if (g_click.dragging == 1) {
        endDrag(p);
        return;
    }
    switch (action) {
    case ACTION_RIGHT_CLICK:
        p.sendButton(secondaryDown(p));
        p.sendButton(secondaryUp(p));
        break;
    case ACTION_MIDDLE_CLICK:
        p.sendButton(BUTTON_MIDDLE_DOWN);
        p.sendButton(BUTTON_MIDDLE_UP);
        break;
    default:
        primaryClick(p);
        primaryClick(p);
        break;
    }
}

void dragToggle(Platform& p) {
    const ConfigState& config = configState();
    bool anyClickShown = false;
    for (int kind = 0; kind < 4; ++kind) anyClickShown = anyClickShown || config.clickChecks[kind] == 1;
    // With only the drag on, the window could not be clicked at all otherwise;
    // the options window has nothing to drag.
    if ((config.pointerOverConfig == 1 && !anyClickShown) || optionsWindowState().pointerOver == 1) {
        primaryClick(p);
    } else if (g_click.dragging == 0) {
        p.sendButton(primaryDown(p));
        g_click.dragging = 1;
    } else {
        endDrag(p);
    }
}
} // namespace

ClickState& clickState() { return g_click; }
void resetClickState() { g_click.dragging = 0; }

// Asked afresh each time: the user may swap the buttons while we run.
unsigned primaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_DOWN : BUTTON_LEFT_DOWN; }
unsigned primaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_UP : BUTTON_LEFT_UP; }
unsigned secondaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_DOWN : BUTTON_RIGHT_DOWN; }
unsigned secondaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_UP : BUTTON_RIGHT_UP; }

void releaseDrag(Platform& p) {
    if (g_click.dragging == 1) endDrag(p);
}

// The switch hook stays in: out, a press during the click would reach the
// window under the pointer. The hook lets the click's own marked events
// through and drops the presses, as one is in hand until this returns.
void performClick(Platform& p) {
    p.sleepMs(CLICK_DELAY_MS);

    // Where the pointer is now decides what a click means, not where it was
    // when a window last saw it.
    refreshPointerOverPanel(p);
    refreshPointerOverConfig(p);
    refreshPointerOverOptions(p);
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
    enterScanning();
    const bool pointAgain = resumeAfterClick();
    startScanTimer(p);
    // The click's own wait has already shown what was taken; going back to
    // pointing need not cost a whole step more.
    if (pointAgain) scanStep(p);
}

void stopAndReset(Platform& p) {
    // Sent whether or not a drag is held, so no button is ever left down.
    p.sendButton(primaryUp(p));
    g_click.dragging = 0;

    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_REARM);

    enterIdle();
    rewindScan();
    resetRearmCount();

    endPointScan(p);
    closeCrosshair(p);
    showReadyCaption(p);
    resetCellStates();
    paintCellsFromState(p);
}

} // namespace sp
