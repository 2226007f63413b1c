// Point scanning through the fake on its virtual clock: the band and the
// line on both axes, the jump to the point, a sweep that starts again and
// one that gives up, and every way it is cancelled.
#include "test_state.h"

namespace sp {
namespace {

class PointScanTest : public LogicTest {
protected:
    // From rest: the scan started, run to the Point cell (the last), and a press on it.
    void selectPoint(const std::string& options, int switchDevice = 0) {
        useOptions(parseOptions("point_scan = 1\n" + options).values);
        layOutListedCells();
        SettingsValues v = defaultSettings();
        v.switchDevice = switchDevice;
        useSettings(v);
        installSwitchHook(fake);
        handleSwitchPress(fake);
        scanState().scanPos = static_cast<int>(scanCells().size());
        scanStep(fake);
        ASSERT_EQ(scanState().highlightedCell, CELL_POINT);
        fake.clearLog();
        handleSwitchPress(fake);
    }
    // `ms` after the current sweep began.
    void tickAt(double ms) {
        fake.clockMs = pointScanState().phaseStartMs + ms;
        movementTick(fake);
    }
    void pressAt(double ms) {
        fake.clockMs = pointScanState().phaseStartMs + ms;
        handleSwitchPress(fake);
    }
    std::string mark(PointMark m) const {
        const Rect& r = fake.pointMarkRect[static_cast<int>(m)];
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height);
    }
    bool marksUp() const { return fake.pointMarkOpen[0] || fake.pointMarkOpen[1]; }
};

struct AimCase {
    const char* name;
    MonitorLayout monitors;
    Point pointer;
    const char* speeds;
    double pressMs[4]; // band x, line x, band y, line y
    const char* marks; // as each press comes: the band, the line, both, the line
    Point point;
};

void PrintTo(const AimCase& c, std::ostream* os) { *os << c.name; }

class PointAimTest : public PointScanTest, public ::testing::WithParamInterface<AimCase> {};

TEST_P(PointAimTest, FourPressesPutThePointerWhereTheLinesCross) {
    const AimCase& c = GetParam();
    fake.monitors = c.monitors;
    fake.cursor = c.pointer;
    selectPoint(c.speeds);
    EXPECT_EQ(fake.calls("showPointMark").size(), 1u) << "the band shows at once, alone";
    std::string marks;
    for (int phase = 0; phase < 4; ++phase) {
        tickAt(c.pressMs[phase]);
        const std::string band = mark(PointMark::Band);
        const std::string line = mark(PointMark::Line);
        marks += phase == 0 ? band : phase == 2 ? " | " + band + " & " + line : " | " + line;
        pressAt(c.pressMs[phase]);
    }
    EXPECT_EQ(marks, c.marks);
    EXPECT_TRUE(fake.cursor == c.point) << fake.cursor.x << "," << fake.cursor.y;
    EXPECT_EQ(fake.calls("sendAbsoluteMove").size(), 1u)
        << "the pointer stays while the marks sweep, then jumps";
    EXPECT_TRUE((Point{switchState().lastMoveX, switchState().lastMoveY}) == c.point)
        << "known as our own move";
    EXPECT_TRUE(fake.armRect[static_cast<int>(Arm::Up)] == armRect(Arm::Up, c.point, fake.monitorLayout()));
    EXPECT_FALSE(marksUp());
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE]);
    EXPECT_TRUE(fake.timerRunning[TIMER_SCAN]);
    EXPECT_EQ(highlights(1), (std::vector<int>{CELL_LEFT_CLICK})) << "on to the clicks";
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PointAimTest,
    ::testing::Values(
        // The band is a tenth of the pointer's monitor: 102 x 76 here.
        AimCase{"oneScreen",
                {},
                {512, 384},
                "point_band_px_s = 500\npoint_line_px_s = 100",
                {1000, 300, 600, 250},
                "500,0 102x768 | 529,0 3x768 | 0,300 1024x76 & 529,0 3x768 | 0,324 1024x3",
                {530, 325}},
        AimCase{"acrossTwoMonitors",
                {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}},
                {1500, 500},
                "point_band_px_s = 1000\npoint_line_px_s = 200",
                {1500, 500, 700, 100},
                "1500,0 128x1024 | 1599,0 3x1024 | 0,700 2304x102 & 1599,0 3x1024 | 0,719 2304x3",
                {1600, 720}},
        // The point lies above the left monitor, beside the primary: the nearest monitor point it is.
        AimCase{"besideThePrimary",
                {{0, 0, 1024, 768}, {-800, 100, 800, 600}},
                {-400, 300},
                "point_band_px_s = 300\npoint_line_px_s = 20",
                {2000, 1000, 100, 2500},
                "-200,0 80x768 | -181,0 3x768 | -800,30 1824x60 & -181,0 3x768 | -800,79 1824x3",
                {-180, 100}}),
    CaseName());

struct WrapCase {
    const char* name;
    int pressesFirst;       // presses at once that bring the scan to this sweep
    double passMs;          // one pass over the sweep's course
    const char* secondPass; // the moving mark 100 ms into the second pass
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.name; }

class PointWrapTest : public PointScanTest, public ::testing::WithParamInterface<WrapCase> {};

// Band 102 x 76 at 1000 px/s, line 200 px/s: 923, 102, 693 and 76 places.
TEST_P(PointWrapTest, ASweepStartsAgainTwiceThenTheScanRests) {
    const WrapCase& c = GetParam();
    selectPoint("point_band_px_s = 1000\npoint_line_px_s = 200");
    for (int i = 0; i < c.pressesFirst; ++i) pressAt(0);
    tickAt(c.passMs + 100);
    EXPECT_EQ(mark(c.pressesFirst % 2 ? PointMark::Line : PointMark::Band), c.secondPass);
    tickAt(3 * c.passMs - 1);
    EXPECT_TRUE(marksUp()) << "still on its third pass";
    tickAt(3 * c.passMs);
    EXPECT_FALSE(marksUp());
    EXPECT_EQ(fake.calls("sendAbsoluteMove").size(), 0u) << "the pointer stays where it was";
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE] || fake.timerRunning[TIMER_SCAN]);
    EXPECT_FALSE(fake.timerRunning[TIMER_REARM]) << "at rest, not disarmed";
    EXPECT_EQ(fake.caption, "Ready");
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().scanning, 1) << "the next press starts the scan";
}

INSTANTIATE_TEST_SUITE_P(Sweeps, PointWrapTest,
                         ::testing::Values(WrapCase{"bandAcross", 0, 923, "100,0 102x768"},
                                           WrapCase{"lineAcross", 1, 510, "19,0 3x768"},
                                           WrapCase{"bandDown", 2, 693, "0,100 1024x76"},
                                           WrapCase{"lineDown", 3, 380, "0,19 1024x3"}),
                         CaseName());

struct CancelCase {
    const char* name;
    int switchDevice;
    void (*cancel)(FakePlatform& fake);
    bool cancels;
    bool disarms; // the re-arm countdown runs
};

void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

class PointCancelTest : public PointScanTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(PointCancelTest, TheMarksGoAndNothingMovesAfter) {
    const CancelCase& c = GetParam();
    selectPoint("", c.switchDevice);
    pressAt(200);
    tickAt(100);
    ASSERT_TRUE(fake.pointMarkOpen[0] && fake.pointMarkOpen[1]);
    c.cancel(fake);
    EXPECT_EQ(pointScanRunning(), !c.cancels);
    EXPECT_EQ(marksUp(), !c.cancels);
    EXPECT_EQ(fake.timerRunning[TIMER_REARM], c.disarms);
    fake.clearLog();
    tickAt(600);
    EXPECT_EQ(fake.calls("showPointMark").size(), c.cancels ? 0u : 2u) << "a late tick shows nothing";
    EXPECT_TRUE(fake.calls("sendAbsoluteMove").empty());
}

void handMove(FakePlatform& f) {
    f.cursor.x += 5;
    movementTick(f);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PointCancelTest,
    ::testing::Values(CancelCase{"escape", 0, [](FakePlatform& f) { handleEscape(f); }, true, true},
                      // Only the tick sees a hand on the mouse of a keyboard user; the
                      // mouse switch's hook sees it by itself, and its stop is the far move.
                      CancelCase{"handMoveWithTheKeyboardSwitch", 0, handMove, true, true},
                      CancelCase{"handMoveLeftToTheMouseSwitchsHook", 1, handMove, false, false},
                      CancelCase{"farMoveStop", 1, [](FakePlatform& f) { handleFarMoveStop(f); }, true, true},
                      CancelCase{"switchDeviceChanged", 0,
                                 [](FakePlatform& f) { restartWithSwitchDevice(f); }, true, false},
                      CancelCase{"panelClosed", 0, [](FakePlatform& f) { closePanel(f); }, true, false}),
    CaseName());

} // namespace
} // namespace sp
