// Getting to the target sooner: a movement that speeds up, the scan going
// back to the clicks after a movement, and a scan that rests when nobody
// answers it.
#include "test_state.h"

namespace sp {
namespace {

class SpeedTest : public LogicTest {
protected:
    void useOptionsText(const std::string& text) {
        ASSERT_TRUE(parseOptions(text).faults.empty()) << text;
        useOptions(parseOptions(text).values);
    }
    // A glide to the right from x = 100 with ticks every 40 ms of the
    // virtual clock; where the pointer is after each of `ms` milliseconds.
    int glideRight(int ms) {
        fake.cursor = {100, 300};
        setPressState(PressState::Moving);
        setPendingAction(ACTION_RIGHT);
        startMovement();
        for (int t = 0; t <= ms; t += MOVE_PERIOD_MS) {
            fake.clockMs = 1000 + t;
            movementTick(fake);
        }
        return fake.cursor.x;
    }
};

struct AccelCase {
    const char* name;
    const char* options;
    int ms;
    int pixels; // moved in `ms`, step 2
};

void PrintTo(const AccelCase& c, std::ostream* os) { *os << c.name; }

class AccelerationTest : public SpeedTest, public ::testing::WithParamInterface<AccelCase> {};

// The first tick is one set step; after it the distance is the set step's
// rate ramped evenly to `acceleration_max` times it over `acceleration_ms`.
TEST_P(AccelerationTest, CoversTheRampedDistance) {
    useOptionsText(GetParam().options);
    SettingsValues v = defaultSettings();
    v.moveStep = 2;
    useSettings(v);
    EXPECT_NEAR(glideRight(GetParam().ms) - 100, GetParam().pixels, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ramps, AccelerationTest,
    ::testing::Values(AccelCase{"off", "acceleration = 0", 4000, 2 + 200},
                      // (t + 3 t^2 / 4000) / 40 steps by t = 1000
                      AccelCase{"halfWayUpTheRamp", "acceleration = 1", 1000, 2 + 88},
                      // (4000 + 3 (4000 - 1000)) / 40 steps
                      AccelCase{"pastTheRamp", "acceleration = 1", 4000, 2 + 650},
                      AccelCase{"tenTimesQuickly",
                                "acceleration = 1\nacceleration_max = 10\nacceleration_ms = 200", 1000,
                                2 + 455},
                      AccelCase{"onceIsTheSetStep", "acceleration = 1\nacceleration_max = 1", 4000, 2 + 200}),
    CaseName());

TEST_F(SpeedTest, EveryMovementStartsAtTheSetStep) {
    useOptionsText("acceleration = 1\nacceleration_max = 10\nacceleration_ms = 200");
    SettingsValues v = defaultSettings();
    v.moveStep = 2;
    useSettings(v);
    const int fresh = glideRight(MOVE_PERIOD_MS);
    glideRight(2000);
    EXPECT_EQ(glideRight(MOVE_PERIOD_MS), fresh) << "the second glide begins as slowly as the first";
}

struct AfterMoveCase {
    const char* name;
    const char* afterMove;
    const char* clicks;
    int next; // the cell the scan lights after the press that ends the movement
};

void PrintTo(const AfterMoveCase& c, std::ostream* os) { *os << c.name; }

class AfterMoveTest : public SpeedTest, public ::testing::WithParamInterface<AfterMoveCase> {};

TEST_P(AfterMoveTest, APressEndingAMovementResumesWhereTheOptionSays) {
    const AfterMoveCase& c = GetParam();
    useOptionsText(std::string("after_move = ") + c.afterMove);
    SettingsValues v = defaultSettings();
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = c.clicks[k] == '1' ? 1 : 0;
    useSettings(v);
    handleSwitchPress(fake);
    scanStateForTests().scanPos = CELL_UP + 1;
    scanStep(fake);
    handleSwitchPress(fake); // up
    ASSERT_EQ(pressState(), PressState::Moving);
    handleSwitchPress(fake);
    EXPECT_EQ(highlights(1), (std::vector<int>{c.next}));
}

INSTANTIATE_TEST_SUITE_P(Options, AfterMoveTest,
                         ::testing::Values(AfterMoveCase{"next", "next", "11111", CELL_DOWN},
                                           AfterMoveCase{"clicks", "clicks", "11111", CELL_LEFT_CLICK},
                                           AfterMoveCase{"firstClickOn", "clicks", "00101", CELL_RIGHT_CLICK},
                                           AfterMoveCase{"noClickOn", "clicks", "00000", CELL_DOWN}),
                         CaseName());

// Where the scan starts again after a click, per after_click and point_scan:
// back to pointing lights at once, the first cell a step later as ever.
TEST_F(SpeedTest, AfterAClickTheScanStartsAtTheCellTheOptionNames) {
    const struct {
        const char* options;
        int litAtOnce; // the action highlighted as the click returns
        int next;
    } rows[] = {{"after_click = first\npoint_scan = 1", NO_ACTION, CELL_START_STOP},
                {"after_click = point\npoint_scan = 1", ACTION_POINT, CELL_START_STOP},
                {"after_click = point\npoint_scan = 0", NO_ACTION, CELL_START_STOP}};
    for (const auto& row : rows) {
        useOptionsText(row.options);
        layOutListedCells();
        useDefaults();
        setPendingAction(ACTION_LEFT_CLICK);
        performClick(fake);
        EXPECT_EQ(scanState().highlightedAction, row.litAtOnce) << row.options;
        EXPECT_EQ(highlights(1), (std::vector<int>{row.next})) << row.options;
    }
}

// Two whole passes of the ten cells, then rest; a press starts the count again.
TEST_F(SpeedTest, TheScanRestsAfterScanLoopsPassesWithoutAPress) {
    useOptionsText("scan_loops = 2");
    useDefaults();
    handleSwitchPress(fake);
    highlights(15);          // the last one DOWN
    handleSwitchPress(fake); // the press that starts a movement also counts
    handleSwitchPress(fake);
    highlights(20);
    EXPECT_EQ(pressState(), PressState::Scanning);
    scanStep(fake);
    EXPECT_NE(pressState(), PressState::Scanning);
    EXPECT_EQ(fake.caption, "Ready");
    EXPECT_FALSE(fake.timerRunning[TIMER_SCAN]);

    useOptionsText("scan_loops = 0");
    handleSwitchPress(fake);
    highlights(300);
    EXPECT_EQ(pressState(), PressState::Scanning) << "0: never";
}

} // namespace
} // namespace sp
