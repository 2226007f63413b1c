// Button events, the clicks as they reach other programs, and the stop
// that brings the system to rest.
#include "pointer/click.h"

#include "overlay/crosshair.h"
#include "pointer/point_scan.h"
#include "pointer/rearm.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

void primaryClick(Platform& p) {
    p.sendButton(primaryDown(p));
    p.sendButton(primaryUp(p));
}

void endDrag(Platform& p) {
    setDragging(false);
    p.sendButton(primaryUp(p));
}

void clickOutside(Platform& p, int action) {
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

void toggleDrag(Platform& p) {
    if (clickState().dragging == 0) {
        p.sendButton(primaryDown(p));
        setDragging(true);
    } else {
        endDrag(p);
    }
}

// Asked afresh each time: the user may swap the buttons while we run.
unsigned primaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_DOWN : BUTTON_LEFT_DOWN; }
unsigned primaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_UP : BUTTON_LEFT_UP; }
unsigned secondaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_DOWN : BUTTON_RIGHT_DOWN; }
unsigned secondaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_UP : BUTTON_RIGHT_UP; }

void releaseDrag(Platform& p) {
    if (clickState().dragging == 1) endDrag(p);
}

void stopAndReset(Platform& p) {
    // Sent whether or not a drag is held, so no button is ever left down.
    p.sendButton(primaryUp(p));
    setDragging(false);

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

void handleFarMoveStop(Platform& p) {
    removeSwitchHook(p);
    p.sleepMs(10);
    stopAndReset(p);
    p.setTimer(TIMER_REARM, REARM_PERIOD_MS);
}

} // namespace sp
