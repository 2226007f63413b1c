// Pointer actions: where a movement step goes, how it reaches the system,
// which button is primary, and the stop that brings everything to rest.
#include "pointer/movement.h"
#include "test_state.h"

namespace sp {
namespace {

const Size SCREEN{1024, 768};

// ---- Movement target ------------------------------------------------------------

struct TargetCase {
    const char* name;
    int direction;
    Point from;
    int step;
    Point want;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }

class MovementTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(MovementTargetTest, StepsAndWrapsAtTheEdges) {
    const TargetCase& c = GetParam();
    const Point got = movementTarget(c.direction, c.from, c.step, SCREEN);
    EXPECT_EQ(got.x, c.want.x);
    EXPECT_EQ(got.y, c.want.y);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MovementTargetTest,
    ::testing::Values(TargetCase{"leftStep", 1, {500, 300}, 2, {498, 300}},
                      TargetCase{"leftFromTwoReachesZero", 1, {2, 300}, 2, {0, 300}},
                      TargetCase{"leftFromOneWraps", 1, {1, 300}, 2, {1024, 300}},
                      TargetCase{"leftFromZeroWraps", 1, {0, 300}, 2, {1024, 300}},
                      TargetCase{"leftOvershootIsNotShortened", 1, {3, 300}, 6, {-3, 300}},
                      TargetCase{"rightFromLastColumnWraps", 2, {1023, 300}, 2, {1, 300}},
                      TargetCase{"rightBeforeLastColumn", 2, {1022, 300}, 2, {1024, 300}},
                      TargetCase{"rightNearLeftEdgeAddsOne", 2, {5, 300}, 2, {8, 300}},
                      TargetCase{"rightAtFifteenAddsOne", 2, {15, 300}, 2, {18, 300}},
                      TargetCase{"rightFromSixteen", 2, {16, 300}, 2, {18, 300}},
                      TargetCase{"upStep", 3, {500, 300}, 4, {500, 296}},
                      TargetCase{"upFromTwoReachesZero", 3, {500, 2}, 2, {500, 0}},
                      TargetCase{"upFromOneWraps", 3, {500, 1}, 2, {500, 767}},
                      TargetCase{"upFromZeroWraps", 3, {500, 0}, 2, {500, 767}},
                      TargetCase{"downFromLastRowWraps", 4, {500, 767}, 2, {500, 1}},
                      TargetCase{"downBeforeLastRow", 4, {500, 766}, 2, {500, 768}},
                      TargetCase{"downStep", 4, {500, 300}, 6, {500, 306}}),
    CaseName());

TEST(NormalisedForTest, ScalesToTheLastPixelAndTruncatesTowardZero) {
    const struct {
        Point pixel;
        Point want;
    } cases[] = {
        {{0, 0}, {0, 0}},
        {{1023, 767}, {65535, 65535}},
        {{512, 384}, {32799, 32810}},  // 32799.5 and 32810.2: not rounded
        {{1024, 768}, {65599, 65620}}, // past the edge: not clamped
        {{-3, 300}, {-192, 25632}},    // -192.2: toward zero, not down
    };
    for (const auto& c : cases) {
        const Point got = normalisedFor(c.pixel, SCREEN);
        EXPECT_EQ(got.x, c.want.x) << c.pixel.x;
        EXPECT_EQ(got.y, c.want.y) << c.pixel.y;
    }
}

// ---- Movement tick --------------------------------------------------------------

TEST_F(LogicTest, TickWithoutMovingDoesNothing) {
    setPressState(PressState::Idle);
    setPendingAction(1);
    movementTick(fake);
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(switchState().lastMoveX, 0);
}

TEST_F(LogicTest, TickMovesPointerThenCrosshairThenRemembersTheTarget) {
    SettingsValues v = defaultSettings();
    v.moveStep = 6;
    useSettings(v);
    setPressState(PressState::Moving);
    setPendingAction(1);
    fake.cursor = {3, 300};

    movementTick(fake);
    EXPECT_EQ(fake.log,
              (Lines{"sendAbsoluteMove -192 25632", "moveArm left 0 300 -13 3", "moveArm right 7 300 1024 3",
                     "moveArm up -3 0 3 290", "moveArm down -3 310 3 768", "sleep 33"}));
    EXPECT_EQ(switchState().lastMoveX, -3);
    EXPECT_EQ(switchState().lastMoveY, 300);
    EXPECT_EQ(fake.cursor.x, 0) << "the system keeps the pointer on the screen";

    movementTick(fake); // from x = 0 the next step wraps
    EXPECT_EQ(switchState().lastMoveX, 1024);
    EXPECT_EQ(fake.cursor.x, 1023);
}

// Whatever period the system timer really fires at, a movement covers a step
// per 40 ms; the first tick after a start is one whole step.
struct RateCase {
    const char* name;
    double periodMs;
};

void PrintTo(const RateCase& c, std::ostream* os) { *os << c.name; }

class MovementRateTest : public LogicTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(MovementRateTest, CoversAStepPerFortyMilliseconds) {
    SettingsValues v = defaultSettings();
    v.moveStep = 2;
    useSettings(v);
    fake.cursor = {100, 300}; // 200 pixels on, still short of the edge
    setPressState(PressState::Moving);
    setPendingAction(2); // right
    startMovement();

    const double startMs = 1000;
    fake.clockMs = startMs;
    movementTick(fake);
    EXPECT_EQ(switchState().lastMoveX, 102);

    double lastMs = startMs;
    for (int i = 1; i * GetParam().periodMs <= 4000; ++i) {
        lastMs = startMs + i * GetParam().periodMs;
        fake.clockMs = lastMs; // the crosshair's own sleeps must not count
        movementTick(fake);
    }
    const double pixelsPerSecond = (switchState().lastMoveX - 102) * 1000.0 / (lastMs - startMs);
    EXPECT_NEAR(pixelsPerSecond, 2 * 25.0, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Periods, MovementRateTest,
                         ::testing::Values(RateCase{"asAsked", 40},
                                           RateCase{"roundedUpToTheSystemTick", 46.875}),
                         CaseName());

// ---- Buttons and stop ---------------------------------------------------------

TEST_F(LogicTest, SwappedButtonsExchangePrimaryAndSecondary) {
    EXPECT_EQ(primaryDown(fake), 0x0002u);
    EXPECT_EQ(primaryUp(fake), 0x0004u);
    EXPECT_EQ(secondaryDown(fake), 0x0008u);
    EXPECT_EQ(secondaryUp(fake), 0x0010u);
    fake.swapped = true;
    EXPECT_EQ(primaryDown(fake), 0x0008u);
    EXPECT_EQ(primaryUp(fake), 0x0010u);
    EXPECT_EQ(secondaryDown(fake), 0x0002u);
    EXPECT_EQ(secondaryUp(fake), 0x0004u);
}

TEST_F(LogicTest, StopAndResetReleasesTheButtonAndPaintsTheRestState) {
    SettingsValues v = defaultSettings();
    v.enabledClicks[2] = 0;
    v.enabledClicks[4] = 0;
    useSettings(v);
    setDragging(true);
    setPressState(PressState::Moving);
    setPendingAction(4);
    scanStateForTests().scanPos = 7;
    rearmStateForTests().rearmCount = 3;

    stopAndReset(fake);
    EXPECT_EQ(
        fake.log,
        (Lines{"sendButton 4", "killTimer 11", "killTimer 14", "closeArm left", "closeArm right",
               "closeArm up", "closeArm down", "setCaption Ready", "setClassIcon START",
               "paintCell 0 00FF00 START", "paintCell 1 FEFFFF ESQUERRA", "paintCell 2 FEFFFF DRETA",
               "paintCell 3 FEFFFF AMUNT", "paintCell 4 FEFFFF AVALL", "paintCell 5 FEFFFF CLIC_ESQUERRA",
               "paintCell 6 FEFFFF DOBLE_CLIC", "paintCell 7 CCCCCC CLIC_DRETA",
               "paintCell 8 FEFFFF MIDDEL_CLIC", "paintCell 9 CCCCCC ARRASTRA"}));
    EXPECT_EQ(clickState().dragging, 0);
    EXPECT_EQ(pressState(), PressState::Idle);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(scanState().scanPos, 1);
    EXPECT_EQ(rearmState().rearmCount, 0);
    EXPECT_EQ(fake.caption, "Ready");
}

} // namespace
} // namespace sp
