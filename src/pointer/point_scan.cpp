// Point scanning.
#include "pointer/point_scan.h"

#include <algorithm>
#include <cmath>

#include "overlay/crosshair.h"
#include "platform/monitors.h"
#include "platform/scale.h"
#include "pointer/click.h"
#include "pointer/movement.h"
#include "scan/scan.h"
#include "settings/options.h"

namespace sp {

namespace {

PointScanState g_point;

int atLeastOne(int n) { return n > 0 ? n : 1; }

// How many positions the moving part of a phase runs through.
int courseOf(const PointScanState& s) {
    switch (s.phase) {
    case PointPhase::BandX: return atLeastOne(s.span.width - s.band.width + 1);
    case PointPhase::LineX: return s.stopped.width;
    case PointPhase::BandY: return atLeastOne(s.span.height - s.band.height + 1);
    case PointPhase::LineY: return s.stopped.height;
    case PointPhase::Off: break;
    }
    return 1;
}

int speedOf(const PointScanState& s) {
    return s.phase == PointPhase::BandX || s.phase == PointPhase::BandY ? s.bandPxS : s.linePxS;
}

// A line as thick as the crosshair's arms, centred on its pixel.
Rect verticalLine(const PointScanState& s, int x) {
    return {x - s.lineThickness / 2, s.span.top, s.lineThickness, s.span.height};
}
Rect horizontalLine(const PointScanState& s, int y) {
    return {s.span.left, y - s.lineThickness / 2, s.span.width, s.lineThickness};
}

// A band stopped at [from, from + size) within [first, end): its margins
// added, kept inside; returns the near edge and sets the size.
int withMargins(int from, int size, int first, int end, int& stopped) {
    const int margin = size / POINT_MARGIN_PARTS;
    const int nearEdge = std::max(first, from - margin);
    stopped = std::min(end, from + size + margin) - nearEdge;
    return nearEdge;
}

void showMarks(Platform& p, const PointMarks& marks) {
    if (marks.band) p.showPointMark(PointMark::Band, marks.bandRect);
    if (marks.line) p.showPointMark(PointMark::Line, marks.lineRect);
}

} // namespace

SweepAt sweepAt(double elapsedMs, int pxPerS, int course) {
    course = atLeastOne(course);
    const double travelled = elapsedMs > 0 ? elapsedMs * pxPerS / 1000.0 : 0;
    const long long steps = static_cast<long long>(std::floor(travelled));
    return {static_cast<int>(steps % course), static_cast<int>(steps / course)};
}

PointScanState beginPointScan(const MonitorLayout& layout, Point pointer, int dpi, int bandPxS, int linePxS,
                              double nowMs) {
    const Rect monitor = monitorHolding(layout, pointer);
    PointScanState s;
    s.phase = PointPhase::BandX;
    s.span = virtualScreen(layout);
    s.band = {atLeastOne(monitor.width / POINT_BAND_PARTS), atLeastOne(monitor.height / POINT_BAND_PARTS)};
    s.lineThickness = scaleToDpi(ARM_THICKNESS, dpi);
    s.bandPxS = bandPxS;
    s.linePxS = linePxS;
    s.phaseStartMs = nowMs;
    s.pointerAtStart = pointer;
    return s;
}

PointMarks pointMarksAt(const PointScanState& s, double nowMs) {
    PointMarks marks;
    if (s.phase == PointPhase::Off) return marks;
    const SweepAt at = sweepAt(nowMs - s.phaseStartMs, speedOf(s), courseOf(s));
    marks.passesOver = at.pass >= POINT_SWEEP_PASSES;
    marks.band = true;
    marks.line = s.phase != PointPhase::BandX;
    switch (s.phase) {
    case PointPhase::BandX:
        marks.bandRect = {s.span.left + at.offset, s.span.top, s.band.width, s.span.height};
        break;
    case PointPhase::LineX:
        marks.bandRect = {s.bandX, s.span.top, s.stopped.width, s.span.height};
        marks.lineRect = verticalLine(s, s.bandX + at.offset);
        break;
    // While y is sought the line stays on the x already fixed.
    case PointPhase::BandY:
        marks.bandRect = {s.span.left, s.span.top + at.offset, s.span.width, s.band.height};
        marks.lineRect = verticalLine(s, s.x);
        break;
    case PointPhase::LineY:
        marks.bandRect = {s.span.left, s.bandY, s.span.width, s.stopped.height};
        marks.lineRect = horizontalLine(s, s.bandY + at.offset);
        break;
    case PointPhase::Off: break;
    }
    return marks;
}

bool fixPointPhase(PointScanState& s, double nowMs) {
    const int offset = sweepAt(nowMs - s.phaseStartMs, speedOf(s), courseOf(s)).offset;
    s.phaseStartMs = nowMs;
    switch (s.phase) {
    case PointPhase::BandX:
        s.bandX = withMargins(s.span.left + offset, s.band.width, s.span.left, s.span.left + s.span.width,
                              s.stopped.width);
        s.phase = PointPhase::LineX;
        return false;
    case PointPhase::LineX:
        s.x = s.bandX + offset;
        s.phase = PointPhase::BandY;
        return false;
    case PointPhase::BandY:
        s.bandY = withMargins(s.span.top + offset, s.band.height, s.span.top, s.span.top + s.span.height,
                              s.stopped.height);
        s.phase = PointPhase::LineY;
        return false;
    case PointPhase::LineY:
        s.y = s.bandY + offset;
        s.phase = PointPhase::Off;
        return true;
    case PointPhase::Off: break;
    }
    return false;
}

const PointScanState& pointScanState() { return g_point; }

void resetPointScanState() { g_point = PointScanState{}; }

bool pointScanRunning() { return g_point.phase != PointPhase::Off; }

void startPointScan(Platform& p) {
    const OptionValues options = currentOptions();
    const Point pointer = p.cursorPos();
    g_point =
        beginPointScan(p.monitorLayout(), pointer, p.dpiAt(pointer), options.value[OPTION_POINT_BAND_PX_S],
                       options.value[OPTION_POINT_LINE_PX_S], p.nowMs());
    showMarks(p, pointMarksAt(g_point, g_point.phaseStartMs));
}

void pointScanTick(Platform& p) {
    if (!pointScanRunning() || stopOnHandMove(p, g_point.pointerAtStart)) return;
    const PointMarks marks = pointMarksAt(g_point, p.nowMs());
    if (marks.passesOver) {
        // Nobody chose: the scan rests, the switch stays armed.
        stopScanTimers(p);
        stopAndReset(p);
        return;
    }
    showMarks(p, marks);
}

bool pointScanPress(Platform& p) {
    if (!fixPointPhase(g_point, p.nowMs())) {
        showMarks(p, pointMarksAt(g_point, g_point.phaseStartMs));
        return false;
    }
    p.closePointMarks();
    // The system would not leave the pointer between monitors either; the
    // crosshair and the hook must know where it really goes.
    putPointerAt(p, nearestMonitorPoint(p.monitorLayout(), {g_point.x, g_point.y}, Ahead::Anywhere));
    return true;
}

void endPointScan(Platform& p) {
    if (!pointScanRunning()) return;
    g_point.phase = PointPhase::Off;
    p.closePointMarks();
}

} // namespace sp
