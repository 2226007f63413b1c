// Point scanning through the fake on its virtual clock: the band and the
// line on both axes, the jump to the point, a sweep that starts again and
// one that gives up, and every way it is cancelled.
#include "test_state.h"

namespace sp {
namespace {

std::string text(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

class PointScanTest : public LogicTest {
protected:
    // From rest: the scan started, run to the Point cell, and a press on it.
    void selectPoint(const std::string& speeds) {
        useOptionsText("point_scan = 1\n" + speeds);
        useDefaults();
        handleSwitchPress(fake);
        scanTo(CELL_POINT);
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
    std::string band() const { return text(fake.pointMarkRect[static_cast<int>(PointMark::Band)]); }
    std::string line() const { return text(fake.pointMarkRect[static_cast<int>(PointMark::Line)]); }
    bool marksUp() const { return fake.pointMarkOpen[0] || fake.pointMarkOpen[1]; }
};

struct AimCase {
    const char* name;
    MonitorLayout monitors;
    Point pointer;
    const char* speeds;
    double pressMs[4]; // band x, line x, band y, line y
    const char* bandX; // the marks as each press comes
    const char* lineX;
    const char* bandY;
    const char* lineY;
    Point point;
};

void PrintTo(const AimCase& c, std::ostream* os) { *os << c.name; }

class PointAimTest : public PointScanTest, public ::testing::WithParamInterface<AimCase> {};

TEST_P(PointAimTest, FourPressesPutThePointerWhereTheLinesCross) {
    const AimCase& c = GetParam();
    fake.monitors = c.monitors;
    fake.cursor = c.pointer;
    selectPoint(c.speeds);
    EXPECT_EQ(switchState().moving, 1);
    EXPECT_EQ(fake.timerPeriod[TIMER_MOVE], MOVE_PERIOD_MS);
    EXPECT_EQ(fake.calls("showPointMark").size(), 1u) << "the band shows at once";
    EXPECT_FALSE(fake.pointMarkOpen[1]) << "no line before the band stops";

    const char* const bandAt[4] = {c.bandX, c.bandX, c.bandY, c.bandY};
    // While y is sought the line stays on the x fixed.
    const char* const lineAt[4] = {nullptr, c.lineX, c.lineX, c.lineY};
    for (int phase = 0; phase < 4; ++phase) {
        tickAt(c.pressMs[phase]);
        EXPECT_EQ(band(), bandAt[phase]) << "phase " << phase;
        if (lineAt[phase]) {
            EXPECT_EQ(line(), lineAt[phase]) << "phase " << phase;
        }
        EXPECT_TRUE(fake.calls("sendAbsoluteMove").empty()) << "the pointer stays while the marks sweep";
        fake.clearLog();
        pressAt(c.pressMs[phase]);
    }

    EXPECT_EQ(fake.log.front(), "closePointMarks");
    EXPECT_TRUE(fake.cursor == c.point) << fake.cursor.x << "," << fake.cursor.y;
    EXPECT_EQ(fake.calls("sendAbsoluteMove").size(), 1u) << "one jump";
    EXPECT_EQ(switchState().lastMoveX, c.point.x) << "the hook knows the move for the program's own";
    EXPECT_EQ(switchState().lastMoveY, c.point.y);
    EXPECT_TRUE(fake.armRect[static_cast<int>(Arm::Up)] == armRect(Arm::Up, c.point, fake.monitorLayout()));
    EXPECT_FALSE(marksUp());
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE]);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(switchState().scanning, 1);
    EXPECT_TRUE(fake.timerRunning[TIMER_SCAN]);
    EXPECT_EQ(highlights(1), (std::vector<int>{CELL_LEFT_CLICK})) << "on to the clicks";
}

const MonitorLayout SIDE_BY_SIDE = {{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
const MonitorLayout LEFT_OF_PRIMARY = {{0, 0, 1024, 768}, {-800, 100, 800, 600}};

INSTANTIATE_TEST_SUITE_P(Screens, PointAimTest,
                         ::testing::Values(
                             // Band 102 x 76 of one 1024 x 768 screen.
                             AimCase{"oneScreen",
                                     {},
                                     {512, 384},
                                     "point_band_px_s = 500\npoint_line_px_s = 100",
                                     {1000, 300, 600, 250},
                                     "500,0 102x768",
                                     "529,0 3x768",
                                     "0,300 1024x76",
                                     "0,324 1024x3",
                                     {530, 325}},
                             // The band is a tenth of the monitor the pointer is on, and sweeps both.
                             AimCase{"acrossTwoMonitors",
                                     SIDE_BY_SIDE,
                                     {1500, 500},
                                     "point_band_px_s = 1000\npoint_line_px_s = 200",
                                     {1500, 500, 700, 100},
                                     "1500,0 128x1024",
                                     "1599,0 3x1024",
                                     "0,700 2304x102",
                                     "0,719 2304x3",
                                     {1600, 720}},
                             AimCase{"fromAMonitorLeftOfThePrimary",
                                     LEFT_OF_PRIMARY,
                                     {-400, 300},
                                     "point_band_px_s = 300\npoint_line_px_s = 20",
                                     {2000, 1000, 100, 2500},
                                     "-200,0 80x768",
                                     "-181,0 3x768",
                                     "-800,30 1824x60",
                                     "-800,79 1824x3",
                                     // Above that monitor, between the two: the nearest point of one.
                                     {-180, 100}},
                             // Presses right as each sweep begins take its first place.
                             AimCase{"atOnce",
                                     {},
                                     {100, 100},
                                     "",
                                     {0, 0, 0, 0},
                                     "0,0 102x768",
                                     "-1,0 3x768",
                                     "0,0 1024x76",
                                     "0,-1 1024x3",
                                     {0, 0}}),
                         CaseName());

struct WrapCase {
    const char* name;
    int pressesFirst; // presses at once that bring the scan to this sweep
    double passMs;    // one pass over the sweep's course
    // The moving mark 100 ms into the second pass: back near its start.
    const char* secondPass;
    bool lineMoves;
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.name; }

class PointWrapTest : public PointScanTest, public ::testing::WithParamInterface<WrapCase> {};

// Band 102 x 76 at 1000 px/s, line 200 px/s: 923, 102, 693 and 76 places.
TEST_P(PointWrapTest, ASweepStartsAgainTwiceThenTheScanRests) {
    const WrapCase& c = GetParam();
    selectPoint("point_band_px_s = 1000\npoint_line_px_s = 200");
    for (int i = 0; i < c.pressesFirst; ++i) pressAt(0);
    tickAt(c.passMs + 100);
    EXPECT_EQ(c.lineMoves ? line() : band(), c.secondPass);
    tickAt(3 * c.passMs - 1);
    EXPECT_TRUE(marksUp()) << "still on its third pass";
    EXPECT_EQ(switchState().moving, 1);

    fake.clearLog();
    tickAt(3 * c.passMs);
    EXPECT_FALSE(marksUp());
    EXPECT_TRUE(fake.calls("showPointMark").empty());
    EXPECT_TRUE(fake.calls("sendAbsoluteMove").empty()) << "the pointer stays where it was";
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE]);
    EXPECT_FALSE(fake.timerRunning[TIMER_SCAN]);
    EXPECT_FALSE(fake.timerRunning[TIMER_REARM]) << "at rest, not disarmed";
    EXPECT_EQ(switchState().scanning, 0);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(fake.caption, "Ready");
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().scanning, 1) << "the next press starts the scan";
}

INSTANTIATE_TEST_SUITE_P(Sweeps, PointWrapTest,
                         ::testing::Values(WrapCase{"bandAcross", 0, 923, "100,0 102x768", false},
                                           WrapCase{"lineAcross", 1, 510, "19,0 3x768", true},
                                           WrapCase{"bandDown", 2, 693, "0,100 1024x76", false},
                                           WrapCase{"lineDown", 3, 380, "0,19 1024x3", true}),
                         CaseName());

struct CancelCase {
    const char* name;
    int switchDevice;
    void (*cancel)(FakePlatform& fake);
    bool disarmed; // the hook out and the re-arm countdown running
};

void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

class PointCancelTest : public PointScanTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(PointCancelTest, TheMarksGoAndNothingMovesAfter) {
    const CancelCase& c = GetParam();
    SettingsValues v = defaultSettings();
    v.switchDevice = c.switchDevice;
    useOptionsText("point_scan = 1");
    useSettings(v);
    installSwitchHook(fake);
    handleSwitchPress(fake);
    scanTo(CELL_POINT);
    handleSwitchPress(fake);
    pressAt(200);
    tickAt(100);
    ASSERT_TRUE(fake.pointMarkOpen[0] && fake.pointMarkOpen[1]);

    c.cancel(fake);
    EXPECT_FALSE(marksUp());
    EXPECT_FALSE(pointScanRunning());
    EXPECT_EQ(fake.timerRunning[TIMER_REARM], c.disarmed);
    fake.clearLog();
    fake.clockMs += 500;
    movementTick(fake);
    EXPECT_TRUE(fake.calls("showPointMark").empty()) << "a late tick shows nothing";
    EXPECT_TRUE(fake.calls("sendAbsoluteMove").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PointCancelTest,
    ::testing::Values(
        CancelCase{"escape", 0, [](FakePlatform& f) { handleEscape(f); }, true},
        // Only the tick sees a hand on the mouse of a keyboard user.
        CancelCase{"handMoveWithTheKeyboardSwitch", 0,
                   [](FakePlatform& f) {
                       f.cursor.x += 5;
                       f.clockMs += MOVE_PERIOD_MS;
                       movementTick(f);
                   },
                   true},
        CancelCase{"farMoveStopOfTheMouseSwitch", 1, [](FakePlatform& f) { handleFarMoveStop(f); }, true},
        CancelCase{"switchDeviceChanged", 0, [](FakePlatform& f) { restartWithSwitchDevice(f); }, false},
        CancelCase{"panelClosed", 0, [](FakePlatform& f) { closePanel(f); }, false}),
    CaseName());

// With the mouse as the switch its hook sees hand moves: a tick does not
// take a pointer nudged by its own clicks for one.
TEST_F(PointScanTest, AMouseSwitchUsersTickLeavesAMovedPointerToTheHook) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 1;
    useOptionsText("point_scan = 1");
    useSettings(v);
    handleSwitchPress(fake);
    scanTo(CELL_POINT);
    handleSwitchPress(fake);
    fake.cursor.x += 5;
    tickAt(200);
    EXPECT_TRUE(pointScanRunning());
    EXPECT_EQ(band(), "60,0 102x768") << "300 px/s by default";
}

} // namespace
} // namespace sp
