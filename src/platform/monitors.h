// Geometry over the monitor layout: the virtual screen that holds every
// monitor, the monitor that holds a point, and the nearest point of a
// monitor for a point that lies between them. One monitor at (0, 0) gives
// the primary screen's figures.
#pragma once

#include "platform/platform.h"

namespace sp {

// One monitor of `screen`'s size at the origin.
MonitorLayout singleMonitor(Size screen);
// The smallest rectangle holding every monitor.
Rect virtualScreen(const MonitorLayout& layout);
bool rectHolds(const Rect& r, Point p);
// The monitor that holds `p`, or the nearest one (the earlier on a tie).
Rect monitorHolding(const MonitorLayout& layout, Point p);

// Which way a point may give way when it lies on no monitor.
enum class Ahead { Anywhere, Left, Right, Up, Down };
// The nearest point of a monitor to `p` that is no further back than `p`
// along `ahead` (anywhere when no monitor has one); `p` itself when it is on
// a monitor.
Point nearestMonitorPoint(const MonitorLayout& layout, Point p, Ahead ahead);

} // namespace sp
