// Several monitors: the glide, the wrap, the arms and the help box over made-up
// layouts, and the panel stepping aside from the pointer.
#include "app/step_aside.h"
#include "overlay/help_box.h"
#include "test_state.h"

namespace sp {
namespace {

const MonitorLayout SIDE_BY_SIDE = {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
const MonitorLayout STACKED = {{0, 0, 1920, 1080}, {0, 1080, 1920, 1080}};
// A shorter monitor on the right leaves a gap under it, x 1920..3199, y 720..1079.
const MonitorLayout TALL_SHORT = {{0, 0, 1920, 1080}, {1920, 0, 1280, 720}};
const MonitorLayout LEFT_OF_PRIMARY = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};

struct GlideCase {
    const char* name;
    const MonitorLayout* layout;
    int direction;
    Point from;
    int step;
    Point want;
};
void PrintTo(const GlideCase& c, std::ostream* os) { *os << c.name; }

class GlideTest : public ::testing::TestWithParam<GlideCase> {};

TEST_P(GlideTest, CrossesMonitorsAndWrapsAtTheVirtualScreen) {
    const GlideCase& c = GetParam();
    EXPECT_EQ(movementTarget(c.direction, c.from, c.step, *c.layout), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GlideTest,
    ::testing::Values(
        GlideCase{"sideRightCrossesTheEdge", &SIDE_BY_SIDE, 2, {1918, 500}, 4, {1922, 500}},
        GlideCase{"sideRightWrapsAtTheFarEdge", &SIDE_BY_SIDE, 2, {3839, 500}, 2, {1, 500}},
        GlideCase{"sideLeftWrapsToTheFarEdge", &SIDE_BY_SIDE, 1, {1, 500}, 2, {3840, 500}},
        GlideCase{"stackedDownCrossesTheEdge", &STACKED, 4, {500, 1078}, 4, {500, 1082}},
        GlideCase{"stackedDownWrapsToTheTop", &STACKED, 4, {500, 2159}, 2, {500, 1}},
        GlideCase{"stackedUpWrapsToTheBottom", &STACKED, 3, {500, 1}, 2, {500, 2159}},
        GlideCase{"gapRightGoesUpOntoTheShortMonitor", &TALL_SHORT, 2, {1918, 900}, 4, {1922, 719}},
        GlideCase{"gapLeftWrapGoesToTheNearestCorner", &TALL_SHORT, 1, {0, 900}, 2, {3199, 719}},
        GlideCase{"gapUpWrapStaysInItsColumn", &TALL_SHORT, 3, {2500, 1}, 2, {2500, 719}},
        GlideCase{"gapDownGoesOnToTheMonitorAhead", &TALL_SHORT, 4, {2500, 719}, 2, {1919, 721}},
        GlideCase{"overshootPastTheVirtualEdgeIsKept", &TALL_SHORT, 2, {3198, 500}, 4, {3202, 500}},
        GlideCase{"negativeLeftCrossesOntoTheLeftMonitor", &LEFT_OF_PRIMARY, 1, {2, 500}, 4, {-2, 500}},
        GlideCase{"negativeLeftWrapsToTheFarEdge", &LEFT_OF_PRIMARY, 1, {-1279, 500}, 2, {1920, 500}},
        GlideCase{"negativeRightWrapsToTheVirtualLeft", &LEFT_OF_PRIMARY, 2, {1919, 500}, 2, {-1279, 500}},
        GlideCase{"negativeExtraPixelNearTheVirtualLeft", &LEFT_OF_PRIMARY, 2, {-1275, 500}, 2, {-1272, 500}},
        GlideCase{"negativeNoExtraPixelAtThePrimaryLeft", &LEFT_OF_PRIMARY, 2, {5, 500}, 2, {7, 500}}),
    CaseName());

TEST(NormalisedForTest, SpansTheVirtualScreenFromItsTopLeft) {
    const struct {
        const MonitorLayout* layout;
        Point pixel;
        Point want;
    } cases[] = {
        {&LEFT_OF_PRIMARY, {-1280, 0}, {0, 0}},       {&LEFT_OF_PRIMARY, {1919, 1079}, {65535, 65535}},
        {&LEFT_OF_PRIMARY, {0, 540}, {26222, 32797}}, {&SIDE_BY_SIDE, {1920, 540}, {32776, 32797}},
        {&STACKED, {1919, 2159}, {65535, 65535}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normalisedFor(c.pixel, *c.layout), c.want) << c.pixel.x << "," << c.pixel.y;
}

struct ArmCase {
    const char* name;
    const MonitorLayout* layout;
    Arm arm;
    Point pointer;
    Rect want;
};
void PrintTo(const ArmCase& c, std::ostream* os) { *os << c.name; }

class ArmLayoutTest : public ::testing::TestWithParam<ArmCase> {};

TEST_P(ArmLayoutTest, SpansTheMonitorThatHoldsThePointer) {
    const ArmCase& c = GetParam();
    EXPECT_EQ(armRect(c.arm, c.pointer, *c.layout), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ArmLayoutTest,
    ::testing::Values(
        ArmCase{"secondLeftStartsAtItsEdge", &SIDE_BY_SIDE, Arm::Left, {2500, 500}, {1920, 500, 570, 3}},
        ArmCase{"secondRightReachesPast", &SIDE_BY_SIDE, Arm::Right, {2500, 500}, {2510, 500, 1920, 3}},
        ArmCase{"primaryRightStopsAtTheSecond", &SIDE_BY_SIDE, Arm::Right, {1000, 500}, {1010, 500, 910, 3}},
        ArmCase{
            "primaryRightAtItsEdgeShowsNothing", &SIDE_BY_SIDE, Arm::Right, {1915, 500}, {1925, 500, -5, 3}},
        ArmCase{"primaryDownReachesPast", &SIDE_BY_SIDE, Arm::Down, {1000, 500}, {1000, 510, 3, 1080}},
        ArmCase{"upperDownStopsAtTheLower", &STACKED, Arm::Down, {500, 500}, {500, 510, 3, 570}},
        ArmCase{"lowerUpStartsAtItsTop", &STACKED, Arm::Up, {500, 1500}, {500, 1080, 3, 410}},
        ArmCase{"lowerDownReachesPast", &STACKED, Arm::Down, {500, 1500}, {500, 1510, 3, 1080}},
        ArmCase{"rightBesideTheGapReachesPast", &TALL_SHORT, Arm::Right, {1000, 900}, {1010, 900, 1920, 3}},
        ArmCase{"shortDownReachesOverTheGap", &TALL_SHORT, Arm::Down, {2500, 300}, {2500, 310, 3, 720}},
        ArmCase{
            "negativeLeftStartsAtItsEdge", &LEFT_OF_PRIMARY, Arm::Left, {-500, 300}, {-1280, 300, 770, 3}},
        ArmCase{"negativeRightStopsAtThePrimary",
                &LEFT_OF_PRIMARY,
                Arm::Right,
                {-500, 300},
                {-490, 300, 490, 3}}),
    CaseName());

TEST(HelpBoxLayoutTest, FlipsInsideTheMonitorThatHoldsThePointer) {
    const struct {
        Rect monitor;
        Point pointer;
        Point want;
    } cases[] = {
        {{1920, 0, 1920, 1080}, {1950, 500}, {1970, 440}},  // its left edge: still to the right
        {{1920, 0, 1920, 1080}, {3800, 500}, {3740, 440}},  // its right edge: to the left
        {{0, 0, 1920, 1080}, {1900, 500}, {1840, 440}},     // the primary's right edge, with one beyond it
        {{-1280, 0, 1280, 1024}, {-1250, 30}, {-1230, 90}}, // top left corner left of the primary
        {{0, 1080, 1920, 1080}, {500, 1100}, {520, 1140}},  // the lower monitor's top edge
        {{0, 1080, 1920, 1080}, {500, 1140}, {520, 1080}},  // clear of it
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeHelpBox(c.pointer, c.monitor), c.want) << c.pointer.x << "," << c.pointer.y;
}

TEST_F(LogicTest, TickGlidesOntoTheLeftMonitorAndTheArmsFollowIt) {
    SettingsValues v = defaultSettings();
    v.moveStep = 4;
    useSettings(v);
    fake.monitors = LEFT_OF_PRIMARY;
    fake.cursor = {2, 300};
    switchState().moving = 1;
    switchState().pendingAction = 1;

    movementTick(fake);
    // The down arm's three columns touch the primary at x = 0: it ends at its own bottom.
    EXPECT_EQ(fake.log, (Lines{"sendAbsoluteMove 26181 18221", "moveArm left -1280 300 1268 3",
                               "moveArm right 8 300 -8 3", "moveArm up -2 0 3 290",
                               "moveArm down -2 310 3 714", "sleep 33"}));
    EXPECT_EQ(fake.cursor, (Point{-2, 300})) << "the system puts the pointer where it was sent";
}

// ---- The panel steps aside ---------------------------------------------------------

struct AsideCase {
    const char* name;
    Rect panel;
    Rect monitor;
    Point pointer;
    bool moves;
    Point want;
};
void PrintTo(const AsideCase& c, std::ostream* os) { *os << c.name; }

class StepAsideTest : public ::testing::TestWithParam<AsideCase> {};

TEST_P(StepAsideTest, GoesToTheOtherTopCornerOfItsMonitor) {
    const AsideCase& c = GetParam();
    Point to{-1, -1};
    EXPECT_EQ(panelStepAsideTo(c.panel, c.monitor, c.pointer, to), c.moves);
    if (c.moves) {
        EXPECT_EQ(to, c.want);
    }
}

const Rect SCREEN_1024{0, 0, 1024, 768};
INSTANTIATE_TEST_SUITE_P(
    Rows, StepAsideTest,
    ::testing::Values(
        AsideCase{"pointerElsewhereStays", {0, 0, 231, 120}, SCREEN_1024, {500, 400}, false, {}},
        AsideCase{"pointerOnItGoesRight", {0, 0, 231, 120}, SCREEN_1024, {100, 50}, true, {793, 0}},
        AsideCase{"itsLastPixelCounts", {0, 0, 231, 120}, SCREEN_1024, {230, 119}, true, {793, 0}},
        AsideCase{"justPastItStays", {0, 0, 231, 120}, SCREEN_1024, {231, 50}, false, {}},
        AsideCase{"onTheRightGoesBackLeft", {793, 0, 231, 120}, SCREEN_1024, {900, 50}, true, {0, 0}},
        AsideCase{
            "secondMonitorsCorner", {1920, 0, 231, 120}, {1920, 0, 1280, 720}, {2000, 10}, true, {2969, 0}},
        AsideCase{"negativeMonitorsCorner",
                  {-1280, 0, 231, 120},
                  {-1280, 0, 1280, 1024},
                  {-1200, 50},
                  true,
                  {-231, 0}},
        AsideCase{"tooNarrowToGetAway", {0, 0, 231, 120}, {0, 0, 400, 300}, {200, 50}, false, {}}),
    CaseName());

struct AsideOptionCase {
    const char* name;
    int option;
    Lines panelMoves;
};
void PrintTo(const AsideOptionCase& c, std::ostream* os) { *os << c.name; }

class StepAsideOptionTest : public LogicTest, public ::testing::WithParamInterface<AsideOptionCase> {};

// The glide onto the panel moves it before the arms; a later move onto it
// in its new corner sends it back.
TEST_P(StepAsideOptionTest, GlideOntoThePanelAndBack) {
    OptionValues o = defaultOptions();
    o.value[OPTION_PANEL_STEPS_ASIDE] = GetParam().option;
    useOptions(o);
    SettingsValues v = defaultSettings();
    v.moveStep = 2;
    useSettings(v);
    fake.cursor = {232, 50};
    switchState().moving = 1;
    switchState().pendingAction = 1;

    movementTick(fake);
    moveCrosshair(fake, {900, 60});
    EXPECT_EQ(fake.calls("movePanel"), GetParam().panelMoves);
    if (!GetParam().panelMoves.empty()) {
        EXPECT_EQ(fake.log.at(1), "movePanel 793 0") << "before the arms";
    }
}

INSTANTIATE_TEST_SUITE_P(Option, StepAsideOptionTest,
                         ::testing::Values(AsideOptionCase{"off", 0, {}},
                                           AsideOptionCase{"on", 1, {"movePanel 793 0", "movePanel 0 0"}}),
                         CaseName());

} // namespace
} // namespace sp
