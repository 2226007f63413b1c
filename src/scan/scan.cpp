// The scan sequence, the scan step, the freeze and the cell states.
#include "scan/scan.h"

#include <algorithm>

#include "scan/cells.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

ScanState g_scan;

constexpr int SEQUENCE_SIZE = CELL_COUNT + 1;

bool takesPart(int cell) {
    const CellRow& row = cellRow(cell);
    switch (row.onBy) {
    case SwitchedOnBy::Always: return true;
    case SwitchedOnBy::ClickKind: return clickKindInScan(row.clickKind);
    case SwitchedOnBy::Listed: return cellShown(cell);
    }
    return false;
}

int sequenceLength() {
    int length = 0;
    while (length < SEQUENCE_SIZE && g_scan.scanSequence[length] != NO_CELL) ++length;
    return length;
}

} // namespace

const ScanState& scanState() { return g_scan; }
ScanState& scanStateForTests() { return g_scan; }

void resetScanState() {
    int entry = 0;
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (cellRow(cell).onBy == SwitchedOnBy::Always) g_scan.scanSequence[entry++] = cell;
    for (; entry < SEQUENCE_SIZE; ++entry) g_scan.scanSequence[entry] = NO_CELL;
    g_scan.scanPos = 1;
    g_scan.highlightedCell = CELL_START_STOP;
    g_scan.highlightedAction = ACTION_START_STOP;
    for (auto& s : g_scan.cellState) s = CELL_NORMAL;
    g_scan.startIconShown = 0;
    g_scan.stepsWithoutPress = 0;
    resetCaptionState();
}

void setClickKindInScan(Platform& p, int kind, bool on) {
    const int cell = cellOfClickKind(kind);
    if (cell == NO_CELL) return;
    g_scan.cellState[cell] = on ? CELL_NORMAL : CELL_DISABLED;
    setClickKindCode(on ? 1 : 0, kind);
    buildScanSequence();
    p.paintCell(cell, colourForState(cell, g_scan.cellState[cell]), cellIcon(cell, false));
}

// The panel's reading order: row by row, left to right.
void buildScanSequence() {
    int cells[CELL_COUNT];
    int count = 0;
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (takesPart(cell)) cells[count++] = cell;
    std::stable_sort(cells, cells + count, [](int a, int b) {
        const Rect ra = cellRect(a);
        const Rect rb = cellRect(b);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    int entry = 0;
    for (; entry < count; ++entry) g_scan.scanSequence[entry] = cells[entry];
    for (; entry < SEQUENCE_SIZE; ++entry) g_scan.scanSequence[entry] = NO_CELL;
}

void resetCellStates() {
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        const CellRow& row = cellRow(cell);
        if (row.kind == ActionKind::StartStop)
            g_scan.cellState[cell] = CELL_HIGHLIGHTED;
        else if (clickKindOff(cell))
            g_scan.cellState[cell] = CELL_DISABLED;
        else
            g_scan.cellState[cell] = CELL_NORMAL;
    }
    g_scan.startIconShown = 1;
}

bool lightNextCell(Platform& p) {
    // scan_loops whole passes without a press: nobody is there, so the scan
    // rests instead of lighting cells for ever.
    const int loops = currentOptions().value[OPTION_SCAN_LOOPS];
    if (loops > 0 && g_scan.stepsWithoutPress >= loops * sequenceLength()) return false;
    ++g_scan.stepsWithoutPress;
    int pos = g_scan.scanPos;
    if (pos < 1 || pos > SEQUENCE_SIZE) pos = 1;
    int lit = g_scan.scanSequence[pos - 1];
    if (lit == NO_CELL) {
        pos = 1;
        lit = g_scan.scanSequence[0];
    }
    g_scan.scanPos = pos;
    g_scan.highlightedCell = lit;
    g_scan.highlightedAction = cellRow(lit).action;

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (cellShown(cell)) p.paintCell(cell, scanStepColour(cell, lit), cellIcon(cell, false));

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        g_scan.cellState[cell] = cell == lit ? CELL_HIGHLIGHTED : CELL_NORMAL;
    g_scan.startIconShown = 0;
    return true;
}

void showLitCell(Platform& p) {
    const int lit = g_scan.highlightedCell;
    showCaption(p, captionForCell(lit));
    p.setClassIcon(cellIcon(lit, false));

    g_scan.scanPos = g_scan.scanPos + 1;
    p.sleepMs(10);
}

void freezeScan(Platform& p) {
    p.killTimer(TIMER_SCAN);
    const int action = g_scan.highlightedAction;
    if (isMovement(action))
        setPressState(PressState::Moving);
    else if (pressState() == PressState::Scanning)
        setPressState(PressState::Idle);

    const int selected = cellForAction(action);
    if (selected == NO_CELL) return;
    const bool isStartStop = cellRow(selected).kind == ActionKind::StartStop;
    p.paintCell(selected, COLOUR_SELECTED, cellIcon(selected, isStartStop));

    for (int cell = 0; cell < CELL_COUNT; ++cell)
        g_scan.cellState[cell] = cell == selected ? CELL_SELECTED : CELL_NORMAL;
    g_scan.startIconShown = isStartStop ? 1 : 0;
    p.sleepMs(100);
}

void rewindScan() { g_scan.scanPos = 1; }

namespace {
// The scan's next step lights the sequence's first cell of that kind, if any.
bool resumeAtFirstCellOf(ActionKind kind) {
    for (int entry = 0; entry < SEQUENCE_SIZE && g_scan.scanSequence[entry] != NO_CELL; ++entry)
        if (cellRow(g_scan.scanSequence[entry]).kind == kind) {
            g_scan.scanPos = entry + 1;
            return true;
        }
    return false;
}
} // namespace

void startScanTimer(Platform& p) {
    g_scan.highlightedAction = NO_ACTION;
    p.setTimer(TIMER_SCAN, live().liveScanPeriodMs);
}

void keepScanInSequence() {
    if (g_scan.scanPos > sequenceLength()) rewindScan();
}

void resumeAtFirstClickCell() { resumeAtFirstCellOf(ActionKind::Click); }

bool resumeAfterClick() {
    rewindScan();
    // Pointing again is what mostly follows a click made by pointing.
    return currentOptions().value[OPTION_AFTER_CLICK] == AFTER_CLICK_POINT &&
           resumeAtFirstCellOf(ActionKind::Point);
}

void notePress() { g_scan.stepsWithoutPress = 0; }

} // namespace sp
