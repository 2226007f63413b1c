// The configuration window's logic: slider bands and their way back, the
// percent label, the toggles and their rules, the device swap, and what
// opening, saving and closing leave in force.
#include <algorithm>
#include <string>

#include "app/panel.h"
#include "case_name.h"
#include "config_window/config_window.h"
#include "test_state.h"

namespace sp {
namespace {

// ---- Sliders ----------------------------------------------------------------------

struct BandRow {
    const char* name;
    int position;
    int moveStep, scanPeriodMs, back;
};

void PrintTo(const BandRow& r, std::ostream* os) { *os << r.name; }

class SliderBandTest : public LogicTest, public ::testing::WithParamInterface<BandRow> {};

TEST_P(SliderBandTest, SetsTheBandsValueAppliesItAndSnapsTheSlider) {
    const BandRow& row = GetParam();
    useDefaults();
    EXPECT_EQ(speedFromSlider(fake, row.position), row.back);
    EXPECT_EQ(periodFromSlider(fake, row.position), row.back);
    EXPECT_EQ(settings().moveStep, row.moveStep);
    EXPECT_EQ(settings().scanPeriodMs, row.scanPeriodMs);
    EXPECT_EQ(live().liveMoveStep, row.moveStep);
    EXPECT_EQ(live().liveScanPeriodMs, row.scanPeriodMs);
}

INSTANTIATE_TEST_SUITE_P(Positions, SliderBandTest,
                         ::testing::Values(BandRow{"p0", 0, 1, 2000, 0}, BandRow{"p16", 16, 1, 2000, 0},
                                           BandRow{"p17", 17, 2, 1500, 33}, BandRow{"p49", 49, 2, 1500, 33},
                                           BandRow{"p50", 50, 4, 1000, 66}, BandRow{"p82", 82, 4, 1000, 66},
                                           BandRow{"p83", 83, 6, 500, 99}, BandRow{"p99", 99, 6, 500, 99},
                                           BandRow{"negative", -1, 6, 500, 99}),
                         CaseName());

TEST_F(LogicTest, SlidersOpenAtTheBandOfTheRecordAndAtAnEndForOtherValues) {
    const struct {
        int moveStep, speedAt, scanPeriodMs, periodAt;
    } rows[] = {{1, 0, 2000, 0},  {2, 33, 1500, 33}, {4, 66, 1000, 66},
                {6, 99, 500, 99}, {3, 99, 1200, 0},  {0, 99, 0, 0}};
    for (const auto& row : rows) {
        changeSettings([&](SettingsValues& v) {
            v.moveStep = row.moveStep;
            v.scanPeriodMs = row.scanPeriodMs;
        });
        EXPECT_EQ(sliderFromSpeed(), row.speedAt) << "moveStep " << row.moveStep;
        EXPECT_EQ(sliderFromPeriod(), row.periodAt) << "scanPeriodMs " << row.scanPeriodMs;
    }
}

TEST_F(LogicTest, OpacityLabelIsTheTruncatedPercentAndTheSliderPreviewsOnTheArms) {
    EXPECT_EQ(opacityLabel(255), "100 %");
    EXPECT_EQ(opacityLabel(254), "99 %");
    EXPECT_EQ(opacityLabel(128), "50 %");
    EXPECT_EQ(opacityLabel(15), "5 %");

    useDefaults();
    EXPECT_EQ(opacityFromSlider(fake, 128), 128);
    EXPECT_EQ(fake.log, (Lines{"setArmOpacity right 128", "sleep 5", "setArmOpacity left 128", "sleep 5",
                               "setArmOpacity up 128", "sleep 5", "setArmOpacity down 128", "sleep 5",
                               "setLineColour 0000FF", "sleep 100"}));
    EXPECT_EQ(settings().opacity, 128);
    EXPECT_EQ(live().liveOpacity, 128);
}

// ---- Click-kind toggles --------------------------------------------------------------

struct ToggleRow {
    const char* name;
    const char* before; // shown states, left to drag
    int kind;
    bool changes;
    const char* after;
};

void PrintTo(const ToggleRow& r, std::ostream* os) { *os << r.name; }

class ClickToggleTest : public LogicTest, public ::testing::WithParamInterface<ToggleRow> {};

TEST_P(ClickToggleTest, OnlyTheLastKindOnIsKeptAndAnOffKindCanAlwaysComeBack) {
    const ToggleRow& row = GetParam();
    SettingsValues v = defaultSettings();
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = row.before[k] == '1' ? 1 : 0;
    useSettings(v);
    initShownStates();

    EXPECT_EQ(toggleClickKind(fake, row.kind), row.changes);
    const int cell = cellOfClickKind(row.kind);
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) {
        const int want = row.after[k] == '1' ? 1 : 0;
        EXPECT_EQ(configState().clickChecks[k], want) << "kind " << k;
        EXPECT_EQ(settings().enabledClicks[k], want) << "kind " << k;
    }
    // The scan sequence holds exactly the kinds that are on, in order.
    std::vector<int> sequence = {0, 1, 2, 3, 4};
    for (int k = 0; k < CLICK_KIND_COUNT; ++k)
        if (row.after[k] == '1') sequence.push_back(cellOfClickKind(k));
    EXPECT_EQ(scanCells(), sequence);
    if (row.changes) {
        const bool on = row.after[row.kind] == '1';
        EXPECT_EQ(scanState().cellState[cell], on ? CELL_NORMAL : CELL_DISABLED);
        ASSERT_EQ(fake.calls("paintCell").size(), 1u);
        EXPECT_EQ(fake.calls("paintCell")[0].substr(0, 18),
                  "paintCell " + std::to_string(cell) + (on ? " FEFFFF" : " CCCCCC"));
    } else {
        EXPECT_TRUE(fake.log.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ClickToggleTest,
                         ::testing::Values(ToggleRow{"offWhenOthersAreOn", "11111", 1, true, "10111"},
                                           ToggleRow{"onAgain", "10111", 1, true, "11111"},
                                           ToggleRow{"lastKindStaysOn", "00100", 2, false, "00100"},
                                           ToggleRow{"anotherKindJoinsTheLastOne", "00100", 4, true, "00101"},
                                           ToggleRow{"allOffFromTheFileCanComeBack", "00000", 0, true,
                                                     "10000"},
                                           ToggleRow{"dragOffLeavesTheOthers", "00011", 4, true, "00010"}),
                         CaseName());

// ---- Device -------------------------------------------------------------------------

TEST_F(LogicTest, ChoosingTheOtherDeviceSwapsTheHookAndScansFromTheStart) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    v.scanPeriodMs = 1000;
    useSettings(v);
    installSwitchHook(fake);
    initShownStates();
    scanStateForTests().scanPos = 7;
    setPressState(PressState::Moving);
    fake.clearLog();

    EXPECT_FALSE(chooseDevice(fake, 0)) << "keyboard is already the switch";
    EXPECT_TRUE(fake.log.empty());

    EXPECT_TRUE(chooseDevice(fake, 1));
    EXPECT_EQ(fake.log, (Lines{"removeHook mouse", "removeHook keyboard", "killTimer 11", "killTimer 99",
                               "installHook mouse", "setTimer 11 1000"}));
    EXPECT_EQ(settings().switchDevice, 1);
    EXPECT_EQ(configState().deviceCheck, 1);
    EXPECT_EQ(switchState().mouseHookActive, 1);
    EXPECT_EQ(switchState().keyboardHookActive, 0);
    EXPECT_EQ(pressState(), PressState::Scanning);
    EXPECT_EQ(scanState().scanPos, 1);
    EXPECT_TRUE(fake.hookIn[static_cast<int>(HookKind::Mouse)]);
    EXPECT_FALSE(fake.hookIn[static_cast<int>(HookKind::Keyboard)]);
}

// ---- Opening, saving and closing ------------------------------------------------------

// The file holds `v`, the record and the running system are as after start-up.
void startWith(FakePlatform& fake, const SettingsValues& v) {
    fake.files[SETTINGS_FILE_NAME] = formatSettingsFile(v);
    loadSettings(fake);
    installSwitchHook(fake);
    fake.clearLog();
}

TEST_F(LogicTest, OnlyOneWindowCanBeClaimedUntilTheLastHasGone) {
    EXPECT_TRUE(openConfigWindow(fake));
    EXPECT_FALSE(openConfigWindow(fake));
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
    EXPECT_EQ(ownWindowState(OwnWindow::Settings).open, 1);
    // A window that never came frees the claim as a closed one does.
    configWindowGone();
    EXPECT_TRUE(openConfigWindow(fake));
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 2u);
}

TEST_F(LogicTest, ClosingWithoutSavingPutsTheFilesDeviceAndClickKindsBackInForce) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    v.enabledClicks[3] = 0;
    startWith(fake, v);
    initShownStates();

    chooseDevice(fake, 1);
    toggleClickKind(fake, 1); // double click out
    toggleClickKind(fake, 3); // middle click in
    speedFromSlider(fake, 99);
    closeConfigWindow(fake);

    EXPECT_EQ(settings().switchDevice, 0);
    EXPECT_EQ(switchState().keyboardHookActive, 1);
    EXPECT_EQ(switchState().mouseHookActive, 0);
    EXPECT_TRUE(fake.hookIn[static_cast<int>(HookKind::Keyboard)]);
    EXPECT_FALSE(fake.hookIn[static_cast<int>(HookKind::Mouse)]);
    EXPECT_EQ(live().liveMoveStep, 2);
    EXPECT_EQ(scanCells(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(scanState().cellState[6], CELL_NORMAL);
    EXPECT_EQ(scanState().cellState[8], CELL_DISABLED);
    EXPECT_EQ(fake.timerPeriod[TIMER_START_DELAY], 1500);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], formatSettingsFile(v)) << "nothing written";
}

TEST_F(LogicTest, AcceptWritesTheFileAndAFailedWriteSaysSoAndKeepsTheChoices) {
    const SettingsValues v = defaultSettings();
    startWith(fake, v);
    initShownStates();
    toggleSound(fake);

    fake.failWrites = true;
    EXPECT_FALSE(acceptSettings(fake));
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], formatSettingsFile(v));
    EXPECT_EQ(settings().clickSound, 1);
    EXPECT_EQ(live().liveClickSound, 1);

    fake.failWrites = false;
    EXPECT_TRUE(acceptSettings(fake));
    closeConfigWindow(fake);
    EXPECT_EQ(settings().clickSound, 1);
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], formatSettingsFile(settings()));
}

TEST_F(LogicTest, ColourDialogKeepsItsColourForTheRunAndACancelChangesNothing) {
    useDefaults();
    beforeColourDialog(fake);
    EXPECT_EQ(configState().colourDialogOpen, 1);
    afterColourDialog(fake, true, 0x00FF00);
    EXPECT_EQ(settings().lineColour, 0x00FF00);
    EXPECT_EQ(fake.lineColour, 0x00FF00u);
    beforeColourDialog(fake);
    afterColourDialog(fake, false, 0x123456);
    EXPECT_EQ(settings().lineColour, 0x00FF00);
    EXPECT_EQ(configState().lastChosenColour, 0x00FF00u);
    EXPECT_EQ(configState().colourDialogOpen, 0);
    EXPECT_EQ(fake.calls("setConfigTimer 500").size(), 4u);
}

// ---- The panel's opening rule ----------------------------------------------------------

TEST_F(LogicTest, PanelClickOpensWithTheFilesSettingsAndLeavesAnOpenWindowAlone) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    startWith(fake, v);
    changeSettings([](SettingsValues& v) { v.moveStep = 6; }); // changed in memory only
    onPanelMouseButton(fake);
    EXPECT_EQ(settings().moveStep, 2);
    EXPECT_EQ(configState().scanStoppedForConfig, 0);
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
    EXPECT_TRUE(fake.calls("setCaption").empty()) << "scanning goes on";

    // The window shows a change not saved yet: a second click keeps it.
    changeSettings([](SettingsValues& v) { v.moveStep = 6; });
    onPanelMouseButton(fake);
    EXPECT_EQ(settings().moveStep, 6);
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
}

// ---- Requests carried out on the panel's thread ------------------------------------------

// What reaches the panel's thread once a click on the panel has opened the
// window: its requests, and CLICK, a further click on the panel.
TEST_F(LogicTest, TheCloseSequenceRunsOnceLaterChangesAreVoidAndAClickDuringItOpensTheNext) {
    using R = ConfigRequest;
    const R CLICK = static_cast<R>(-1), SOUND = R::Sound, CLOSE = R::Close, ACCEPT = R::Accept,
            DESTROYED = R::Destroyed, GONE = R::Gone;
    const struct {
        bool failWrites;
        std::vector<R> steps;
        const char* answers;
        int sound; // in the record and the running system
        bool saved;
        size_t opens;
        int open;
    } rows[] = {{false, {R::TimerTick, R::ColourKept, SOUND, CLOSE}, " show closeNow", 0, false, 1, 1},
                {false, {SOUND, ACCEPT}, " show closeNow", 1, true, 1, 1},
                {true, {SOUND, ACCEPT}, " show saveFailed", 1, false, 1, 1},
                {false, {CLOSE, SOUND}, " closeNow", 0, false, 1, 1},
                {false, {SOUND, CLOSE, ACCEPT}, " show closeNow closeNow", 0, false, 1, 1},
                {false, {CLOSE, DESTROYED, GONE, SOUND, ACCEPT, DESTROYED}, " closeNow", 0, false, 1, 0},
                {false, {CLICK, DESTROYED, GONE}, "", 0, false, 1, 0},
                {false, {CLOSE, CLICK, DESTROYED, GONE, SOUND}, " closeNow show", 1, false, 2, 1}};
    for (const auto& row : rows) {
        const std::string name = "row " + std::to_string(&row - rows);
        resetAll();
        fake = FakePlatform{};
        SettingsValues v = defaultSettings();
        v.switchDevice = 0;
        startWith(fake, v);
        onPanelMouseButton(fake);
        fake.failWrites = row.failWrites;
        for (R step : row.steps) step == CLICK ? onPanelMouseButton(fake) : onConfigRequest(fake, step, 0);
        std::string answers;
        for (const std::string& line : fake.calls("answerConfigWindow")) answers += line.substr(18);
        EXPECT_EQ(answers, row.answers) << name;
        EXPECT_EQ(settings().clickSound, row.sound) << name;
        EXPECT_EQ(live().liveClickSound, row.sound) << name;
        EXPECT_EQ(fake.files[SETTINGS_FILE_NAME] != formatSettingsFile(v), row.saved) << name;
        EXPECT_EQ(fake.calls("openConfigWindow").size(), row.opens) << name;
        EXPECT_EQ(ownWindowState(OwnWindow::Settings).open, row.open) << name;
        // The keyboard switch is re-armed by a teardown, once.
        const bool tornDown = std::count(row.steps.begin(), row.steps.end(), DESTROYED) > 0;
        EXPECT_EQ(fake.calls("setTimer 14").size(), tornDown ? 1u : 0u) << name;
    }
}

} // namespace
} // namespace sp
