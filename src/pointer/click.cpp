// Button events and the stop that brings the system to rest.
#include "pointer/click.h"

#include "app/rearm.h"
#include "overlay/crosshair.h"
#include "scan/cells.h"
#include "scan/scan.h"
#include "scan/switch_input.h"

namespace sp {

namespace {
ClickState g_click;
}

ClickState& clickState() { return g_click; }
void resetClickState() { g_click.dragging = 0; }

// Asked afresh each time: the user may swap the buttons while we run.
unsigned primaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_DOWN : BUTTON_LEFT_DOWN; }
unsigned primaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_RIGHT_UP : BUTTON_LEFT_UP; }
unsigned secondaryDown(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_DOWN : BUTTON_RIGHT_DOWN; }
unsigned secondaryUp(Platform& p) { return p.buttonsSwapped() ? BUTTON_LEFT_UP : BUTTON_RIGHT_UP; }

void stopAndReset(Platform& p) {
    // Sent whether or not a drag is held, so no button is ever left down.
    p.sendButton(primaryUp(p));
    g_click.dragging = 0;

    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_REARM);

    SwitchState& sw = switchState();
    sw.moving = 0;
    sw.pendingAction = 0;
    sw.scanning = 0;
    scanState().scanPos = 1;
    rearmState().rearmCount = 0;

    closeCrosshair(p);
    showReadyCaption(p);
    resetCellStates();
    paintCellsFromState(p);
}

} // namespace sp
