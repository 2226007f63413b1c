// The panel's cells: one table says, for each cell, what a press on it does,
// its icon and caption, what switches it on and where it sits on the panel.
// Everything else (the scan, the press handler, the panel's size, painting)
// reads that table; no other code knows a cell by its number.
//
// Also here: how a cell, the panel caption and the panel's class icon look.
#pragma once

#include <atomic>

#include "platform/platform.h"
#include "settings/settings.h"

namespace sp {

// The click's state (pointer/click.h writes it); here because the drag cell
// is painted from it.
struct ClickState {
    // 1 while a drag holds the primary button down.
    std::atomic<int> dragging;
};

const ClickState& clickState();
void resetClickState();
// The primary button was pressed for a drag, or let go.
void setDragging(bool held);

// Cell ids: the cell's control identifier on the panel and its row in the
// table. The scan visits the cells that take part in this order.
enum Cell : int {
    CELL_START_STOP = 0,
    CELL_LEFT,
    CELL_RIGHT,
    CELL_UP,
    CELL_DOWN,
    CELL_LEFT_CLICK,
    CELL_DOUBLE_CLICK,
    CELL_RIGHT_CLICK,
    CELL_MIDDLE_CLICK,
    CELL_DRAG,
    // The third row: each only when options.ini lists it, in the order listed.
    CELL_SCROLL_UP,
    CELL_SCROLL_DOWN,
    CELL_SCROLL_LEFT,
    CELL_SCROLL_RIGHT,
    CELL_MENU,
    // Also shown, after the listed cells, while point_scan is on.
    CELL_POINT,
    // Listed like the others; after Point only to keep the ids before it.
    CELL_KEYBOARD,
    CELL_COUNT
};
// No cell: ends the scan sequence, and is what nothing highlighted reads as.
constexpr int NO_CELL = -1;
// A cell that extra_cells does not name.
constexpr int NOT_LISTED = -1;

// Action codes: what a press on a cell does, held in `pendingAction`.
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
    ACTION_SCROLL_UP = 10,
    ACTION_SCROLL_DOWN = 11,
    ACTION_SCROLL_LEFT = 12,
    ACTION_SCROLL_RIGHT = 13,
    ACTION_MENU = 14,
    ACTION_POINT = 15,
    ACTION_KEYBOARD = 16,
};

// How the press handler treats an action.
// Direction and Scroll are movements: the pointer or the wheel goes on
// until the next press. Menu opens the program's menu at the panel. Point
// is a movement too: its sweeps take the presses until the point is fixed.
// Window opens the cell's own window of the program's.
enum class ActionKind { None, StartStop, Direction, Click, Scroll, Menu, Point, Window };

// What decides whether a cell takes part in the scan.
enum class SwitchedOnBy {
    Always,
    ClickKind, // the cell's click kind, as the settings window sets it
    Listed,    // options.ini's extra_cells names it (Point: point_scan is on)
};

struct CellRow {
    Action action;
    ActionKind kind;
    Icon icon;
    SwitchedOnBy onBy;
    int clickKind; // with SwitchedOnBy::ClickKind; -1 otherwise
    int panelRow;
    int panelColumn; // -1: by its place in the list
    // With SwitchedOnBy::Listed: the ExtraCell that names it in options.ini;
    // NOT_LISTED for the Point cell, which comes after the others with
    // point_scan, and for every cell not switched on by a list.
    int listedAs;
    // The panel caption while the cell is highlighted.
    const char* caption;
    // With ActionKind::Window: the OwnWindow it opens.
    int window = -1;
};

bool isCell(int cell);
const CellRow& cellRow(int cell);
// The cell whose click kind is `kind`; NO_CELL for none.
int cellOfClickKind(int kind);
// The cell that carries `action`; NO_CELL for none.
int cellForAction(int action);
ActionKind actionKind(int action);
bool isDirection(int action);
// A direction, a scroll or a point scan: the press handler is Moving while it runs.
bool isMovement(int action);
// Whether the cell is on the panel at all; a click cell whose kind is off
// is still shown, grey.
bool cellShown(int cell);
// A click cell whose kind the settings have off: it is painted grey.
bool clickKindOff(int cell);

// The panel's cell area: columns and rows of cells, 45 pixels square.
constexpr int CELL_SIZE = 45;
struct PanelGrid {
    int columns;
    int rows;
};
PanelGrid panelGrid();
// Where a cell sits in the panel's client area, at 96 DPI.
Rect cellRect(int cell);
// The same on a monitor of `dpi`: the grid's pitch is the scaled cell, so
// every cell is the same size and none overlaps its neighbour.
int cellPitch(int dpi);
Rect cellRectAt(int cell, int dpi);
// A cell's icon: its top left corner inside the cell, and its size.
constexpr int CELL_ICON_AT = 6;
constexpr int CELL_ICON_SIZE = 32;
// The listed cells from the options in force, in their order; true when
// which cells are shown, or where, changed.
bool layOutListedCells();
// The cell's name in extra_cells; null for a cell that is not listed there.
const char* listedWord(int cell);
// The ExtraCell that names the cell in extra_cells; NOT_LISTED for none.
int extraCellOf(int cell);

constexpr Colour COLOUR_NORMAL = 0xFEFFFF; // near-white: blue is 254
constexpr Colour COLOUR_HIGHLIGHT = 0x00FF00;
constexpr Colour COLOUR_SELECTED = 0x00FF00;
constexpr Colour COLOUR_DISABLED = 0xCCCCCC;
constexpr Colour COLOUR_DRAGGING = 0x49AFF7;

constexpr const char* CAPTION_READY = "Ready";
// At rest while a window of a program that outranks this one is in front:
// the system keeps the switch from reaching us, and the user must be told.
constexpr const char* CAPTION_READY_BLOCKED = "Ready - admin window in front";

// The cell's own icon; the start/stop cell shows START or STOP by `startIconShown`.
Icon cellIcon(int cell, bool startIconShown);
// Caption while the cell is highlighted ("STOP", "LEFT", ... "Click To Drag").
const char* captionForCell(int cell);
// Colour from a cell's state, for WM_DRAWITEM and the rest-state repaint.
Colour colourForState(int cell, int state);
// Colour the scan step gives a cell while `highlighted` is the lit one.
Colour scanStepColour(int cell, int highlighted);

// The caption and both class icons as they are at rest.
void showReadyCaption(Platform& p);
// Any other caption (a scanned cell, the countdown).
void showCaption(Platform& p, const char* text);
// A window that outranks this program came to the front or left it; the
// rest caption, if it is up, says so at once.
void setBlockedByWindowInFront(Platform& p, bool blocked);
void resetCaptionState();
// Every cell from its state, in table order.
void paintCellsFromState(Platform& p);

} // namespace sp
