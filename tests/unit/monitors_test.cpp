// Several monitors: the glide, the wrap, the arms and the help box over made-up
// layouts, and the panel stepping aside from the pointer.
#include "overlay/help_box.h"
#include "pointer/step_aside.h"
#include "test_state.h"

namespace sp {
namespace {

const MonitorLayout SIDE = {{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}};
const MonitorLayout STACKED = {{0, 0, 1920, 1080}, {0, 1080, 1920, 1080}};
// A shorter monitor on the right leaves a gap under it, x 1920..3199, y 720..1079.
const MonitorLayout GAP = {{0, 0, 1920, 1080}, {1920, 0, 1280, 720}};
const MonitorLayout NEGATIVE = {{0, 0, 1920, 1080}, {-1280, 0, 1280, 1024}};

TEST(MonitorLayoutTest, GlidesAcrossMonitorsAndWrapsAtTheVirtualScreen) {
    const struct {
        const char* name;
        const MonitorLayout& layout;
        int direction, step;
        Point from, want;
    } rows[] = {
        {"right crosses the edge", SIDE, 2, 4, {1918, 500}, {1922, 500}},
        {"left wraps to the far edge", SIDE, 1, 2, {1, 500}, {3840, 500}},
        {"up wraps to the lower's bottom", STACKED, 3, 2, {500, 1}, {500, 2159}},
        {"right into the gap goes up onto the short one", GAP, 2, 4, {1918, 900}, {1922, 719}},
        {"left wrap into the gap goes to the nearest corner", GAP, 1, 2, {0, 900}, {3199, 719}},
        {"up wrap into the gap stays in its column", GAP, 3, 2, {2500, 1}, {2500, 719}},
        {"down into the gap goes on to the monitor ahead", GAP, 4, 2, {2500, 719}, {1919, 721}},
        {"overshoot past the virtual edge is kept", GAP, 2, 4, {3198, 500}, {3202, 500}},
        {"left crosses onto the monitor at negative x", NEGATIVE, 1, 4, {2, 500}, {-2, 500}},
        {"left wraps from negative x to the far edge", NEGATIVE, 1, 2, {-1279, 500}, {1920, 500}},
        {"right wraps to the virtual left", NEGATIVE, 2, 2, {1919, 500}, {-1279, 500}},
        {"no extra pixel at the primary's left", NEGATIVE, 2, 2, {5, 500}, {7, 500}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(movementTarget(r.direction, r.from, r.step, r.layout), r.want) << r.name;

    EXPECT_EQ(normalisedFor({-1280, 0}, NEGATIVE), (Point{0, 0}));
    EXPECT_EQ(normalisedFor({1919, 2159}, STACKED), (Point{65535, 65535}));
}

TEST(MonitorLayoutTest, ArmsSpanTheMonitorThatHoldsThePointer) {
    const struct {
        const char* name;
        const MonitorLayout& layout;
        Arm arm;
        Point pointer;
        Rect want;
    } rows[] = {
        {"right on the second reaches past", SIDE, Arm::Right, {2500, 500}, {2510, 500, 1920, 3}},
        {"right on the primary stops at the second", SIDE, Arm::Right, {1000, 500}, {1010, 500, 910, 3}},
        {"down with nothing below reaches past", SIDE, Arm::Down, {1000, 500}, {1000, 510, 3, 1080}},
        {"down on the upper stops at the lower", STACKED, Arm::Down, {500, 500}, {500, 510, 3, 570}},
        {"up on the lower starts at its top", STACKED, Arm::Up, {500, 1500}, {500, 1080, 3, 410}},
        {"right beside the gap reaches past", GAP, Arm::Right, {1000, 900}, {1010, 900, 1920, 3}},
        {"left at negative x starts at its edge", NEGATIVE, Arm::Left, {-500, 300}, {-1280, 300, 770, 3}},
        {"right at negative x stops at the primary", NEGATIVE, Arm::Right, {-500, 300}, {-490, 300, 490, 3}},
    };
    for (const auto& r : rows) EXPECT_EQ(armRect(r.arm, r.pointer, r.layout), r.want) << r.name;
}

TEST(MonitorLayoutTest, HelpBoxFlipsInsideTheMonitorThatHoldsThePointer) {
    const struct {
        Rect monitor;
        Point pointer, want;
    } rows[] = {
        {{1920, 0, 1920, 1080}, {3800, 500}, {3740, 440}}, // its right edge: to the left
        {{1920, 0, 1920, 1080}, {1950, 30}, {1970, 90}},   // its top left corner
        {{0, 1080, 1920, 1080}, {500, 1100}, {520, 1140}}, // the lower monitor's top edge
        {{0, 1080, 1920, 1080}, {500, 1140}, {520, 1080}}, // clear of it
    };
    for (const auto& r : rows) EXPECT_EQ(placeHelpBox(r.pointer, r.monitor), r.want) << r.pointer.x;
}

TEST(StepAsideTest, GoesToTheOtherTopCornerOfItsMonitor) {
    const Rect screen{0, 0, 1024, 768};
    const struct {
        const char* name;
        Rect panel, monitor;
        Point pointer, want;
        bool moves;
    } rows[] = {
        {"pointer on it", {0, 0, 231, 120}, screen, {100, 50}, {793, 0}, true},
        {"just past it", {0, 0, 231, 120}, screen, {231, 50}, {}, false},
        {"back from the right", {793, 0, 231, 120}, screen, {900, 50}, {0, 0}, true},
        {"negative monitor", {-1280, 0, 231, 120}, {-1280, 0, 1280, 1024}, {-1200, 50}, {-231, 0}, true},
        {"too narrow to get away", {0, 0, 231, 120}, {0, 0, 400, 300}, {200, 50}, {}, false},
    };
    for (const auto& r : rows) {
        Point to{-1, -1};
        EXPECT_EQ(panelStepAsideTo(r.panel, r.monitor, r.pointer, to), r.moves) << r.name;
        EXPECT_EQ(to, (r.moves ? r.want : Point{-1, -1})) << r.name;
    }
}

// A tick glides onto the panel, which steps aside in the layout; a move onto
// it in its new corner sends it back. The pointer and the arms go by the
// layout too. With the option off the panel never moves.
TEST_F(LogicTest, PanelStepsAsideOnlyWithTheOption) {
    for (int option : {0, 1}) {
        resetAll();
        fake = FakePlatform();
        fake.monitors = NEGATIVE;
        OptionValues o = defaultOptions();
        o.value[OPTION_PANEL_STEPS_ASIDE] = option;
        useOptions(o);
        useDefaults();
        fake.cursor = {232, 50};
        setPressState(PressState::Moving);
        setPendingAction(1);

        movementTick(fake);
        EXPECT_EQ(fake.cursor, (Point{230, 50})) << "sent across the virtual screen";
        moveCrosshair(fake, {1800, 60});
        moveCrosshair(fake, {-500, 300});
        EXPECT_EQ(fake.calls("movePanel"), (option ? Lines{"movePanel 1689 0", "movePanel 0 0"} : Lines{}));
        EXPECT_EQ(fake.calls("moveArm left").back(), "moveArm left -1280 300 770 3");
    }
}

// An upward glide in column 25 comes onto the panel, which steps aside once;
// a reading of the pointer moved with the panel, just after, is an echo:
// no hand move, put back, glided on from where it was. Out of the rectangle
// it left, onto its new place, and a reading there that comes too late.
TEST_F(LogicTest, PanelStepsAsideOnceAndItsEchoIsNoMove) {
    OptionValues o = defaultOptions();
    o.value[OPTION_PANEL_STEPS_ASIDE] = 1;
    useOptions(o);
    useDefaults();
    setPressState(PressState::Moving);
    setPendingAction(ACTION_UP);
    enum Kind { Put, Read, Tick, Hook };
    const struct {
        const char* what;
        Kind kind;
        Point at;
        double laterMs;
        int panelLeft;
        Point pointer;
    } steps[] = {
        {"just below it", Put, {25, 122}, 40, 0, {25, 122}},
        {"onto it: aside", Put, {25, 118}, 40, 793, {25, 118}},
        {"its echo seen by the hook", Hook, {818, 118}, 4, 793, {818, 118}},
        {"an echo nothing mended: its timer puts it back", Read, {818, 118}, 6, 793, {25, 118}},
        {"on up, still in the place it left", Put, {25, 30}, 40, 793, {25, 30}},
        {"out of that place", Put, {300, 30}, 40, 793, {300, 30}},
        {"onto its new place: back", Put, {900, 50}, 40, 0, {900, 50}},
        {"the tick glides on from where it was", Tick, {107, 50}, 4, 0, {900, 48}},
        {"a hand there later is a move", Read, {107, 50}, 300, 793, {107, 50}},
        {"an echo too late is a move", Read, {900, 50}, 300, 0, {900, 50}},
    };
    for (const auto& s : steps) {
        fake.clockMs += s.laterMs;
        if (s.kind == Put) putPointerAt(fake, s.at);
        if (s.kind != Put) fake.cursor = s.at;
        if (s.kind == Hook) classifyMouseEvent(0, MSG_MOUSEMOVE, s.at, false, fake.clockMs);
        if (s.kind == Tick) startMovement(), movementTick(fake);
        if (s.kind == Read) panelEchoTick(fake), stepPanelAside(fake, pointerPlace(fake));
        EXPECT_EQ(fake.panel.left, s.panelLeft) << s.what;
        EXPECT_EQ(fake.cursor, s.pointer) << s.what;
    }
    EXPECT_EQ(switchState().farMoveCount, 0) << "the echo is no hand move";
}

} // namespace
} // namespace sp
