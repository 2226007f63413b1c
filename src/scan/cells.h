// How a cell, the panel caption and the panel's class icon look: the five
// fixed cell colours, each cell's icon and the caption that names it.
#pragma once

#include "platform/platform.h"

namespace sp {

constexpr Colour COLOUR_NORMAL = 0xFEFFFF; // near-white: blue is 254
constexpr Colour COLOUR_HIGHLIGHT = 0x00FF00;
constexpr Colour COLOUR_SELECTED = 0x00FF00;
constexpr Colour COLOUR_DISABLED = 0xCCCCCC;
constexpr Colour COLOUR_DRAGGING = 0x49AFF7;

constexpr const char* CAPTION_READY = "Ready";
// At rest while a window of a program that outranks this one is in front:
// the system keeps the switch from reaching us, and the user must be told.
constexpr const char* CAPTION_READY_BLOCKED = "Ready - admin window in front";

// The cell's own icon; cell 0 shows START or STOP by `startIconShown`.
Icon cellIcon(int cell, bool startIconShown);
// Caption while cell k is highlighted ("STOP", "LEFT", ... "Click To Drag").
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
// All ten cells from their states, cell 0 first.
void paintCellsFromState(Platform& p);

} // namespace sp
