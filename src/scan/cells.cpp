// The cell table, and cell colours, icons and captions.
#include "scan/cells.h"

#include <atomic>
#include <cassert>

#include "platform/scale.h"
#include "scan/scan.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

using K = ActionKind;
using On = SwitchedOnBy;

// In cell-id order. "Middle Right" is what the right-click cell has always
// been called; the double-click cell sits second though it is the fourth
// action.
constexpr CellRow CELLS[CELL_COUNT] = {
    {ACTION_START_STOP, K::StartStop, Icon::Stop, On::Always, -1, 0, 0, NOT_LISTED, "STOP"},
    {ACTION_LEFT, K::Direction, Icon::Esquerra, On::Always, -1, 0, 1, NOT_LISTED, "LEFT"},
    {ACTION_RIGHT, K::Direction, Icon::Dreta, On::Always, -1, 0, 2, NOT_LISTED, "RIGHT"},
    {ACTION_UP, K::Direction, Icon::Amunt, On::Always, -1, 0, 3, NOT_LISTED, "UP"},
    {ACTION_DOWN, K::Direction, Icon::Avall, On::Always, -1, 0, 4, NOT_LISTED, "DOWN"},
    {ACTION_LEFT_CLICK, K::Click, Icon::ClicEsquerra, On::ClickKind, 0, 1, 0, NOT_LISTED, "Left Click"},
    {ACTION_DOUBLE_CLICK, K::Click, Icon::DobleClic, On::ClickKind, 1, 1, 1, NOT_LISTED, "Double Left Click"},
    {ACTION_RIGHT_CLICK, K::Click, Icon::ClicDreta, On::ClickKind, 2, 1, 2, NOT_LISTED, "Middle Right"},
    {ACTION_MIDDLE_CLICK, K::Click, Icon::MiddelClic, On::ClickKind, 3, 1, 3, NOT_LISTED, "Middle Click"},
    {ACTION_DRAG, K::Click, Icon::Arrastra, On::ClickKind, 4, 1, 4, NOT_LISTED, "Click To Drag"},
    {ACTION_SCROLL_UP, K::Scroll, Icon::RodaAmunt, On::Listed, -1, 2, -1, EXTRA_SCROLL_UP, "Scroll Up"},
    {ACTION_SCROLL_DOWN, K::Scroll, Icon::RodaAvall, On::Listed, -1, 2, -1, EXTRA_SCROLL_DOWN, "Scroll Down"},
    {ACTION_SCROLL_LEFT, K::Scroll, Icon::RodaEsquerra, On::Listed, -1, 2, -1, EXTRA_SCROLL_LEFT,
     "Scroll Left"},
    {ACTION_SCROLL_RIGHT, K::Scroll, Icon::RodaDreta, On::Listed, -1, 2, -1, EXTRA_SCROLL_RIGHT,
     "Scroll Right"},
    {ACTION_MENU, K::Menu, Icon::Menu, On::Listed, -1, 2, -1, EXTRA_MENU, "Menu"},
    {ACTION_POINT, K::Point, Icon::Punt, On::Listed, -1, 2, -1, NOT_LISTED, "Point"},
    {ACTION_KEYBOARD, K::Window, Icon::Teclat, On::Listed, -1, 2, -1, EXTRA_KEYBOARD, "Keyboard",
     static_cast<int>(OwnWindow::Keyboard)},
};

// The column of each listed cell in its row plus one, 0 while it is not
// listed. Laid out on the main thread, read by every thread that paints.
std::atomic<int> g_listedColumn[CELL_COUNT] = {};

ClickState g_click;

bool showsDragging(int cell) { return cellRow(cell).action == ACTION_DRAG && g_click.dragging != 0; }

} // namespace

const ClickState& clickState() { return g_click; }
void resetClickState() { g_click.dragging = 0; }
void setDragging(bool held) { g_click.dragging = held ? 1 : 0; }

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

bool isMovement(int action) {
    const ActionKind kind = actionKind(action);
    return kind == K::Direction || kind == K::Scroll || kind == K::Point;
}

bool cellShown(int cell) {
    if (!isCell(cell)) return false;
    switch (CELLS[cell].onBy) {
    case On::Always:
    case On::ClickKind: return true;
    case On::Listed: return g_listedColumn[cell] > 0;
    }
    return false;
}

int extraCellOf(int cell) { return isCell(cell) ? CELLS[cell].listedAs : NOT_LISTED; }

const char* listedWord(int cell) { return extraCellWord(extraCellOf(cell)); }

bool layOutListedCells() {
    int column[CELL_COUNT];
    for (int& c : column) c = 0;
    int next = 1;
    for (int listed : currentOptions().extraCells)
        for (int cell = 0; cell < CELL_COUNT; ++cell)
            if (CELLS[cell].listedAs == listed && CELLS[cell].onBy == On::Listed) column[cell] = next++;
    if (currentOptions().value[OPTION_POINT_SCAN] == 1 && column[CELL_POINT] == 0) column[CELL_POINT] = next;
    bool changed = false;
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        if (g_listedColumn[cell].exchange(column[cell]) != column[cell]) changed = true;
    return changed;
}

PanelGrid panelGrid() {
    PanelGrid grid{0, 0};
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        if (!cellShown(cell)) continue;
        const Rect r = cellRect(cell);
        if (r.left / CELL_SIZE >= grid.columns) grid.columns = r.left / CELL_SIZE + 1;
        if (r.top / CELL_SIZE >= grid.rows) grid.rows = r.top / CELL_SIZE + 1;
    }
    return grid;
}

Rect cellRect(int cell) {
    const CellRow& row = cellRow(cell);
    const int column = row.panelColumn >= 0 ? row.panelColumn : g_listedColumn[cell].load() - 1;
    return {CELL_SIZE * column, CELL_SIZE * row.panelRow, CELL_SIZE, CELL_SIZE};
}

int cellPitch(int dpi) { return scaleToDpi(CELL_SIZE, dpi); }

Rect cellRectAt(int cell, int dpi) {
    const Rect r = cellRect(cell);
    const int pitch = cellPitch(dpi);
    return {r.left / CELL_SIZE * pitch, r.top / CELL_SIZE * pitch, pitch, pitch};
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
