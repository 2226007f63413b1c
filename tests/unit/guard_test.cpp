// What keeps the switch working: the hook watchdog, the stop that overtakes
// queued presses, lock and resume, the caption for a window in front that
// outranks the program, and a settings file held open at start.
#include "app/session.h"
#include "config_window/config_window.h"
#include "scan/cells.h"
#include "settings/fallback_log.h"
#include "test_state.h"

namespace sp {
namespace {

SettingsValues keyboardSwitch() {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    return v;
}

// ---- Watchdog ---------------------------------------------------------------

struct WatchRow {
    const char* name;
    bool hookOutOnPurpose; // a click, the countdown or a stop took it out
    double pressAt;        // the raw press, against the hook going in at 1000
    double hookEventAt;    // the hook's last event; < 0 for none
    bool putInAgainMeanwhile;
    bool reinstalls;
};
void PrintTo(const WatchRow& r, std::ostream* os) { *os << r.name; }

class WatchdogTest : public LogicTest, public ::testing::WithParamInterface<WatchRow> {};

TEST_P(WatchdogTest, PutsTheHookBackOnlyWhenItMissedAPress) {
    const WatchRow& row = GetParam();
    useSettings(keyboardSwitch());
    fake.clockMs = 1000;
    installSwitchHook(fake);
    if (row.hookEventAt >= 0) noteHookEvent(row.hookEventAt);
    if (row.hookOutOnPurpose) removeSwitchHook(fake);
    fake.clockMs = row.pressAt;
    onRawSwitchPress(fake, row.pressAt);
    onRawSwitchPress(fake, row.pressAt + 50); // the same burst
    if (row.putInAgainMeanwhile) {
        fake.clockMs = row.pressAt + 100;
        removeSwitchHook(fake);
        installSwitchHook(fake);
    }
    const int installsBefore = fake.hookInstalls;
    fake.clearLog();
    EXPECT_EQ(fake.timerRunning[TIMER_WATCHDOG], !row.hookOutOnPurpose && row.pressAt >= 1000);
    watchdogTick(fake);
    watchdogTick(fake); // a late second tick finds nothing to check

    EXPECT_EQ(fake.hookInstalls - installsBefore, row.reinstalls ? 1 : 0);
    EXPECT_EQ(watchdogState().reinstalls, row.reinstalls ? 1 : 0);
    EXPECT_EQ(fake.files.count(SETTINGS_LOG_NAME), row.reinstalls ? 1u : 0u);
    if (row.reinstalls) {
        EXPECT_NE(fake.files[SETTINGS_LOG_NAME].find("keyboard hook missed a press"), std::string::npos);
        EXPECT_EQ(switchState().keyboardHookActive, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Presses, WatchdogTest,
                         ::testing::Values(WatchRow{"missedPress", false, 5000, 1200, false, true},
                                           WatchRow{"neverAnyHookEvent", false, 5000, -1, false, true},
                                           WatchRow{"hookSawItJustBefore", false, 5000, 4700, false, false},
                                           // The hook thread may note it a little after the raw stream.
                                           WatchRow{"hookSawItJustAfter", false, 5000, 5003, false, false},
                                           WatchRow{"hookOutOnPurpose", true, 5000, -1, false, false},
                                           WatchRow{"pressFromBeforeTheHookWentIn", false, 900, -1, false,
                                                    false},
                                           WatchRow{"hookPutInAgainSince", false, 5000, -1, true, false}),
                         CaseName());

TEST_F(LogicTest, RawInputFollowsTheSwitchDevice) {
    useSettings(keyboardSwitch());
    installSwitchHook(fake);
    EXPECT_EQ(fake.rawInputKind, static_cast<int>(HookKind::Keyboard));
    removeSwitchHook(fake);
    installSwitchHook(fake);
    EXPECT_EQ(fake.rawInputRegistrations, 1) << "a click's re-install keeps the registration";
    SettingsValues v = keyboardSwitch();
    v.switchDevice = 1;
    useSettings(v);
    restartWithSwitchDevice(fake);
    EXPECT_EQ(fake.rawInputKind, static_cast<int>(HookKind::Mouse));
    EXPECT_EQ(fake.rawInputRegistrations, 2);
}

// ---- The stop overtakes queued presses --------------------------------------

TEST_F(LogicTest, AStopActsBeforeThePressesQueuedAheadOfItAndDropsThem) {
    useSettings(keyboardSwitch());
    installSwitchHook(fake);
    handleSwitchPress(fake); // scanning
    fake.clearLog();

    // Presses queued, then Escape seen by the hook behind them.
    noteStopSeen(SwitchEvent::Escape);
    handleSwitchEvent(fake, SwitchEvent::Press, true);
    EXPECT_NE(pressState(), PressState::Scanning) << "the first message to come acts as the stop";
    EXPECT_FALSE(fake.hookIn[static_cast<int>(HookKind::Keyboard)]);
    EXPECT_TRUE(fake.timerRunning[TIMER_REARM]);
    EXPECT_EQ(fake.calls("setTimer 11").size(), 0u) << "no scan started by the overtaken press";

    // The rest of the queue, the stop's own message included, was seen by
    // the hook the stop took out.
    fake.clearLog();
    handleSwitchEvent(fake, SwitchEvent::Press, false);
    handleSwitchEvent(fake, SwitchEvent::Escape, false);
    EXPECT_TRUE(fake.log.empty());
}

// ---- Lock, sleep and the window in front ------------------------------------

TEST_F(LogicTest, LockReleasesTheDragAndUnlockComesBackToRestWithAFreshHook) {
    useSettings(keyboardSwitch());
    installSwitchHook(fake);
    setDragging(true);
    onSessionPaused(fake);
    EXPECT_EQ(fake.calls("sendButton"), (Lines{"sendButton 4"}));
    EXPECT_EQ(clickState().dragging, 0);

    setPressState(PressState::Moving);
    fake.setTimer(TIMER_MOVE, 40);
    const int installs = fake.hookInstalls;
    onSessionResumed(fake);
    EXPECT_EQ(fake.hookInstalls, installs + 1) << "out and in again";
    EXPECT_TRUE(fake.hookIn[static_cast<int>(HookKind::Keyboard)]);
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE]);
    EXPECT_NE(pressState(), PressState::Moving);
    EXPECT_EQ(fake.caption, "Ready");
    EXPECT_TRUE(fake.timerRunning[TIMER_START_DELAY]) << "the crosshair comes back";
}

struct FrontRow {
    const char* name;
    ForegroundWindow window;
    bool outranks;
};
void PrintTo(const FrontRow& r, std::ostream* os) { *os << r.name; }

class FrontTest : public LogicTest, public ::testing::WithParamInterface<FrontRow> {};

TEST_P(FrontTest, RestCaptionSaysWhenTheWindowInFrontOutranksUs) {
    const FrontRow& row = GetParam();
    EXPECT_EQ(outranksThisProgram(row.window), row.outranks);

    useSettings(keyboardSwitch());
    showReadyCaption(fake);
    onForegroundChanged(fake, row.window);
    EXPECT_EQ(fake.caption, row.outranks ? CAPTION_READY_BLOCKED : CAPTION_READY);
    onForegroundChanged(fake, ForegroundWindow{true, false, false, true, false});
    EXPECT_EQ(fake.caption, CAPTION_READY) << "and back when it leaves the front";
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FrontTest,
    ::testing::Values(FrontRow{"sameLevel", {true, false, false, true, false}, false},
                      FrontRow{"higherLevel", {true, false, false, true, true}, true},
                      FrontRow{"cannotBeOpened", {true, false, false, false, false}, true},
                      FrontRow{"noWindow", {false, false, false, false, false}, false},
                      FrontRow{"shellOrDesktop", {true, true, false, false, false}, false},
                      FrontRow{"ownWindow", {true, false, true, false, false}, false}),
    CaseName());

TEST_F(LogicTest, OnlyTheRestCaptionChangesForAWindowInFront) {
    useSettings(keyboardSwitch());
    const ForegroundWindow admin{true, false, false, true, true};
    handleSwitchPress(fake);
    scanStep(fake); // "STOP"
    onForegroundChanged(fake, admin);
    EXPECT_EQ(fake.caption, "STOP") << "the scan's caption stays";
    stopAndReset(fake);
    EXPECT_EQ(fake.caption, CAPTION_READY_BLOCKED) << "the stop's rest caption says it";
}

// ---- A settings file held open at start ---------------------------------------

struct HeldRow {
    const char* name;
    const char* file;
    int heldS;
    int windowS[2]; // the settings window open over these seconds (0 0: never)
};
void PrintTo(const HeldRow& r, std::ostream* os) { *os << r.name; }
class HeldFileTest : public LogicTest, public ::testing::WithParamInterface<HeldRow> {};

TEST_P(HeldFileTest, TheFileIsTakenOnceFreeAndNothingWrittenMeanwhile) {
    const HeldRow& row = GetParam();
    const bool config = std::string(row.file) == SETTINGS_FILE_NAME;
    const bool late = row.heldS * 1000 > (config ? LOCK_WAIT_MS : 0);
    // A keyboard switch, move step 5, no double click; a third row of cells.
    fake.files[SETTINGS_FILE_NAME] = "1 0 1 1 1\r\n5\r\n1500\r\n255\r\n255\r\n0\r\n0\r\n0\r\n";
    fake.files[OPTIONS_FILE_NAME] = "extra_cells = menu\r\n";
    fake.lockedUntilMs[row.file] = row.heldS * 1000.0;
    auto taken = [&] {
        return config ? fake.hookIn[1] && settings().moveStep == 5 && !clickKindInScan(1)
                      : currentOptions().extraCells.size() == 1;
    };
    startUp(fake);
    for (bool open = false; !taken() && fake.timerRunning[TIMER_HELD_FILES];) {
        EXPECT_TRUE(!config || open || (fake.hookIn[0] && settings().moveStep == 2))
            << "the defaults, " << fake.clockMs;
        fake.clockMs += fake.timerPeriod[TIMER_HELD_FILES];
        const bool was = open;
        open = fake.clockMs >= row.windowS[0] * 1000 && fake.clockMs < row.windowS[1] * 1000;
        // The user changes what the file holds otherwise, cannot save it, and closes the window.
        if (open && !was) openConfigWindow(fake), speedFromSlider(fake, 99);
        for (ConfigRequest r : {ConfigRequest::Accept, ConfigRequest::Close, ConfigRequest::Gone})
            if (was && !open) handleConfigRequest(fake, r, 0);
        onPanelTimer(fake, TIMER_HELD_FILES);
    }
    ASSERT_TRUE(taken());
    const int freeMs = std::max(row.heldS, row.windowS[1]) * 1000;
    const int period = freeMs < HELD_FILE_FAST_FOR_MS ? HELD_FILE_RETRY_MS : HELD_FILE_SLOW_RETRY_MS;
    EXPECT_EQ(fake.timerPeriod[TIMER_HELD_FILES], late ? period : 0);
    EXPECT_TRUE(fake.clockMs >= (late ? freeMs : 0) && fake.clockMs <= freeMs + period) << fake.clockMs;
    onPanelTimer(fake, TIMER_HELD_FILES);
    EXPECT_FALSE(fake.timerRunning[TIMER_HELD_FILES]);
    EXPECT_TRUE(fake.calls(std::string("replaceFile ") + row.file).empty());
    // One line as it is found held, one as it is read.
    const std::string log = fake.files[SETTINGS_LOG_NAME];
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), late ? 2 : 0) << log;
    EXPECT_EQ(log.find(std::string(row.file) + ": free again after") != std::string::npos, late) << log;
}

const HeldRow HELD_ROWS[] = {
    {"ConfigNotHeld", SETTINGS_FILE_NAME, 0, {0, 0}},
    {"ConfigHeldOneSecond", SETTINGS_FILE_NAME, 1, {0, 0}},
    {"ConfigHeldThreeSeconds", SETTINGS_FILE_NAME, 3, {0, 0}},
    {"ConfigHeldSeventySeconds", SETTINGS_FILE_NAME, 70, {0, 0}},
    {"ConfigFreedDuringTheSettingsWindow", SETTINGS_FILE_NAME, 3, {2, 5}},
    {"ConfigSettingsWindowClosedWhileHeld", SETTINGS_FILE_NAME, 5, {2, 3}},
    {"OptionsHeldOneSecond", OPTIONS_FILE_NAME, 1, {0, 0}},
    {"OptionsHeldSeventySeconds", OPTIONS_FILE_NAME, 70, {0, 0}},
};
INSTANTIATE_TEST_SUITE_P(Held, HeldFileTest, ::testing::ValuesIn(HELD_ROWS), CaseName());

} // namespace
} // namespace sp
