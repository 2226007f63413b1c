// Monitor layout geometry.
#include "platform/monitors.h"

#include <algorithm>
#include <limits>

namespace sp {

MonitorLayout singleMonitor(Size screen) { return {Rect{0, 0, screen.width, screen.height}}; }

Rect virtualScreen(const MonitorLayout& layout) {
    if (layout.empty()) return {};
    int left = layout[0].left;
    int top = layout[0].top;
    int right = left + layout[0].width;
    int bottom = top + layout[0].height;
    for (const Rect& m : layout) {
        left = std::min(left, m.left);
        top = std::min(top, m.top);
        right = std::max(right, m.left + m.width);
        bottom = std::max(bottom, m.top + m.height);
    }
    return {left, top, right - left, bottom - top};
}

bool rectHolds(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.left + r.width && p.y >= r.top && p.y < r.top + r.height;
}

namespace {

long long squaredDistance(Point a, Point b) {
    const long long dx = a.x - b.x;
    const long long dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// The pixels of `m` no further back than `p` along `ahead`, as a closed
// range per axis; false when there are none.
bool pixelsAhead(const Rect& m, Point p, Ahead ahead, int& x0, int& x1, int& y0, int& y1) {
    x0 = m.left;
    x1 = m.left + m.width - 1;
    y0 = m.top;
    y1 = m.top + m.height - 1;
    switch (ahead) {
    case Ahead::Left: x1 = std::min(x1, p.x); break;
    case Ahead::Right: x0 = std::max(x0, p.x); break;
    case Ahead::Up: y1 = std::min(y1, p.y); break;
    case Ahead::Down: y0 = std::max(y0, p.y); break;
    case Ahead::Anywhere: break;
    }
    return x0 <= x1 && y0 <= y1;
}

// The nearest point of any monitor with pixels ahead; false when none has.
bool nearestAhead(const MonitorLayout& layout, Point p, Ahead ahead, Point& best, int* index) {
    long long bestDistance = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < layout.size(); ++i) {
        int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
        if (!pixelsAhead(layout[i], p, ahead, x0, x1, y0, y1)) continue;
        const Point q{std::clamp(p.x, x0, x1), std::clamp(p.y, y0, y1)};
        const long long d = squaredDistance(p, q);
        if (d >= bestDistance) continue;
        bestDistance = d;
        best = q;
        if (index) *index = static_cast<int>(i);
    }
    return bestDistance != std::numeric_limits<long long>::max();
}

} // namespace

Rect monitorHolding(const MonitorLayout& layout, Point p) {
    Point unused;
    int index = -1;
    nearestAhead(layout, p, Ahead::Anywhere, unused, &index);
    return index < 0 ? Rect{} : layout[static_cast<std::size_t>(index)];
}

Point nearestMonitorPoint(const MonitorLayout& layout, Point p, Ahead ahead) {
    Point q = p;
    if (nearestAhead(layout, p, ahead, q, nullptr)) return q;
    nearestAhead(layout, p, Ahead::Anywhere, q, nullptr);
    return q;
}

} // namespace sp
