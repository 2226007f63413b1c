// Cell colours, icons and captions.
#include "scan/cells.h"

#include "pointer/click.h"
#include "scan/scan.h"
#include "settings/settings.h"

namespace sp {

namespace {

constexpr Icon OWN_ICON[CELL_COUNT] = {
    Icon::Stop,         Icon::Esquerra,  Icon::Dreta,     Icon::Amunt,      Icon::Avall,
    Icon::ClicEsquerra, Icon::DobleClic, Icon::ClicDreta, Icon::MiddelClic, Icon::Arrastra,
};

// "Middle Right" is what the right-click cell has always been called.
constexpr const char* CAPTION[CELL_COUNT] = {
    "STOP",         "LEFT",         "RIGHT",         "UP", "DOWN", "Left Click", "Double Left Click",
    "Middle Right", "Middle Click", "Click To Drag",
};

constexpr int DRAG_CELL = 9;

bool clickKindOn(int cell) { return settings().enabledClicks[cell - 5] == 1; }

} // namespace

Icon cellIcon(int cell, bool startIconShown) {
    if (cell == 0) return startIconShown ? Icon::Start : Icon::Stop;
    if (cell < 0 || cell >= CELL_COUNT) return Icon::Stop;
    return OWN_ICON[cell];
}

const char* captionForCell(int cell) {
    if (cell < 0 || cell >= CELL_COUNT) return CAPTION_READY;
    return CAPTION[cell];
}

Colour colourForState(int cell, int state) {
    switch (state) {
    case CELL_HIGHLIGHTED: return COLOUR_HIGHLIGHT;
    case CELL_SELECTED: return COLOUR_SELECTED;
    case CELL_DISABLED: return COLOUR_DISABLED;
    default:
        if (cell == DRAG_CELL && clickState().dragging != 0) return COLOUR_DRAGGING;
        return COLOUR_NORMAL;
    }
}

Colour scanStepColour(int cell, int highlighted) {
    if (cell == highlighted) return COLOUR_HIGHLIGHT;
    if (cell == DRAG_CELL && clickState().dragging != 0) return COLOUR_DRAGGING;
    if (cell >= 5 && !clickKindOn(cell)) return COLOUR_DISABLED;
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
        p.paintCell(cell, colourForState(cell, s.cellState[cell]), cellIcon(cell, s.startIconShown == 1));
}

} // namespace sp
