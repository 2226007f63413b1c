#include "overlay/help_box.h"

#include "scan/cells.h"
#include "scan/scan.h"

namespace sp {

Point placeHelpBox(Point pt, const Rect& monitor, int dpi) {
    const int away = scaleToDpi(60, dpi);
    const int beside = scaleToDpi(20, dpi);
    const int below = scaleToDpi(40, dpi);
    const bool leftEdge = pt.x - monitor.left < away;
    const bool rightEdge = !leftEdge && pt.x + away > monitor.left + monitor.width;
    const int bx = rightEdge ? pt.x - away : pt.x + beside;
    int by = pt.y - away;
    if (pt.y - monitor.top < away) by = (leftEdge || rightEdge) ? pt.y + away : pt.y + below;
    return {bx, by};
}

Point placeHelpBox(Point pt, int screenWidth) { return placeHelpBox(pt, Rect{0, 0, screenWidth, 0}); }

bool helpBoxIcon(int cell, bool startIconShown, Icon& icon) {
    if (!isCell(cell)) return false;
    // The box shows what the highlighted cell itself shows.
    icon = cellIcon(cell, startIconShown);
    return true;
}

bool currentHelpBoxIcon(Icon& icon) {
    return helpBoxIcon(scanState().highlightedCell, scanState().startIconShown != 0, icon);
}

} // namespace sp
