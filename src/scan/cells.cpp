// The cell table, and cell colours, icons and captions.
#include "scan/cells.h"

#include <cassert>

#include "pointer/click.h"
#include "scan/scan.h"
#include "settings/settings.h"

namespace sp {

namespace {

using K = ActionKind;
using On = SwitchedOnBy;

// In cell-id order. "Middle Right" is what the right-click cell has always
// been called; the double-click cell sits second though it is the fourth
// action.
constexpr CellRow CELLS[CELL_COUNT] = {
    {ACTION_START_STOP, K::StartStop, Icon::Stop, "STOP", On::Always, -1, 0, 0},
    {ACTION_LEFT, K::Direction, Icon::Esquerra, "LEFT", On::Always, -1, 0, 1},
    {ACTION_RIGHT, K::Direction, Icon::Dreta, "RIGHT", On::Always, -1, 0, 2},
    {ACTION_UP, K::Direction, Icon::Amunt, "UP", On::Always, -1, 0, 3},
    {ACTION_DOWN, K::Direction, Icon::Avall, "DOWN", On::Always, -1, 0, 4},
    {ACTION_LEFT_CLICK, K::Click, Icon::ClicEsquerra, "Left Click", On::ClickKind, 0, 1, 0},
    {ACTION_DOUBLE_CLICK, K::Click, Icon::DobleClic, "Double Left Click", On::ClickKind, 1, 1, 1},
    {ACTION_RIGHT_CLICK, K::Click, Icon::ClicDreta, "Middle Right", On::ClickKind, 2, 1, 2},
    {ACTION_MIDDLE_CLICK, K::Click, Icon::MiddelClic, "Middle Click", On::ClickKind, 3, 1, 3},
    {ACTION_DRAG, K::Click, Icon::Arrastra, "Click To Drag", On::ClickKind, 4, 1, 4},
};

bool showsDragging(int cell) { return cellRow(cell).action == ACTION_DRAG && clickState().dragging != 0; }

} // namespace

bool isCell(int cell) { return cell >= 0 && cell < CELL_COUNT; }

// Only a cell switched on by a click kind has one; the kind indexes the
// settings' flags, so a wrong one would read a neighbouring field.
bool clickKindOff(int cell) {
    const CellRow& row = cellRow(cell);
    if (row.onBy != On::ClickKind) return false;
    assert(row.clickKind >= 0 && row.clickKind < CLICK_KIND_COUNT);
    return settings().enabledClicks[row.clickKind] != 1;
}

const CellRow& cellRow(int cell) {
    assert(isCell(cell));
    return CELLS[isCell(cell) ? cell : 0];
}

int cellOfClickKind(int kind) {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (CELLS[cell].onBy == On::ClickKind && CELLS[cell].clickKind == kind) return cell;
    return NO_CELL;
}

int cellForAction(int action) {
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (CELLS[cell].action == action) return cell;
    return NO_CELL;
}

ActionKind actionKind(int action) {
    const int cell = cellForAction(action);
    return cell == NO_CELL ? K::None : CELLS[cell].kind;
}

bool isDirection(int action) { return actionKind(action) == K::Direction; }

bool cellShown(int cell) {
    if (!isCell(cell)) return false;
    switch (CELLS[cell].onBy) {
    case On::Always:
    case On::ClickKind: return true;
    }
    return false;
}

PanelGrid panelGrid() {
    PanelGrid grid{0, 0};
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        if (!cellShown(cell)) continue;
        if (CELLS[cell].panelColumn >= grid.columns) grid.columns = CELLS[cell].panelColumn + 1;
        if (CELLS[cell].panelRow >= grid.rows) grid.rows = CELLS[cell].panelRow + 1;
    }
    return grid;
}

Rect cellRect(int cell) {
    const CellRow& row = cellRow(cell);
    return {CELL_SIZE * row.panelColumn, CELL_SIZE * row.panelRow, CELL_SIZE, CELL_SIZE};
}

Icon cellIcon(int cell, bool startIconShown) {
    if (!isCell(cell)) return Icon::Stop;
    if (CELLS[cell].kind == K::StartStop) return startIconShown ? Icon::Start : Icon::Stop;
    return CELLS[cell].icon;
}

const char* captionForCell(int cell) { return isCell(cell) ? CELLS[cell].caption : CAPTION_READY; }

Colour colourForState(int cell, int state) {
    switch (state) {
    case CELL_HIGHLIGHTED: return COLOUR_HIGHLIGHT;
    case CELL_SELECTED: return COLOUR_SELECTED;
    case CELL_DISABLED: return COLOUR_DISABLED;
    default: return isCell(cell) && showsDragging(cell) ? COLOUR_DRAGGING : COLOUR_NORMAL;
    }
}

Colour scanStepColour(int cell, int highlighted) {
    if (cell == highlighted) return COLOUR_HIGHLIGHT;
    if (!isCell(cell)) return COLOUR_NORMAL;
    if (showsDragging(cell)) return COLOUR_DRAGGING;
    if (clickKindOff(cell)) return COLOUR_DISABLED;
    return COLOUR_NORMAL;
}

namespace {
// Main thread only, like every caption.
bool g_restCaptionUp = true;
bool g_blockedInFront = false;
} // namespace

void showReadyCaption(Platform& p) {
    g_restCaptionUp = true;
    p.setCaption(g_blockedInFront ? CAPTION_READY_BLOCKED : CAPTION_READY);
    p.setClassIcon(Icon::Start);
}

void showCaption(Platform& p, const char* text) {
    g_restCaptionUp = false;
    p.setCaption(text);
}

void resetCaptionState() {
    g_restCaptionUp = true;
    g_blockedInFront = false;
}

void setBlockedByWindowInFront(Platform& p, bool blocked) {
    if (blocked == g_blockedInFront) return;
    g_blockedInFront = blocked;
    if (g_restCaptionUp) p.setCaption(blocked ? CAPTION_READY_BLOCKED : CAPTION_READY);
}

void paintCellsFromState(Platform& p) {
    const ScanState& s = scanState();
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (cellShown(cell))
            p.paintCell(cell, colourForState(cell, s.cellState[cell]), cellIcon(cell, s.startIconShown == 1));
}

} // namespace sp
