// The switch: what each hook event means, the press handler's states, and
// the two stops that hand over to the re-arm countdown.
#include <sstream>

#include "test_state.h"

namespace sp {
namespace {

const Lines REST_PAINTS = {"paintCell 0 00FF00 START",       "paintCell 1 FEFFFF ESQUERRA",
                           "paintCell 2 FEFFFF DRETA",       "paintCell 3 FEFFFF AMUNT",
                           "paintCell 4 FEFFFF AVALL",       "paintCell 5 FEFFFF CLIC_ESQUERRA",
                           "paintCell 6 FEFFFF DOBLE_CLIC",  "paintCell 7 FEFFFF CLIC_DRETA",
                           "paintCell 8 FEFFFF MIDDEL_CLIC", "paintCell 9 FEFFFF ARRASTRA"};

Lines concat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// ---- Press handler ------------------------------------------------------------

TEST_F(LogicTest, PressAtRestRebuildsTheCrosshairThenStartsTheScanTimer) {
    useDefaults();
    markCrosshairOpen();
    SettingsValues v = defaultSettings();
    v.scanPeriodMs = 750; // applied by the press itself, before the timer
    storeSettings(v);

    handleSwitchPress(fake);
    EXPECT_EQ(fake.log, (Lines{"closeArm left", "closeArm right", "closeArm up", "closeArm down", "sleep 5",
                               "startArm left", "startArm right", "startArm up", "startArm down", "sleep 20",
                               "setLineColour 0000FF", "sleep 100", "setTimer 11 750"}));
    EXPECT_EQ(switchState().scanning, 1);
}

TEST_F(LogicTest, DirectionPressMovesAndTheNextPressResumesAfterIt) {
    useDefaults();
    handleSwitchPress(fake);
    EXPECT_TRUE(fake.calls("closeArm").empty()) << "no crosshair was open";
    EXPECT_EQ(fake.calls("startArm").size(), 4u);
    EXPECT_EQ(highlights(4), (std::vector<int>{0, 1, 2, 3}));
    fake.clearLog();

    handleSwitchPress(fake); // on "UP"
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "paintCell 3 00FF00 AMUNT", "sleep 100", "sleep 10",
                               "sleep 100", "setTimer 99 40"}));
    EXPECT_EQ(switchState().scanning, 0);
    EXPECT_EQ(switchState().moving, 1);
    EXPECT_EQ(switchState().pendingAction, 3);
    fake.clearLog();

    handleSwitchPress(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "killTimer 99", "sleep 10", "setTimer 11 1500"}));
    EXPECT_EQ(switchState().scanning, 1);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(highlights(1), (std::vector<int>{4}));
}

TEST_F(LogicTest, PressOnStartStopStopsAndTheNextPressGoesOnWithLeft) {
    useDefaults();
    handleSwitchPress(fake);
    highlights(1); // cell 0
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().scanning, 0);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_FALSE(fake.timerRunning[TIMER_SCAN]);
    EXPECT_EQ(fake.caption, "Ready");
    markCrosshairOpen(); // the crosshair stayed up
    fake.clearLog();

    handleSwitchPress(fake);
    EXPECT_EQ(fake.calls("closeArm").size(), 4u);
    EXPECT_EQ(fake.calls("startArm").size(), 4u);
    EXPECT_EQ(switchState().scanning, 1);
    scanStep(fake);
    EXPECT_EQ(fake.caption, "LEFT");
}

TEST_F(LogicTest, ScanStartedAfterAStopBeginsAtCellZero) {
    useDefaults();
    handleSwitchPress(fake);
    highlights(3);
    stopAndReset(fake);
    EXPECT_EQ(scanState().scanPos, 1);
    handleSwitchPress(fake);
    EXPECT_EQ(highlights(2), (std::vector<int>{0, 1}));
}

TEST_F(LogicTest, PressOnAClickCellClicksWithTheHookInAndScansAgainFromTheStart) {
    SettingsValues v = defaultSettings();
    v.clickSound = 1;
    useSettings(v);
    installSwitchHook(fake);
    handleSwitchPress(fake);
    scanState().scanPos = 8; // right click
    scanStep(fake);
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "paintCell 7 00FF00 CLIC_DRETA", "sleep 100", "sleep 10",
                               "sleep 500", "sendButton 8", "sendButton 16", "playClickSound",
                               "setTimer 11 " + std::to_string(v.scanPeriodMs)}));
    EXPECT_EQ(switchState().pendingAction, 6);
    EXPECT_EQ(switchState().scanning, 1);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(switchState().mouseHookActive, 1);
    EXPECT_EQ(highlights(1), (std::vector<int>{0}));
}

// Presses of either switch while a click is being carried out: the hook
// keeps each from other programs and drops it, so the click goes once and
// nothing more is clicked until a step has lit a cell again.
struct DuringClickCase {
    const char* name;
    int device;
    unsigned down;
    unsigned up;
};

void PrintTo(const DuringClickCase& c, std::ostream* os) { *os << c.name; }

class PressDuringClickTest : public LogicTest, public ::testing::WithParamInterface<DuringClickCase> {};

TEST_P(PressDuringClickTest, IsKeptFromOthersAndDropped) {
    const DuringClickCase& c = GetParam();
    SettingsValues v = defaultSettings();
    v.switchDevice = c.device;
    v.clickSound = 1;
    useSettings(v);
    installSwitchHook(fake);
    const auto classify = [&](unsigned message, double at) {
        return c.device == 1 ? classifyMouseEvent(0, message, fake.cursor, false, at)
                             : classifyKeyEvent(0, message, 'A', at);
    };
    // The press that selects the cell, as the hook passes it on.
    ASSERT_EQ(classify(c.down, 0).event, SwitchEvent::Press);
    classify(c.up, 80);
    handleSwitchEvent(fake, SwitchEvent::Press, true); // the scan starts
    scanState().scanPos = 6;                           // left click
    scanStep(fake);
    ASSERT_EQ(classify(c.down, 2000).event, SwitchEvent::Press);
    classify(c.up, 2080);

    // Presses 0.15 to 0.55 s after it, while the click is under way.
    std::vector<HookDecision> during;
    double at = 2150;
    fake.onSleep = [&](int) {
        for (int i = 0; i < 2; ++i, at += 200) {
            during.push_back(classify(c.down, at));
            classify(c.up, at + 80);
        }
    };
    fake.clearLog();
    handleSwitchEvent(fake, SwitchEvent::Press, true);
    fake.onSleep = nullptr;

    ASSERT_FALSE(during.empty());
    for (const HookDecision& d : during) {
        EXPECT_EQ(d.result, HookResult::Discard) << "a press during the click reached another program";
        EXPECT_EQ(d.event, SwitchEvent::None) << "a press during the click was kept for later";
    }
    EXPECT_EQ(fake.calls("sendButton"), (Lines{"sendButton 2", "sendButton 4"})) << "one click";
    EXPECT_TRUE(fake.calls("removeHook").empty());

    // The first press after it, before any step, has nothing to click.
    ASSERT_EQ(classify(c.down, at + 500).event, SwitchEvent::Press);
    fake.clearLog();
    handleSwitchEvent(fake, SwitchEvent::Press, true);
    EXPECT_TRUE(fake.calls("sendButton").empty());
    EXPECT_EQ(switchState().scanning, 1);
}

INSTANTIATE_TEST_SUITE_P(Switches, PressDuringClickTest,
                         ::testing::Values(DuringClickCase{"keyboard", 0, MSG_KEYDOWN, MSG_KEYUP},
                                           DuringClickCase{"mouse", 1, MSG_LBUTTONDOWN, MSG_LBUTTONUP}),
                         CaseName());

TEST_F(LogicTest, PressesBeforeTheFirstStepOfAScanFindNothingToActOn) {
    useDefaults();
    handleSwitchPress(fake); // from rest: the scan starts, nothing lit yet
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_TRUE(fake.log.empty()) << "acted on a cell no step has lit: " << fake.log.front();
    EXPECT_EQ(switchState().scanning, 1);

    highlights(2); // STOP, LEFT
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().moving, 1);
    handleSwitchPress(fake); // the glide ends, scanning resumes
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_TRUE(fake.log.empty()) << "acted again on the direction just ended";
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(highlights(1), (std::vector<int>{2}));
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().moving, 1);
    EXPECT_EQ(switchState().pendingAction, ACTION_RIGHT);
}

// However the panel gets to a press the hook passed on, the switch is free
// for the next one afterwards; a stop's own message leaves the press alone.
struct InHandCase {
    const char* name;
    SwitchEvent message;
    bool current;
    SwitchEvent stopSeen;
    bool stopActs;
    int inHandAfter;
};

void PrintTo(const InHandCase& c, std::ostream* os) { *os << c.name; }

class PressInHandTest : public LogicTest, public ::testing::WithParamInterface<InHandCase> {};

TEST_P(PressInHandTest, EndsWithThePressMessage) {
    const InHandCase& c = GetParam();
    useDefaults();
    installSwitchHook(fake);
    switchState().pressInHand = 1;
    if (c.stopSeen != SwitchEvent::None) noteStopSeen(c.stopSeen);
    fake.clearLog();
    handleSwitchEvent(fake, c.message, c.current);
    EXPECT_EQ(switchState().pressInHand, c.inHandAfter);
    EXPECT_EQ(fake.calls("setTimer 14").size(), c.stopActs ? 1u : 0u)
        << "the countdown starts only on a stop";
}

INSTANTIATE_TEST_SUITE_P(
    Messages, PressInHandTest,
    ::testing::Values(
        InHandCase{"pressActedOn", SwitchEvent::Press, true, SwitchEvent::None, false, 0},
        InHandCase{"pressFromAHookSinceTakenOut", SwitchEvent::Press, false, SwitchEvent::None, false, 0},
        InHandCase{"pressOvertakenByEscape", SwitchEvent::Press, true, SwitchEvent::Escape, true, 0},
        InHandCase{"pressOvertakenByAFarMoveStop", SwitchEvent::Press, false, SwitchEvent::FarMoveStop, true,
                   0},
        InHandCase{"escapeWithAPressStillQueued", SwitchEvent::Escape, true, SwitchEvent::Escape, true, 1},
        InHandCase{"staleEscapeWithAPressStillQueued", SwitchEvent::Escape, false, SwitchEvent::None, false,
                   1}),
    CaseName());

// ---- Hooks in and out ---------------------------------------------------------

TEST_F(LogicTest, SwitchDeviceChoosesTheHookAndTheFlagFollowsTheInstall) {
    SettingsValues v = defaultSettings();
    installSwitchHook(fake); // device 0 at process start: keyboard
    v.switchDevice = 2;
    storeSettings(v);
    installSwitchHook(fake);
    v.switchDevice = 1;
    storeSettings(v);
    installSwitchHook(fake);
    EXPECT_EQ(fake.log, (Lines{"installHook keyboard", "installHook keyboard", "installHook mouse"}));
    EXPECT_EQ(switchState().keyboardHookActive, 1);
    EXPECT_EQ(switchState().mouseHookActive, 1);

    resetSwitchState();
    fake.hookInstallFails = true;
    installSwitchHook(fake);
    EXPECT_EQ(switchState().mouseHookActive, 0);
}

TEST_F(LogicTest, RemovingTheSwitchHookTakesOutBothKinds) {
    storeSettings(defaultSettings()); // mouse
    fake.installHook(HookKind::Keyboard);
    switchState().keyboardHookActive = 1;
    switchState().mouseHookActive = 1;
    removeSwitchHook(fake);
    EXPECT_FALSE(fake.hookIn[static_cast<int>(HookKind::Keyboard)]);
    EXPECT_EQ(switchState().keyboardHookActive, 0);
    EXPECT_EQ(switchState().mouseHookActive, 0);
}

// ---- Classification -----------------------------------------------------------

struct KeyCase {
    const char* name;
    int code;
    unsigned message;
    unsigned vk;
    HookResult result;
    SwitchEvent event;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyHookTest : public LogicTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyHookTest, Classifies) {
    const KeyCase& c = GetParam();
    const HookDecision d = classifyKeyEvent(c.code, c.message, c.vk, 0.0);
    EXPECT_EQ(d.result, c.result);
    EXPECT_EQ(d.event, c.event);
}

INSTANTIATE_TEST_SUITE_P(
    Events, KeyHookTest,
    ::testing::Values(KeyCase{"negativeCodePassesOn", -1, 0x0100, 'A', HookResult::PassOn, SwitchEvent::None},
                      KeyCase{"negativeCodeEscapePassesOn", -1, 0x0100, 0x1B, HookResult::PassOn,
                              SwitchEvent::None},
                      KeyCase{"keyDownIsPress", 0, 0x0100, 'A', HookResult::Discard, SwitchEvent::Press},
                      KeyCase{"sysKeyDownIsPress", 0, 0x0104, 'A', HookResult::Discard, SwitchEvent::Press},
                      KeyCase{"keyUpDiscarded", 0, 0x0101, 'A', HookResult::Discard, SwitchEvent::None},
                      KeyCase{"sysKeyUpDiscarded", 0, 0x0105, 'A', HookResult::Discard, SwitchEvent::None},
                      KeyCase{"escapeUpDiscarded", 0, 0x0101, 0x1B, HookResult::Discard, SwitchEvent::None},
                      KeyCase{"escapeDown", 0, 0x0100, 0x1B, HookResult::Discard, SwitchEvent::Escape},
                      KeyCase{"escapeWithAlt", 0, 0x0104, 0x1B, HookResult::Discard, SwitchEvent::Escape}),
    CaseName());

struct MouseCase {
    const char* name;
    int code;
    unsigned message;
    HookResult result;
    SwitchEvent event;
};

void PrintTo(const MouseCase& c, std::ostream* os) { *os << c.name; }

class MouseHookTest : public LogicTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseHookTest, Classifies) {
    const MouseCase& c = GetParam();
    switchState().lastMoveX = 512;
    switchState().lastMoveY = 384;
    const HookDecision d = classifyMouseEvent(c.code, c.message, {512, 384}, false, 0.0);
    EXPECT_EQ(d.result, c.result);
    EXPECT_EQ(d.event, c.event);
}

INSTANTIATE_TEST_SUITE_P(
    Events, MouseHookTest,
    ::testing::Values(MouseCase{"negativeCodePassesOn", -1, 0x0201, HookResult::PassOn, SwitchEvent::None},
                      MouseCase{"leftDown", 0, 0x0201, HookResult::Discard, SwitchEvent::Press},
                      MouseCase{"rightDown", 0, 0x0204, HookResult::Discard, SwitchEvent::Press},
                      MouseCase{"middleDown", 0, 0x0207, HookResult::Discard, SwitchEvent::Press},
                      MouseCase{"leftDoubleClick", 0, 0x0203, HookResult::Discard, SwitchEvent::Press},
                      MouseCase{"leftUp", 0, 0x0202, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"rightUp", 0, 0x0205, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"middleUp", 0, 0x0208, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"rightDoubleClick", 0, 0x0206, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"wheel", 0, 0x020A, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"extraButton", 0, 0x020B, HookResult::Discard, SwitchEvent::None},
                      MouseCase{"move", 0, 0x0200, HookResult::PassOn, SwitchEvent::Move}),
    CaseName());

TEST_F(LogicTest, MovesWithinTwentyPixelsOfTheLastTargetAreNear) {
    switchState().lastMoveX = 500;
    switchState().lastMoveY = 300;
    for (Point p : {Point{520, 320}, Point{480, 280}, Point{500, 300}}) {
        EXPECT_EQ(classifyMouseEvent(0, 0x0200, p, false, 0.0).event, SwitchEvent::Move);
        EXPECT_EQ(switchState().farMoveCount, 0) << p.x << "," << p.y;
    }
    int far = 0;
    for (Point p : {Point{521, 300}, Point{479, 300}, Point{500, 321}, Point{500, 279}}) {
        EXPECT_EQ(classifyMouseEvent(0, 0x0200, p, false, 0.0).result, HookResult::PassOn);
        EXPECT_EQ(switchState().farMoveCount, ++far) << p.x << "," << p.y;
    }
}

TEST_F(LogicTest, FarMovesStopOnTheEleventhThenEveryTenth) {
    std::vector<int> stops;
    for (int move = 1; move <= 31; ++move) {
        if (move % 3 == 0) classifyMouseEvent(0, 0x0200, {5, 5}, false, 0.0); // near (0, 0): counts nothing
        const HookDecision d = classifyMouseEvent(0, 0x0200, {400, 400}, false, 0.0);
        EXPECT_EQ(d.result, HookResult::PassOn);
        if (d.event == SwitchEvent::FarMoveStop) stops.push_back(move);
    }
    EXPECT_EQ(stops, (std::vector<int>{11, 21, 31}));
}

// The program's own input carries its mark; the hand's does not. Around a
// last movement target of (500, 300).
struct OwnInputCase {
    const char* name;
    bool own;
    bool gliding;
    unsigned message;
    Point pointer;
    int farBefore;
    HookResult result;
    SwitchEvent event;
    int farAfter;
};

void PrintTo(const OwnInputCase& c, std::ostream* os) { *os << c.name; }

class OwnInputTest : public LogicTest, public ::testing::WithParamInterface<OwnInputCase> {};

TEST_P(OwnInputTest, Classifies) {
    const OwnInputCase& c = GetParam();
    switchState().lastMoveX = 500;
    switchState().lastMoveY = 300;
    switchState().moving = c.gliding ? 1 : 0;
    switchState().farMoveCount = c.farBefore;
    const HookDecision d = classifyMouseEvent(0, c.message, c.pointer, c.own, 0.0);
    EXPECT_EQ(d.result, c.result);
    EXPECT_EQ(d.event, c.event);
    EXPECT_EQ(switchState().farMoveCount, c.farAfter);
}

constexpr Point NEAR_TARGET{503, 300};
constexpr Point FAR_FROM_TARGET{1, 300}; // where a glide to the right wraps to
constexpr auto PASS = HookResult::PassOn;
constexpr auto DISCARD = HookResult::Discard;

INSTANTIATE_TEST_SUITE_P(
    Events, OwnInputTest,
    ::testing::Values(OwnInputCase{"ownMoveNearWhileGliding", true, true, MSG_MOUSEMOVE, NEAR_TARGET, 0, PASS,
                                   SwitchEvent::Move, 0},
                      OwnInputCase{"ownWrapWhileGlidingNeverCounts", true, true, MSG_MOUSEMOVE,
                                   FAR_FROM_TARGET, 10, PASS, SwitchEvent::Move, 10},
                      OwnInputCase{"ownFarMoveAtRest", true, false, MSG_MOUSEMOVE, FAR_FROM_TARGET, 3, PASS,
                                   SwitchEvent::Move, 3},
                      OwnInputCase{"handMoveNearWhileGlidingCounts", false, true, MSG_MOUSEMOVE, NEAR_TARGET,
                                   0, PASS, SwitchEvent::Move, 1},
                      OwnInputCase{"handMoveNearWhileGlidingStops", false, true, MSG_MOUSEMOVE, NEAR_TARGET,
                                   10, PASS, SwitchEvent::FarMoveStop, 1},
                      OwnInputCase{"handMoveFarWhileGliding", false, true, MSG_MOUSEMOVE, FAR_FROM_TARGET, 4,
                                   PASS, SwitchEvent::Move, 5},
                      OwnInputCase{"handMoveNearAtRest", false, false, MSG_MOUSEMOVE, NEAR_TARGET, 10, PASS,
                                   SwitchEvent::Move, 10},
                      OwnInputCase{"handMoveFarAtRestStops", false, false, MSG_MOUSEMOVE, FAR_FROM_TARGET, 10,
                                   PASS, SwitchEvent::FarMoveStop, 1},
                      OwnInputCase{"ownLeftDownPassesOn", true, false, MSG_LBUTTONDOWN, NEAR_TARGET, 0, PASS,
                                   SwitchEvent::None, 0},
                      OwnInputCase{"ownLeftUpPassesOn", true, false, 0x0202, NEAR_TARGET, 0, PASS,
                                   SwitchEvent::None, 0},
                      OwnInputCase{"ownRightDownWhileGliding", true, true, MSG_RBUTTONDOWN, NEAR_TARGET, 0,
                                   PASS, SwitchEvent::None, 0},
                      OwnInputCase{"ownMiddleDownPassesOn", true, false, MSG_MBUTTONDOWN, NEAR_TARGET, 0,
                                   PASS, SwitchEvent::None, 0},
                      OwnInputCase{"handLeftDownIsPress", false, false, MSG_LBUTTONDOWN, NEAR_TARGET, 0,
                                   DISCARD, SwitchEvent::Press, 0},
                      OwnInputCase{"handRightDownWhileGlidingIsPress", false, true, MSG_RBUTTONDOWN,
                                   FAR_FROM_TARGET, 0, DISCARD, SwitchEvent::Press, 0},
                      OwnInputCase{"handLeftUpDiscarded", false, true, 0x0202, NEAR_TARGET, 0, DISCARD,
                                   SwitchEvent::None, 0}),
    CaseName());

// Press patterns through the hook, one token per event: "<ms><op>" with op
// d/u key A down/up, b key B down, e Escape down, s Alt+A (system key) down,
// L/l left button down/up, R right button down, M/m middle button down/up;
// "!" is the main thread done with the press in hand, "f" the hook going
// in afresh. The outcome has one letter per event: P a press, E Escape, -
// nothing.
struct PressPattern {
    const char* name;
    const char* events;
    const char* outcome;
};

void PrintTo(const PressPattern& c, std::ostream* os) { *os << c.name; }

class PressPatternTest : public LogicTest, public ::testing::WithParamInterface<PressPattern> {};

TEST_P(PressPatternTest, CountsEachPressOnce) {
    std::istringstream in(GetParam().events);
    std::string token;
    std::string outcome;
    while (in >> token) {
        if (token == "!") {
            endPressInHand();
            continue;
        }
        if (token == "f") {
            forgetSwitchContacts();
            continue;
        }
        const double at = std::stod(token);
        HookDecision d{HookResult::PassOn, SwitchEvent::None};
        switch (token.back()) {
        case 'd': d = classifyKeyEvent(0, MSG_KEYDOWN, 'A', at); break;
        case 'u': d = classifyKeyEvent(0, MSG_KEYUP, 'A', at); break;
        case 'b': d = classifyKeyEvent(0, MSG_KEYDOWN, 'B', at); break;
        case 'e': d = classifyKeyEvent(0, MSG_KEYDOWN, VKEY_ESCAPE, at); break;
        case 's': d = classifyKeyEvent(0, MSG_SYSKEYDOWN, 'A', at); break;
        case 'L': d = classifyMouseEvent(0, MSG_LBUTTONDOWN, {0, 0}, false, at); break;
        case 'l': d = classifyMouseEvent(0, MSG_LBUTTONUP, {0, 0}, false, at); break;
        case 'R': d = classifyMouseEvent(0, MSG_RBUTTONDOWN, {0, 0}, false, at); break;
        case 'M': d = classifyMouseEvent(0, MSG_MBUTTONDOWN, {0, 0}, false, at); break;
        case 'm': d = classifyMouseEvent(0, MSG_MBUTTONUP, {0, 0}, false, at); break;
        default: ADD_FAILURE() << "unknown event " << token;
        }
        EXPECT_EQ(d.result, HookResult::Discard) << token << ": every switch event is kept from others";
        outcome += d.event == SwitchEvent::Press ? 'P' : d.event == SwitchEvent::Escape ? 'E' : '-';
    }
    EXPECT_EQ(outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PressPatternTest,
    ::testing::Values(PressPattern{"cleanPressesOneAfterAnother", "0d ! 120u 400d ! 520u", "P-P-"},
                      PressPattern{"bounceOfOneMillisecond", "0d 1u 2d ! 120u", "P---"},
                      PressPattern{"bounceOfFifteenMilliseconds", "0d ! 2u 15d 120u", "P---"},
                      PressPattern{"chatterOnRelease", "0d ! 150u 152d 153u 156d 158u", "P-----"},
                      PressPattern{"closureJustInsideTheBounceTime", "0d ! 5u 34d", "P--"},
                      PressPattern{"closureJustPastTheBounceTime", "0d ! 5u 35d", "P-P"},
                      PressPattern{"heldKeyRepeatsAreNoPresses", "0d ! 500d 533d 566d 1000u 1200d", "P----P"},
                      PressPattern{"systemKeyRepeatsToo", "0s ! 500s 533s 700u", "P---"},
                      PressPattern{"pressWhileOneIsInHandIsDropped", "0d 100u 300d 400u ! 600d", "P---P"},
                      PressPattern{"burstWithinAMillisecondCountsOnce",
                                   "0d 0.02u 0.04d 0.06u 0.08d 0.1u 0.12d 0.14u 0.16d 0.2u ! 500d",
                                   "P---------P"},
                      PressPattern{"escapeIsNeverDropped", "0d 100u 150e 183e 216e", "P-EEE"},
                      PressPattern{"escapeIsNoChangeOfTheSwitch", "0d ! 100u 140e 145d", "P-EP"},
                      PressPattern{"anotherKeyWhileOneIsHeld", "0d ! 100b", "PP"},
                      PressPattern{"keyHeldAcrossANewHookCountsOnceMore", "0d ! f 500d 533d", "PP-"},
                      PressPattern{"mouseButtonBounce", "0L 2l 4L ! 100l", "P---"},
                      PressPattern{"mouseDownWithItsUpLost", "0L ! 200L 300l 500L", "P--P"},
                      PressPattern{"otherButtonWhileOneIsHeld", "0L ! 100R", "PP"},
                      PressPattern{"middleButtonBounceOnRelease", "0M ! 150m 160M 161m", "P---"}),
    CaseName());

// ---- Stops --------------------------------------------------------------------

TEST_F(LogicTest, EscapeRemovesTheHookStopsEverythingAndStartsTheCountdown) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    useSettings(v);
    installSwitchHook(fake);
    fake.swapped = true;
    switchState().moving = 1;
    switchState().pendingAction = 2;
    scanState().scanPos = 4;
    rearmState().rearmCount = 3;
    fake.clearLog();

    handleEscape(fake);
    EXPECT_EQ(fake.log, concat({{"removeHook mouse", "removeHook keyboard", "sleep 10", "killTimer 11",
                                 "killTimer 99", "sleep 10", "killTimer 11", "killTimer 99", "sendButton 16",
                                 "killTimer 11", "killTimer 14", "closeArm left", "closeArm right",
                                 "closeArm up", "closeArm down", "setCaption Ready", "setClassIcon START"},
                                REST_PAINTS,
                                {"setTimer 14 1000"}}));
    EXPECT_EQ(switchState().keyboardHookActive, 0);
    EXPECT_EQ(switchState().moving, 0);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(scanState().scanPos, 1);
    EXPECT_EQ(rearmState().rearmCount, 0);
}

TEST_F(LogicTest, FarMoveStopIsEscapeWithoutTheTimerKills) {
    useDefaults();
    installSwitchHook(fake);
    switchState().scanning = 1;
    fake.clearLog();

    handleFarMoveStop(fake);
    EXPECT_EQ(fake.log, concat({{"removeHook mouse", "removeHook keyboard", "sleep 10", "sendButton 4",
                                 "killTimer 11", "killTimer 14", "closeArm left", "closeArm right",
                                 "closeArm up", "closeArm down", "setCaption Ready", "setClassIcon START"},
                                REST_PAINTS,
                                {"setTimer 14 1000"}}));
    EXPECT_EQ(switchState().mouseHookActive, 0);
    EXPECT_EQ(switchState().scanning, 0);
}

} // namespace
} // namespace sp
