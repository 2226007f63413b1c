// The help box: a small square beside the pointer that shows the icon of
// the highlighted cell. Its window lives on a thread of its own (the
// platform's business); this module decides where it goes and what it shows.
#pragma once

#include "platform/platform.h"
#include "platform/scale.h"

namespace sp {

// At 96 DPI, like its distances from the pointer; the window scales them
// for the monitor it is on.
constexpr int HELP_BOX_SIZE = 40;
constexpr int HELP_BOX_ICON_AT = 2;
constexpr int HELP_BOX_ICON_SIZE = 35;

// Top left corner of the box for a pointer at `pointer` on `monitor`: upper
// right of the pointer, to its left near the monitor's right edge, below it
// near its top edge. The bottom edge is not looked at. Distances are scaled
// for `dpi`.
Point placeHelpBox(Point pointer, const Rect& monitor, int dpi = BASE_DPI);
// The same on the primary screen, `screenWidth` wide.
Point placeHelpBox(Point pointer, int screenWidth);

// The icon for the highlighted cell; false for no cell, which leaves the
// box empty.
bool helpBoxIcon(int cell, bool startIconShown, Icon& icon);
// The same for the scan as it stands now: what the box paints.
bool currentHelpBoxIcon(Icon& icon);

} // namespace sp
