// The scan: which cells take part and in which order, the highlight that
// walks them on every tick of TIMER_SCAN, the freeze on a switch press, and
// the per-cell states the panel repaints from. Cells are the cell table's
// ids (scan/cells.h).
#pragma once

#include <atomic>

#include "platform/platform.h"
#include "scan/cells.h"

namespace sp {

enum CellState : int {
    CELL_NORMAL = 0,
    CELL_HIGHLIGHTED = 1,
    CELL_SELECTED = 2,
    CELL_DISABLED = 3,
};

// Shared between the main thread (scan step) and the configuration thread
// (rebuilds); every entry is one aligned word, seen either old or new.
struct ScanState {
    // The cells that take part, in scan order, NO_CELL after the last.
    std::atomic<int> scanSequence[CELL_COUNT + 1] = {CELL_START_STOP, CELL_LEFT, CELL_RIGHT, CELL_UP,
                                                     CELL_DOWN,       NO_CELL,   NO_CELL,    NO_CELL,
                                                     NO_CELL,         NO_CELL,   NO_CELL};
    // Counted from 1: the place in the sequence of the cell the next step lights.
    std::atomic<int> scanPos{1};
    // What the latest step lit: the cell, and the action a press takes from it.
    std::atomic<int> highlightedCell{CELL_START_STOP};
    std::atomic<int> highlightedAction{ACTION_START_STOP};
    std::atomic<int> cellState[CELL_COUNT] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::atomic<int> startIconShown{0};
    // Steps since the last press, for scan_loops.
    std::atomic<int> stepsWithoutPress{0};
};

const ScanState& scanState();
// Back to the process-start state.
void resetScanState();

// What `highlightedAction` holds while no cell is highlighted.
constexpr int NO_ACTION = -1;

// A click kind joins or leaves the scan at once, and its panel cell shows it
// (grey while it is out).
void setClickKindInScan(Platform& p, int kind, bool on);
// The sequence from the cells that take part now: after the click kinds
// in the scan or the listed cells have changed.
void buildScanSequence();
void resetCellStates();
// A scan step (app/press.h scanStep) in two halves. The first lights the
// next cell and sets every cell's state; false, with nothing done, when
// scan_loops whole passes have gone without a press and the scan must rest.
bool lightNextCell(Platform& p);
// The second, once the lit cell's state is complete: its caption, the class
// icon, and the position of the next step.
void showLitCell(Platform& p);
void freezeScan(Platform& p);
// The next scan step highlights the first entry again.
void rewindScan();
// TIMER_SCAN at the live period. Nothing counts as highlighted until its
// first step, so a press before then has nothing to act on.
void startScanTimer(Platform& p);
// After the sequence has been built anew: a position past its end starts
// from the first cell.
void keepScanInSequence();
// The next scan step highlights the first click cell that takes part (no
// click cell: the position is kept).
void resumeAtFirstClickCell();
// After a click: the first cell, or with after_click = point the Point cell
// (true: the scan resumes there).
bool resumeAfterClick();
// A press came: the scan's count of unanswered steps starts again.
void notePress();

} // namespace sp
