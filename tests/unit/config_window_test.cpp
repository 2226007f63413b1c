// The configuration window's logic: slider bands and their way back, the
// percent label, the toggles and their rules, the device swap, and what
// opening, saving and closing leave in force.
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
    const int cell = 5 + row.kind;
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) {
        const int want = row.after[k] == '1' ? 1 : 0;
        EXPECT_EQ(configState().clickChecks[k], want) << "kind " << k;
        EXPECT_EQ(settings().enabledClicks[k], want) << "kind " << k;
    }
    // The scan sequence holds exactly the kinds that are on, in order.
    int entry = 6;
    for (int k = 0; k < CLICK_KIND_COUNT; ++k)
        if (row.after[k] == '1') {
            EXPECT_EQ(scanState().scanSequence[entry++], 6 + k);
        }
    EXPECT_EQ(scanState().scanSequence[entry], 0);
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
    scanState().scanPos = 7;
    switchState().moving = 1;
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
    EXPECT_EQ(switchState().scanning, 1);
    EXPECT_EQ(switchState().moving, 0);
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

// Started with the defaults but for the keyboard as the switch.
SettingsValues startWithKeyboardSwitch(FakePlatform& fake) {
    SettingsValues v = defaultSettings();
    v.switchDevice = 0;
    startWith(fake, v);
    return v;
}

TEST_F(LogicTest, OnlyOneWindowCanBeClaimedUntilTheLastHasGone) {
    EXPECT_TRUE(openConfigWindow(fake));
    EXPECT_FALSE(openConfigWindow(fake));
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
    EXPECT_EQ(configState().configOpen, 1);
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
    const int want[] = {6, 7, 8, 10, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(scanState().scanSequence[6 + i], want[i]) << "entry " << 6 + i;
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
    EXPECT_EQ(panelState().scanStoppedForConfig, 0);
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
    EXPECT_TRUE(fake.calls("setCaption").empty()) << "scanning goes on";

    // The window shows a change not saved yet: a second click keeps it.
    changeSettings([](SettingsValues& v) { v.moveStep = 6; });
    onPanelMouseButton(fake);
    EXPECT_EQ(settings().moveStep, 6);
    EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u);
}

TEST_F(LogicTest, PanelClickWhileTheWindowGoesOpensTheNextOnceItHasGone) {
    const struct {
        const char* name;
        bool closeFirst; // the close sequence has run when the click comes
        size_t opensAfterGone;
    } rows[] = {{"clickAfterTheClose", true, 2}, {"clickOnAnOpenWindow", false, 1}};
    for (const auto& row : rows) {
        resetAll();
        fake = FakePlatform{};
        startWithKeyboardSwitch(fake);
        onPanelMouseButton(fake);
        if (row.closeFirst) handleConfigRequest(fake, ConfigRequest::Close, 0);
        onPanelMouseButton(fake);
        EXPECT_EQ(fake.calls("openConfigWindow").size(), 1u) << row.name << ": not while it is there";
        handleConfigRequest(fake, ConfigRequest::Destroyed, 0);
        handleConfigRequest(fake, ConfigRequest::Gone, 0);
        EXPECT_EQ(fake.calls("openConfigWindow").size(), row.opensAfterGone) << row.name;
        EXPECT_EQ(configState().configOpen, row.opensAfterGone == 2 ? 1 : 0) << row.name;
        EXPECT_EQ(configState().closing, 0) << row.name;
    }
}

// ---- Requests carried out on the panel's thread ------------------------------------------

struct ChangeRow {
    const char* name;
    ConfigRequest request;
    int value;
    bool answered; // the window is told to show its state
    int (*field)(const SettingsValues&);
    int want;
};

void PrintTo(const ChangeRow& r, std::ostream* os) { *os << r.name; }

class ConfigChangeRequestTest : public LogicTest, public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(ConfigChangeRequestTest, ChangesTheRecordAndAnswersOnlyWhatTheWindowShows) {
    const ChangeRow& row = GetParam();
    const SettingsValues v = startWithKeyboardSwitch(fake);
    ASSERT_TRUE(openConfigWindow(fake));
    fake.clearLog();

    handleConfigRequest(fake, row.request, row.value);

    EXPECT_EQ(row.field(settings()), row.want);
    EXPECT_EQ(fake.calls("answerConfigWindow"), row.answered ? Lines{"answerConfigWindow show"} : Lines{});
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME], formatSettingsFile(v)) << "a change is not saved";
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ConfigChangeRequestTest,
    ::testing::Values(ChangeRow{"sound", ConfigRequest::Sound, 0, true,
                                [](const SettingsValues& r) { return r.clickSound; }, 1},
                      ChangeRow{"helpBox", ConfigRequest::HelpBox, 0, true,
                                [](const SettingsValues& r) { return r.helpBox; }, 1},
                      ChangeRow{"doubleClickOut", ConfigRequest::ClickKind, 1, true,
                                [](const SettingsValues& r) { return r.enabledClicks[1]; }, 0},
                      ChangeRow{"kindOutOfRange", ConfigRequest::ClickKind, 5, true,
                                [](const SettingsValues& r) { return r.enabledClicks[4]; }, 1},
                      ChangeRow{"speed", ConfigRequest::Speed, 99, true,
                                [](const SettingsValues& r) { return r.moveStep; }, 6},
                      ChangeRow{"period", ConfigRequest::Period, 0, true,
                                [](const SettingsValues& r) { return r.scanPeriodMs; }, 2000},
                      ChangeRow{"opacity", ConfigRequest::Opacity, 100, true,
                                [](const SettingsValues& r) { return r.opacity; }, 100},
                      ChangeRow{"colourChosen", ConfigRequest::ColourChosen, 0x00FF00, true,
                                [](const SettingsValues& r) { return r.lineColour; }, 0x00FF00},
                      ChangeRow{"colourKept", ConfigRequest::ColourKept, 0x00FF00, false,
                                [](const SettingsValues& r) { return r.lineColour; }, 255},
                      ChangeRow{"mouse", ConfigRequest::Device, 1, true,
                                [](const SettingsValues& r) { return r.switchDevice; }, 1},
                      ChangeRow{"timerTick", ConfigRequest::TimerTick, 0, false,
                                [](const SettingsValues& r) { return r.moveStep; }, 2},
                      ChangeRow{"unknownRequest", static_cast<ConfigRequest>(99), 6, false,
                                [](const SettingsValues& r) { return r.moveStep; }, 2}),
    CaseName());

struct Step {
    ConfigRequest request;
    int value;
};

struct SequenceRow {
    const char* name;
    bool failWrites;
    std::vector<Step> steps;
    Lines answers;
    int clickSound; // in the record afterwards
    bool saved;     // the file holds the sound on
    int configOpen;
};

void PrintTo(const SequenceRow& r, std::ostream* os) { *os << r.name; }

class ConfigCloseRequestTest : public LogicTest, public ::testing::WithParamInterface<SequenceRow> {};

// The sound is switched on in the window, then the window goes some way.
TEST_P(ConfigCloseRequestTest, TheCloseSequenceRunsOnceAndLaterChangesAreVoid) {
    const SequenceRow& row = GetParam();
    const SettingsValues v = startWithKeyboardSwitch(fake);
    ASSERT_TRUE(openConfigWindow(fake));
    fake.failWrites = row.failWrites;
    fake.clearLog();

    for (const Step& step : row.steps) handleConfigRequest(fake, step.request, step.value);

    Lines answers;
    for (const std::string& line : fake.calls("answerConfigWindow")) answers.push_back(line.substr(19));
    EXPECT_EQ(answers, row.answers);
    EXPECT_EQ(settings().clickSound, row.clickSound);
    EXPECT_EQ(live().liveClickSound, row.clickSound) << "the running system follows the record";
    SettingsValues on = v;
    on.clickSound = 1;
    EXPECT_EQ(fake.files[SETTINGS_FILE_NAME] == formatSettingsFile(on), row.saved);
    EXPECT_EQ(configState().configOpen, row.configOpen);
}

const Step SOUND{ConfigRequest::Sound, 0}, CLOSE{ConfigRequest::Close, 0}, ACCEPT{ConfigRequest::Accept, 0},
    DESTROYED{ConfigRequest::Destroyed, 0}, GONE{ConfigRequest::Gone, 0};

INSTANTIATE_TEST_SUITE_P(
    Ways, ConfigCloseRequestTest,
    ::testing::Values(
        SequenceRow{"cancelDropsTheChange", false, {SOUND, CLOSE}, {"show", "closeNow"}, 0, false, 1},
        SequenceRow{"acceptSavesAndCloses", false, {SOUND, ACCEPT}, {"show", "closeNow"}, 1, true, 1},
        SequenceRow{"failedSaveKeepsTheWindow", true, {SOUND, ACCEPT}, {"show", "saveFailed"}, 1, false, 1},
        SequenceRow{"changeBehindTheCloseIsVoid", false, {CLOSE, SOUND}, {"closeNow"}, 0, false, 1},
        SequenceRow{"acceptBehindACancelSavesNothing",
                    false,
                    {SOUND, CLOSE, ACCEPT},
                    {"show", "closeNow", "closeNow"},
                    0,
                    false,
                    1},
        SequenceRow{
            "goneFreesTheClaim", false, {SOUND, CLOSE, DESTROYED, GONE}, {"show", "closeNow"}, 0, false, 0},
        SequenceRow{"strayRequestsAfterGoneDoNothing",
                    false,
                    {CLOSE, DESTROYED, GONE, SOUND, ACCEPT},
                    {"closeNow"},
                    0,
                    false,
                    0}),
    CaseName());

TEST_F(LogicTest, TeardownRequestStopsAKeyboardSwitchOnceAndANewWindowStartsAfresh) {
    startWithKeyboardSwitch(fake);
    ASSERT_TRUE(openConfigWindow(fake));
    handleConfigRequest(fake, ConfigRequest::Close, 0);
    handleConfigRequest(fake, ConfigRequest::Destroyed, 0);
    EXPECT_EQ(fake.timerPeriod[TIMER_REARM], 1000) << "the keyboard switch re-arms after the window";
    EXPECT_EQ(rearmState().shortRearm, 1);
    handleConfigRequest(fake, ConfigRequest::Gone, 0);
    fake.clearLog();
    handleConfigRequest(fake, ConfigRequest::Destroyed, 0);
    EXPECT_TRUE(fake.log.empty()) << "a teardown with no window stops nothing";

    ASSERT_TRUE(openConfigWindow(fake));
    EXPECT_EQ(configState().closing, 0);
    handleConfigRequest(fake, ConfigRequest::Sound, 0);
    EXPECT_EQ(settings().clickSound, 1) << "the new window's changes count";
}

} // namespace
} // namespace sp
