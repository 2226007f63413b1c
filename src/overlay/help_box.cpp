#include "overlay/help_box.h"

#include "scan/cells.h"
#include "scan/scan.h"

namespace sp {

Point placeHelpBox(Point pt, const Rect& monitor) {
    const bool leftEdge = pt.x - monitor.left < 60;
    const bool rightEdge = !leftEdge && pt.x + 60 > monitor.left + monitor.width;
    const int bx = rightEdge ? pt.x - 60 : pt.x + 20;
    int by = pt.y - 60;
    if (pt.y - monitor.top < 60) by = (leftEdge || rightEdge) ? pt.y + 60 : pt.y + 40;
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
