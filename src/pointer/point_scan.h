// Point scanning: a band sweeps left to right across every monitor; a press
// stops it and a thin line sweeps inside it; a press fixes x. The same
// follows top to bottom for y, and the pointer then jumps to the point.
// Positions come from the time since each sweep began, so a late timer tick
// never slows a sweep down. It runs on TIMER_MOVE as a movement does, so
// every way a movement ends ends it too.
#pragma once

#include "platform/platform.h"

namespace sp {

enum class PointPhase { Off, BandX, LineX, BandY, LineY };

// A sweep that reaches its end starts again from its beginning; after this
// many passes the scan goes back to rest instead.
constexpr int POINT_SWEEP_PASSES = 3;
// The band is this fraction of the pointer's monitor across.
constexpr int POINT_BAND_PARTS = 10;
// A stopped band takes in this fraction of itself on either side: a press is
// seldom exact, and a target just past the band's edge would otherwise be
// out of the line's reach, with no way back for one switch but to let the
// sweeps run out.
constexpr int POINT_MARGIN_PARTS = 5;

// Main thread only.
struct PointScanState {
    PointPhase phase = PointPhase::Off;
    Rect span;    // the virtual screen the sweeps cross
    Size band;    // the vertical band's width, the horizontal band's height
    Size stopped; // the same once stopped, its margins taken in
    int lineThickness = 0;
    int bandPxS = 0;
    int linePxS = 0;
    double phaseStartMs = 0;
    // Fixed by the presses so far: the stopped band's near edge, then the line.
    int bandX = 0;
    int x = 0;
    int bandY = 0;
    int y = 0;
    // Where the pointer was as the scan began, to see a hand move it.
    Point pointerAtStart;
};

// Where a sweep of `course` positions is `elapsedMs` after it began at
// `pxPerS`: the position (0 first) and the pass it is on (0 first).
struct SweepAt {
    int offset;
    int pass;
};
SweepAt sweepAt(double elapsedMs, int pxPerS, int course);

// What the marks show at one moment of the scan.
struct PointMarks {
    bool band = false;
    Rect bandRect;
    bool line = false;
    Rect lineRect;
    // Every pass of the current sweep is over: back to rest.
    bool passesOver = false;
};

// The scan as it begins for a pointer at `pointer` on a monitor of `dpi`.
PointScanState beginPointScan(const MonitorLayout& layout, Point pointer, int dpi, int bandPxS, int linePxS,
                              double nowMs);
PointMarks pointMarksAt(const PointScanState& s, double nowMs);
// A press: the moving mark stops where it is at `nowMs` and the next sweep
// begins. True once y is fixed (the point is x, y and the phase Off).
bool fixPointPhase(PointScanState& s, double nowMs);

const PointScanState& pointScanState();
void resetPointScanState();
bool pointScanRunning();

// Called as the Point cell's movement starts: the band shows at once.
void startPointScan(Platform& p);
// One tick of TIMER_MOVE while the scan runs.
void pointScanTick(Platform& p);
// A press while it runs. False: a new sweep began. True: the point is fixed
// and the pointer (and the crosshair) are there.
bool pointScanPress(Platform& p);
// The marks go and the scan is off; nothing happens when it is not running.
void endPointScan(Platform& p);

} // namespace sp
