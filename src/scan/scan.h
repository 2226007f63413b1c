// The scan: which cells take part and in which order, the highlight that
// walks them on every tick of TIMER_SCAN, the freeze on a switch press, and
// the per-cell states the panel repaints from.
//
// Cell numbers are 0..9 (panel position and control id); scan codes are the
// cell number + 1 (0 ends the sequence); action codes say what a press on a
// cell does (see actionForCell).
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

enum CellState : int {
    CELL_NORMAL = 0,
    CELL_HIGHLIGHTED = 1,
    CELL_SELECTED = 2,
    CELL_DISABLED = 3,
};

constexpr int CELL_COUNT = 10;
constexpr int CLICK_KIND_COUNT = 5;

// Action codes.
enum Action : int {
    ACTION_START_STOP = 0,
    ACTION_LEFT = 1,
    ACTION_RIGHT = 2,
    ACTION_UP = 3,
    ACTION_DOWN = 4,
    ACTION_LEFT_CLICK = 5,
    ACTION_RIGHT_CLICK = 6,
    ACTION_MIDDLE_CLICK = 7,
    ACTION_DOUBLE_CLICK = 8,
    ACTION_DRAG = 9,
};

// Shared between the main thread (scan step) and the configuration thread
// (rebuilds); every entry is one aligned word, seen either old or new.
struct ScanState {
    std::atomic<int> clickKindCode[CLICK_KIND_COUNT] = {0, 0, 0, 0, 0};
    // Entry 0 is unused, 1..5 are the fixed cells 0..4, 6..10 the click
    // kinds that take part, 11 always ends the sequence.
    std::atomic<int> scanSequence[12] = {0, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0};
    std::atomic<int> scanPos{1};
    std::atomic<int> scanCode{1};
    std::atomic<int> highlightedAction{0};
    std::atomic<int> cellState[CELL_COUNT] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::atomic<int> startIconShown{0};
};

ScanState& scanState();
// Back to the process-start state.
void resetScanState();

// What `highlightedAction` holds while no cell is highlighted.
constexpr int NO_ACTION = -1;

int actionForCell(int cell);
int cellForAction(int action);
bool isDirection(int action);

void setClickKindCode(int value, int kind);
// A click kind joins or leaves the scan at once, and its panel cell shows it
// (grey while it is out).
void setClickKindInScan(Platform& p, int kind, bool on);
void buildScanSequence();
void resetCellStates();
void scanStep(Platform& p);
void freezeScan(Platform& p);
void stopScanTimers(Platform& p);
// The next scan step highlights the first entry again.
void rewindScan();
// TIMER_SCAN at the live period. Nothing counts as highlighted until its
// first step, so a press before then has nothing to act on.
void startScanTimer(Platform& p);

} // namespace sp
