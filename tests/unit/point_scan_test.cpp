// Point scanning on the virtual clock: the aim, sweeps that run out, cancels.
#include "test_state.h"

namespace sp {
namespace {

class PointScanTest : public LogicTest {
protected:
    // From rest: the scan run to the Point cell (the last) and a press on it.
    void selectPoint(const std::string& options) {
        useOptions(parseOptions("point_scan = 1\n" + options).values);
        layOutListedCells();
        SettingsValues v = defaultSettings();
        v.switchDevice = 0; // the keyboard
        useSettings(v);
        installSwitchHook(fake);
        handleSwitchPress(fake);
        scanStateForTests().scanPos = static_cast<int>(scanCells().size());
        scanStep(fake);
        ASSERT_EQ(scanState().highlightedCell, CELL_POINT);
        fake.clearLog();
        handleSwitchPress(fake);
    }
    // A tick, or a press, `ms` after the current sweep began.
    void at(double ms, bool press) {
        fake.clockMs = pointScanState().phaseStartMs + ms;
        press ? (void)handleSwitchPress(fake) : movementTick(fake);
    }
    std::string mark(PointMark m) const {
        const Rect& r = fake.pointMarkRect[static_cast<int>(m)];
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height);
    }
    bool marksUp() const { return fake.pointMarkOpen[0] || fake.pointMarkOpen[1]; }
};

// The band is a tenth of the pointer's monitor, and the sweeps cross both;
// a stopped band takes in a fifth of itself either side for its line.
TEST_F(PointScanTest, FourPressesPutThePointerWhereTheLinesCross) {
    fake.monitors = {{0, 0, 1024, 768}, {-800, 100, 800, 600}};
    fake.cursor = {-400, 300};
    fake.dpi = 144; // the line as thick as the arms there
    selectPoint("point_band_px_s = 300\npoint_line_px_s = 20");
    EXPECT_EQ(fake.calls("showPointMark"), (Lines{"showPointMark band"})) << "the band shows at once, alone";
    const double pressMs[4] = {2000, 1000, 100, 2500};
    std::string marks;
    for (int phase = 0; phase < 4; ++phase) {
        at(pressMs[phase], false);
        marks.append(phase > 0 ? " | " : "").append(mark(PointMark::Band));
        if (phase > 0) marks.append(" & ").append(mark(PointMark::Line));
        at(pressMs[phase], true);
    }
    EXPECT_EQ(marks, "-200,0 80x768 | -216,0 112x768 & -198,0 5x768 | -800,30 1824x60 & -198,0 5x768 | "
                     "-800,18 1824x84 & -800,66 1824x5")
        << "as each press comes: the band, the line in the stopped band, the band down (the line stays "
           "on x), the line in it";
    // (-196, 68) lies above the left monitor, beside the primary: the nearest monitor point it is.
    const Point point{-196, 100};
    EXPECT_TRUE(fake.cursor == point) << fake.cursor.x << "," << fake.cursor.y;
    EXPECT_EQ(fake.calls("sendAbsoluteMove").size(), 1u)
        << "the pointer stays while the marks sweep, then jumps";
    EXPECT_TRUE((Point{switchState().lastMoveX, switchState().lastMoveY}) == point)
        << "known as our own move";
    EXPECT_TRUE(fake.armRect[static_cast<int>(Arm::Up)] ==
                armRect(Arm::Up, point, fake.monitorLayout(), 144));
    EXPECT_TRUE(!marksUp() && !fake.timerRunning[TIMER_MOVE] && fake.timerRunning[TIMER_SCAN]);
    EXPECT_EQ(scanState().highlightedCell, CELL_LEFT_CLICK) << "on to the clicks at once";
}

struct EndCase {
    const char* name;
    int presses;            // at once, before it ends
    double passMs;          // without a cancel: one pass over the sweep, which then runs out
    const char* secondPass; // its moving mark 100 ms into the second pass
    void (*cancel)(Platform& p);
    bool disarms; // the re-arm countdown runs
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class PointEndTest : public PointScanTest, public ::testing::WithParamInterface<EndCase> {};

// Band 102 x 76 at 1000 px/s, line 200 px/s: across 923 places; stopped at
// the top, down 91 (no margin above the screen).
TEST_P(PointEndTest, TheMarksGoThePointerStaysAndLaterTicksDoNothing) {
    const EndCase& c = GetParam();
    selectPoint("point_band_px_s = 1000\npoint_line_px_s = 200");
    for (int i = 0; i < c.presses; ++i) at(0, true);
    if (c.cancel) {
        at(100, false);
        c.cancel(fake);
    } else {
        at(c.passMs + 100, false);
        EXPECT_EQ(mark(c.presses % 2 ? PointMark::Line : PointMark::Band), c.secondPass)
            << "from the start again";
        at(3 * c.passMs - 1, false);
        EXPECT_TRUE(marksUp()) << "still on its third pass";
        at(3 * c.passMs, false);
        EXPECT_EQ(fake.caption, "Ready");
    }
    EXPECT_FALSE(marksUp() || pointScanRunning());
    EXPECT_EQ(fake.timerRunning[TIMER_REARM], c.disarms);
    fake.clearLog();
    fake.clockMs += 1000;
    movementTick(fake);
    EXPECT_TRUE(fake.calls("showPointMark").empty() && fake.calls("sendAbsoluteMove").empty());
}

// Only the tick sees a hand on the mouse of a keyboard user.
void handMove(Platform& p) {
    static_cast<FakePlatform&>(p).cursor.x += 5;
    movementTick(p);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, PointEndTest,
    ::testing::Values(EndCase{"bandAcrossRunsOut", 0, 923, "100,0 102x768", nullptr, false},
                      EndCase{"lineDownRunsOut", 3, 455, "0,19 1024x3", nullptr, false},
                      EndCase{"escape", 1, 0, nullptr, handleEscape, true},
                      EndCase{"handMove", 1, 0, nullptr, handMove, true},
                      EndCase{"switchDeviceChanged", 3, 0, nullptr, restartWithSwitchDevice, false},
                      EndCase{"panelClosed", 2, 0, nullptr, closePanel, false}),
    CaseName());

} // namespace
} // namespace sp
