// The switch: what each hook event means, the press handler's states, and
// the two stops that hand over to the re-arm countdown.
#include <algorithm>
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
    EXPECT_EQ(pressState(), PressState::Scanning);
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
    EXPECT_EQ(pressState(), PressState::Moving);
    EXPECT_EQ(switchState().pendingAction, 3);
    fake.clearLog();

    handleSwitchPress(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "killTimer 99", "sleep 10", "setTimer 11 1500"}));
    EXPECT_EQ(pressState(), PressState::Scanning);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(highlights(1), (std::vector<int>{4}));
}

TEST_F(LogicTest, PressOnStartStopStopsAndTheNextPressGoesOnWithLeft) {
    useDefaults();
    handleSwitchPress(fake);
    highlights(1);                                     // cell 0
    handleSwitchEvent(fake, SwitchEvent::Press, true); // "Ready" once the press is over
    EXPECT_EQ(pressState(), PressState::Idle);
    EXPECT_FALSE(fake.timerRunning[TIMER_SCAN]);
    EXPECT_EQ(fake.caption, "Ready");
    markCrosshairOpen(); // the crosshair stayed up
    fake.clearLog();

    handleSwitchPress(fake);
    EXPECT_EQ(fake.calls("closeArm").size(), 4u);
    EXPECT_EQ(fake.calls("startArm").size(), 4u);
    EXPECT_EQ(pressState(), PressState::Scanning);
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
    scanStateForTests().scanPos = 8; // right click
    scanStep(fake);
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_EQ(fake.log, (Lines{"killTimer 11", "paintCell 7 00FF00 CLIC_DRETA", "sleep 100", "sleep 10",
                               "sleep 500", "sendButton 8", "sendButton 16", "playClickSound",
                               "setTimer 11 " + std::to_string(v.scanPeriodMs)}));
    EXPECT_EQ(switchState().pendingAction, 6);
    EXPECT_EQ(pressState(), PressState::Scanning);
    EXPECT_EQ(switchState().mouseHookActive, 1);
    EXPECT_EQ(highlights(1), (std::vector<int>{0}));
}

// Presses of either switch while a click is under way are kept from other
// programs and dropped; the first one after it, before a step, clicks nothing.
class PressDuringClickTest : public LogicTest, public ::testing::WithParamInterface<int> {};

TEST_P(PressDuringClickTest, IsKeptFromOthersAndDropped) {
    const bool mouse = GetParam() == 1;
    SettingsValues v = defaultSettings();
    v.switchDevice = GetParam();
    useSettings(v);
    installSwitchHook(fake);
    double at = 0;
    const auto press = [&] {
        const HookDecision d = mouse ? classifyMouseEvent(0, MSG_LBUTTONDOWN, {0, 0}, false, at)
                                     : classifyKeyEvent(0, MSG_KEYDOWN, 'A', at);
        mouse ? classifyMouseEvent(0, MSG_LBUTTONUP, {0, 0}, false, at + 80)
              : classifyKeyEvent(0, MSG_KEYUP, 'A', at + 80);
        at += 200;
        return d;
    };
    handleSwitchPress(fake);
    scanStateForTests().scanPos = 6; // left click
    scanStep(fake);
    ASSERT_EQ(press().event, SwitchEvent::Press);
    std::vector<HookDecision> during;
    fake.onSleep = [&](int) { during.push_back(press()); };
    fake.clearLog();
    handleSwitchEvent(fake, SwitchEvent::Press, true);
    fake.onSleep = nullptr;
    EXPECT_EQ(during.size(), 3u) << "one press in each wait of the selection and the click";
    for (const HookDecision& d : during) {
        EXPECT_EQ(d.result, HookResult::Discard) << "a press during the click reached another program";
        EXPECT_EQ(d.event, SwitchEvent::None) << "a press during the click was kept for later";
    }
    EXPECT_EQ(fake.calls("sendButton"), (Lines{"sendButton 2", "sendButton 4"})) << "one click";
    EXPECT_TRUE(fake.calls("removeHook").empty());
    ASSERT_EQ(press().event, SwitchEvent::Press);
    fake.clearLog();
    handleSwitchEvent(fake, SwitchEvent::Press, true);
    EXPECT_TRUE(fake.log.empty()) << "clicked again with nothing highlighted";
}

INSTANTIATE_TEST_SUITE_P(Switches, PressDuringClickTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return i.param ? "mouse" : "keyboard";
                         });

TEST_F(LogicTest, APressAfterAGlideEndsFindsNothingToActOnUntilAStep) {
    useDefaults();
    handleSwitchPress(fake);
    highlights(2); // STOP, LEFT
    handleSwitchPress(fake);
    handleSwitchPress(fake); // the glide ends, scanning resumes
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_TRUE(fake.log.empty()) << "acted again on the direction just ended";
    EXPECT_EQ(highlights(1), (std::vector<int>{2}));
    handleSwitchPress(fake);
    EXPECT_EQ(switchState().pendingAction, ACTION_RIGHT);
}

// The press in hand ends with its own message, however the panel takes it;
// a stop's own message leaves a press still queued in hand.
TEST_F(LogicTest, ThePressInHandEndsWithItsMessage) {
    const struct {
        SwitchEvent message;
        bool current;
        SwitchEvent stopSeen;
        int inHandAfter;
    } rows[] = {{SwitchEvent::Press, true, SwitchEvent::None, 0},
                {SwitchEvent::Press, false, SwitchEvent::None, 0},
                {SwitchEvent::Press, true, SwitchEvent::Escape, 0},
                {SwitchEvent::Escape, true, SwitchEvent::Escape, 1},
                {SwitchEvent::Escape, false, SwitchEvent::None, 1}};
    useDefaults();
    for (const auto& r : rows) {
        switchStateForTests().pressInHand = 1;
        noteStopSeen(r.stopSeen);
        handleSwitchEvent(fake, r.message, r.current);
        EXPECT_EQ(switchState().pressInHand, r.inHandAfter) << static_cast<int>(r.message) << r.current;
    }
}

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
    switchStateForTests().keyboardHookActive = 1;
    switchStateForTests().mouseHookActive = 1;
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
    noteMoveTarget({512, 384});
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
    noteMoveTarget({500, 300});
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

// Mouse events around a last movement target of (500, 300), the program's
// own (marked) or the hand's, while it glides or not: x 503 is near, 1 far.
struct OwnInputCase {
    const char* name;
    bool own, gliding;
    unsigned message;
    int x, farBefore;
    SwitchEvent event;
    int farAfter;
};

void PrintTo(const OwnInputCase& c, std::ostream* os) { *os << c.name; }

class OwnInputTest : public LogicTest, public ::testing::WithParamInterface<OwnInputCase> {};

TEST_P(OwnInputTest, Classifies) {
    const OwnInputCase& c = GetParam();
    noteMoveTarget({500, 300});
    setPressState(c.gliding ? PressState::Moving : PressState::Idle);
    switchStateForTests().farMoveCount = c.farBefore;
    const HookDecision d = classifyMouseEvent(0, c.message, {c.x, 300}, c.own, 0.0);
    EXPECT_EQ(d.result, c.own || c.message == MSG_MOUSEMOVE ? HookResult::PassOn : HookResult::Discard);
    EXPECT_EQ(d.event, c.event);
    EXPECT_EQ(switchState().farMoveCount, c.farAfter);
}

constexpr auto MOVE = MSG_MOUSEMOVE;
INSTANTIATE_TEST_SUITE_P(
    Events, OwnInputTest,
    ::testing::Values(
        OwnInputCase{"ownStepWhileGliding", true, true, MOVE, 503, 0, SwitchEvent::Move, 0},
        OwnInputCase{"ownWrapNeverCounts", true, true, MOVE, 1, 10, SwitchEvent::Move, 10},
        OwnInputCase{"ownFarMoveAtRest", true, false, MOVE, 1, 3, SwitchEvent::Move, 3},
        OwnInputCase{"handNearWhileGlidingCounts", false, true, MOVE, 503, 0, SwitchEvent::Move, 1},
        OwnInputCase{"handNearWhileGlidingStops", false, true, MOVE, 503, 10, SwitchEvent::FarMoveStop, 1},
        OwnInputCase{"handNearAtRest", false, false, MOVE, 503, 10, SwitchEvent::Move, 10},
        OwnInputCase{"handFarAtRestStops", false, false, MOVE, 1, 10, SwitchEvent::FarMoveStop, 1},
        OwnInputCase{"ownLeftDownPassesOn", true, false, MSG_LBUTTONDOWN, 503, 0, SwitchEvent::None, 0},
        OwnInputCase{"ownRightUpPassesOn", true, true, MSG_RBUTTONUP, 503, 0, SwitchEvent::None, 0},
        OwnInputCase{"handLeftDownIsPress", false, true, MSG_LBUTTONDOWN, 1, 0, SwitchEvent::Press, 0}),
    CaseName());

// Press patterns through the hook, one "<ms><op>" per event: d/u key A
// down/up, b key B down, e Escape, s Alt+A, L/l R M/m mouse buttons down/up;
// "!" the main thread done with the press in hand, "f" the hook in afresh,
// "t" the hold timer firing, "x" the main thread taking the hooks out. One outcome letter per event: P a
// press, E Escape, H a hold begun, - nothing.
struct PressPattern {
    const char* name;
    const char* events;
    const char* outcome;
    int holdMs = 0;
    int ignoreRepeatMs = 0;
};

void PrintTo(const PressPattern& c, std::ostream* os) { *os << c.name; }

class PressPatternTest : public LogicTest, public ::testing::WithParamInterface<PressPattern> {};

TEST_P(PressPatternTest, CountsEachPressOnce) {
    const struct {
        char op;
        bool mouse;
        unsigned message, vk;
    } ops[] = {{'d', false, MSG_KEYDOWN, 'A'},    {'u', false, MSG_KEYUP, 'A'},
               {'b', false, MSG_KEYDOWN, 'B'},    {'e', false, MSG_KEYDOWN, 0x1B},
               {'s', false, MSG_SYSKEYDOWN, 'A'}, {'L', true, MSG_LBUTTONDOWN, 0},
               {'l', true, MSG_LBUTTONUP, 0},     {'R', true, MSG_RBUTTONDOWN, 0},
               {'M', true, MSG_MBUTTONDOWN, 0},   {'m', true, MSG_MBUTTONUP, 0}};
    OptionValues options = defaultOptions();
    options.value[OPTION_HOLD_MS] = GetParam().holdMs;
    options.value[OPTION_IGNORE_REPEAT_MS] = GetParam().ignoreRepeatMs;
    useOptions(options);
    std::istringstream in(GetParam().events);
    std::string token, outcome;
    while (in >> token) {
        if (token == "!" || token == "f") {
            token == "!" ? endPressInHand() : forgetSwitchContacts();
            continue;
        }
        if (token == "t") {
            outcome += takeHeldPress() ? 'P' : '-';
            continue;
        }
        if (token == "x") {
            removeAllSwitchHooks(fake);
            continue;
        }
        const double at = std::stod(token);
        if (token.back() == 'r') {
            setPressState(PressState::Scanning); // the main thread stops on STOP; B goes down at "Ready"
            fake.onCaption = [&](auto&) {
                outcome += "-P"[classifyKeyEvent(0, MSG_KEYDOWN, 'B', at).event == SwitchEvent::Press];
            };
            handleSwitchEvent(fake, SwitchEvent::Press, true);
            continue;
        }
        const auto* op =
            std::find_if(std::begin(ops), std::end(ops), [&](const auto& o) { return o.op == token.back(); });
        ASSERT_NE(op, std::end(ops)) << token;
        const HookDecision d = op->mouse ? classifyMouseEvent(0, op->message, {0, 0}, false, at)
                                         : classifyKeyEvent(0, op->message, op->vk, at);
        EXPECT_EQ(d.result, HookResult::Discard) << token << ": every switch event is kept from others";
        const char* letters = "-PE--H";
        outcome += letters[static_cast<int>(d.event)];
    }
    EXPECT_EQ(outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PressPatternTest,
    ::testing::Values(
        PressPattern{"cleanPressesOneAfterAnother", "0d ! 120u 400d ! 520u", "P-P-"},
        PressPattern{"bounceOfOneMillisecond", "0d 1u 2d ! 120u", "P---"},
        PressPattern{"chatterOnRelease", "0d ! 150u 152d 153u 156d", "P----"},
        PressPattern{"closureJustInsideTheBounceTime", "0d ! 5u 34d", "P--"},
        PressPattern{"closureJustPastTheBounceTime", "0d ! 5u 35d", "P-P"},
        PressPattern{"heldKeyRepeatsAreNoPresses", "0d ! 500d 533d 1000u 1200d", "P---P"},
        PressPattern{"systemKeyRepeatsToo", "0s ! 500s 700u", "P--"},
        PressPattern{"pressWhileOneIsInHandIsDropped", "0d 100u 300d 400u ! 600d", "P---P"},
        PressPattern{"pressAsReadyShowsIsTaken", "0d 100u 1000r 1300d 1350u ! 1500d", "P-P--P"},
        PressPattern{"burstWithinAMillisecondCountsOnce", "0d 0.02u 0.04d 0.06u 0.08d 0.1u ! 500d",
                     "P-----P"},
        PressPattern{"escapeIsNeverDroppedNorABounce", "0d 100u 150e 183e ! 185d", "P-EEP"},
        PressPattern{"anotherKeyWhileOneIsHeld", "0d ! 100b", "PP"},
        PressPattern{"keyHeldAcrossANewHookCountsOnceMore", "0d ! f 500d 533d", "PP-"},
        PressPattern{"mouseButtonBounce", "0L 2l 4L ! 100l", "P---"},
        PressPattern{"mouseDownWithItsUpLost", "0L ! 200L 300l 500L", "P--P"},
        PressPattern{"otherButtonWhileOneIsHeld", "0L ! 100R", "PP"},
        PressPattern{"middleButtonBounceOnRelease", "0M ! 150m 160M 161m", "P---"},
        // hold_ms 100, then ignore_repeat_ms 300, then both.
        PressPattern{"tapsShorterThanTheHoldAreNoPresses", "0d 10u t 200d 299u t", "H--H--", 100},
        PressPattern{"holdTakenByTheTimerOnce", "0d t ! 33d 66d t 500u t", "HP-----", 100},
        PressPattern{"releaseAfterTheHoldBeatsALateTimer", "0d 120u ! t", "HP-", 100},
        PressPattern{"bounceDoesNotCutAHoldShort", "0d 1u 2d 150u ! 300d 301u 302d 330u", "H-HPH-H-", 100},
        PressPattern{"secondKeyDuringAHoldIsNone", "0d 50b 60u t 150u", "H----", 100},
        PressPattern{"disarmedDuringAHold", "0d 20e x t 200u", "HE--", 100},
        PressPattern{"repeatsWithinTheTimeAreDropped", "0d ! 40u 200d 240u 299d 340u 600d", "P-----P", 0,
                     300},
        PressPattern{"downUpPairsTenTimesASecond", "0d ! 50u 100d 150u 200d 250u 300d ! 350u 400d 450u",
                     "P-----P---", 0, 300},
        PressPattern{"escapeIsNeverARepeat", "0d ! 50u 60e 70e", "P-EE", 0, 300},
        PressPattern{"repeatsCountFromTheHeldPressTaken", "0d t ! 150u 300d 400u 600d t", "HP---HP", 100,
                     500}),
    CaseName());

// ---- Stops --------------------------------------------------------------------

TEST_F(LogicTest, EscapeRemovesTheHookStopsEverythingAndStartsTheCountdown) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    useSettings(v);
    installSwitchHook(fake);
    fake.swapped = true;
    setPressState(PressState::Moving);
    setPendingAction(2);
    scanStateForTests().scanPos = 4;
    rearmStateForTests().rearmCount = 3;
    fake.clearLog();

    handleEscape(fake);
    EXPECT_EQ(fake.log, concat({{"removeHook mouse", "removeHook keyboard", "sleep 10", "killTimer 11",
                                 "killTimer 99", "sleep 10", "killTimer 11", "killTimer 99", "sendButton 16",
                                 "killTimer 11", "killTimer 14", "closeArm left", "closeArm right",
                                 "closeArm up", "closeArm down", "setCaption Ready", "setClassIcon START"},
                                REST_PAINTS,
                                {"setTimer 14 1000"}}));
    EXPECT_EQ(switchState().keyboardHookActive, 0);
    EXPECT_NE(pressState(), PressState::Moving);
    EXPECT_EQ(switchState().pendingAction, 0);
    EXPECT_EQ(scanState().scanPos, 1);
    EXPECT_EQ(rearmState().rearmCount, 0);
}

TEST_F(LogicTest, FarMoveStopIsEscapeWithoutTheTimerKills) {
    useDefaults();
    installSwitchHook(fake);
    setPressState(PressState::Scanning);
    fake.clearLog();

    handleFarMoveStop(fake);
    EXPECT_EQ(fake.log, concat({{"removeHook mouse", "removeHook keyboard", "sleep 10", "sendButton 4",
                                 "killTimer 11", "killTimer 14", "closeArm left", "closeArm right",
                                 "closeArm up", "closeArm down", "setCaption Ready", "setClassIcon START"},
                                REST_PAINTS,
                                {"setTimer 14 1000"}}));
    EXPECT_EQ(switchState().mouseHookActive, 0);
    EXPECT_NE(pressState(), PressState::Scanning);
}

} // namespace
} // namespace sp
