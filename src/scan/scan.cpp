// The scan sequence, the scan step, the freeze and the cell states.
#include "scan/scan.h"

#include "overlay/crosshair.h"
#include "pointer/click.h"
#include "scan/cells.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

namespace {

ScanState g_scan;

// Cells 6, 7 and 8 carry the double, right and middle click actions.
constexpr int ACTION_OF_CELL[CELL_COUNT] = {0, 1, 2, 3, 4, 5, 8, 6, 7, 9};

constexpr int FIRST_CLICK_ENTRY = 6;
constexpr int LAST_ENTRY = 11;

} // namespace

ScanState& scanState() { return g_scan; }

void resetScanState() {
    for (auto& c : g_scan.clickKindCode) c = 0;
    for (int i = 0; i < 12; ++i) g_scan.scanSequence[i] = (i >= 1 && i <= 5) ? i : 0;
    g_scan.scanPos = 1;
    g_scan.scanCode = 1;
    g_scan.highlightedAction = 0;
    for (auto& s : g_scan.cellState) s = CELL_NORMAL;
    g_scan.startIconShown = 0;
    resetCaptionState();
}

int actionForCell(int cell) { return (cell >= 0 && cell < CELL_COUNT) ? ACTION_OF_CELL[cell] : -1; }

int cellForAction(int action) {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (ACTION_OF_CELL[cell] == action) return cell;
    return action;
}

bool isDirection(int action) { return action >= ACTION_LEFT && action <= ACTION_DOWN; }

void setClickKindCode(int value, int kind) {
    if (kind < 0 || kind >= CLICK_KIND_COUNT) return;
    g_scan.clickKindCode[kind] = (value == 1) ? FIRST_CLICK_ENTRY + kind : 0;
}

void setClickKindInScan(Platform& p, int kind, bool on) {
    if (kind < 0 || kind >= CLICK_KIND_COUNT) return;
    const int cell = 5 + kind;
    g_scan.cellState[cell] = on ? CELL_NORMAL : CELL_DISABLED;
    setClickKindCode(on ? 1 : 0, kind);
    buildScanSequence();
    p.paintCell(cell, colourForState(cell, g_scan.cellState[cell]), cellIcon(cell, false));
}

void buildScanSequence() {
    int entry = FIRST_CLICK_ENTRY;
    for (int kind = 0; kind < CLICK_KIND_COUNT; ++kind) {
        const int code = g_scan.clickKindCode[kind];
        if (code != 0) g_scan.scanSequence[entry++] = code;
    }
    for (; entry < LAST_ENTRY; ++entry) g_scan.scanSequence[entry] = 0;
}

void resetCellStates() {
    for (int cell = 1; cell <= 4; ++cell) g_scan.cellState[cell] = CELL_NORMAL;
    for (int kind = 0; kind < CLICK_KIND_COUNT; ++kind)
        g_scan.cellState[5 + kind] = settings().enabledClicks[kind] == 1 ? CELL_NORMAL : CELL_DISABLED;
    g_scan.cellState[0] = CELL_HIGHLIGHTED;
    g_scan.startIconShown = 1;
}

void scanStep(Platform& p) {
    int pos = g_scan.scanPos;
    if (pos < 1 || pos > LAST_ENTRY) pos = 1;
    int code = g_scan.scanSequence[pos];
    if (code == 0) {
        pos = 1;
        code = g_scan.scanSequence[1];
    }
    g_scan.scanPos = pos;
    g_scan.scanCode = code;

    const int lit = code - 1;
    g_scan.highlightedAction = actionForCell(lit);

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        p.paintCell(cell, scanStepColour(cell, lit), cellIcon(cell, false));

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        g_scan.cellState[cell] = cell == lit ? CELL_HIGHLIGHTED : CELL_NORMAL;
    g_scan.startIconShown = 0;
    // The box repaints on its own thread from the state current then, so it
    // is told only once the step's state is complete: told earlier, it could
    // paint START on cell 0 for a whole step.
    if (overlayState().helpBoxOpen == 1) p.invalidateHelpBox();

    showCaption(p, captionForCell(lit));
    p.setClassIcon(cellIcon(lit, false));

    g_scan.scanPos = pos + 1;
    p.sleepMs(10);
}

void freezeScan(Platform& p) {
    SwitchState& sw = switchState();
    p.killTimer(TIMER_SCAN);
    sw.scanning = 0;
    const int action = g_scan.highlightedAction;
    if (isDirection(action)) sw.moving = 1;

    const int selected = cellForAction(action);
    const bool isStartStop = selected == 0;
    p.paintCell(selected, COLOUR_SELECTED, cellIcon(selected, isStartStop));

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        g_scan.cellState[cell] = cell == selected ? CELL_SELECTED : CELL_NORMAL;
    g_scan.startIconShown = isStartStop ? 1 : 0;

    if (isStartStop) showReadyCaption(p);
    p.sleepMs(100);
}

void rewindScan() { g_scan.scanPos = 1; }

void startScanTimer(Platform& p) {
    g_scan.highlightedAction = NO_ACTION;
    p.setTimer(TIMER_SCAN, live().liveScanPeriodMs);
}

void stopScanTimers(Platform& p) {
    p.killTimer(TIMER_SCAN);
    p.killTimer(TIMER_MOVE);
    p.sleepMs(10);
    switchState().moving = 0;
    switchState().pendingAction = 0;
}

} // namespace sp
