// A settings file held open by another program from the start: the program
// runs on the defaults, writes nothing, and takes the file once it is free.
#include "config_window/config_window.h"
#include "settings/fallback_log.h"
#include "test_state.h"

namespace sp {
namespace {

struct HeldRow {
    const char* name;
    const char* file;
    int heldS;
    bool late;      // not read by start-up
    int windowS[2]; // the file's window open over these seconds (0 0: never)
};

void PrintTo(const HeldRow& r, std::ostream* os) { *os << r.name; }

class HeldFileTest : public LogicTest, public ::testing::WithParamInterface<HeldRow> {};

TEST_P(HeldFileTest, TheFileIsTakenOnceFreeAndNothingWrittenMeanwhile) {
    const HeldRow& row = GetParam();
    const bool config = std::string(row.file) == SETTINGS_FILE_NAME;
    SettingsValues own = defaultSettings();
    own.moveStep = 5;
    own.switchDevice = 0;
    own.enabledClicks[1] = 0;
    fake.files[SETTINGS_FILE_NAME] = formatSettingsFile(own);
    fake.files[OPTIONS_FILE_NAME] = "extra_cells = menu\r\n";
    fake.lockedUntilMs[row.file] = row.heldS * 1000.0;
    auto taken = [&] {
        const std::vector<int> scan = scanCells();
        const bool doubleOff = std::find(scan.begin(), scan.end(), cellOfClickKind(1)) == scan.end();
        return config ? fake.hookIn[static_cast<int>(HookKind::Keyboard)] && settings().moveStep == 5 &&
                            doubleOff
                      : currentOptions().extraCells == std::vector<int>{CELL_MENU};
    };
    startUp(fake);
    EXPECT_EQ(!taken(), row.late);
    bool windowOpen = false;
    while (!taken() && fake.timerRunning[TIMER_HELD_FILES] && fake.clockMs < 200000) {
        const bool defaults = config
                                  ? fake.hookIn[static_cast<int>(HookKind::Mouse)] && settings().moveStep == 2
                                  : currentOptions().extraCells.empty();
        EXPECT_TRUE(windowOpen || defaults) << "the defaults run meanwhile, " << fake.clockMs << " ms";
        fake.clockMs += fake.timerPeriod[TIMER_HELD_FILES];
        const bool windowTime = fake.clockMs >= row.windowS[0] * 1000 && fake.clockMs < row.windowS[1] * 1000;
        // The user changes a setting the file holds otherwise, and cannot save it.
        if (windowTime && !windowOpen && config) {
            openConfigWindow(fake);
            speedFromSlider(fake, 99);
        } else if (windowTime && !windowOpen) {
            openOptionsWindow(fake);
            applyOptions(fake, parseOptions("extra_cells = scroll_up").values);
        } else if (!windowTime && windowOpen && config) {
            EXPECT_FALSE(acceptSettings(fake));
            handleConfigRequest(fake, ConfigRequest::Close, 0);
            handleConfigRequest(fake, ConfigRequest::Gone, 0);
        } else if (!windowTime && windowOpen) {
            EXPECT_EQ(saveOptions(fake), OptionsSaved::Failed);
            handleOptionsRequest(fake, OptionsRequest::Close, 0);
            handleOptionsRequest(fake, OptionsRequest::Gone, 0);
        }
        windowOpen = windowTime;
        onPanelTimer(fake, TIMER_HELD_FILES);
    }
    ASSERT_TRUE(taken());
    const int freeMs = std::max(row.heldS, row.windowS[1]) * 1000;
    const int period = freeMs < HELD_FILE_FAST_FOR_MS ? HELD_FILE_RETRY_MS : HELD_FILE_SLOW_RETRY_MS;
    EXPECT_EQ(fake.timerPeriod[TIMER_HELD_FILES], row.late ? period : 0);
    EXPECT_GE(fake.clockMs, row.late ? freeMs : 0) << "not while held, nor under an open window";
    EXPECT_LE(fake.clockMs, row.late ? freeMs + period : LOCK_WAIT_MS)
        << "taken within one try of being free";
    onPanelTimer(fake, TIMER_HELD_FILES);
    EXPECT_FALSE(fake.timerRunning[TIMER_HELD_FILES]);
    EXPECT_TRUE(fake.calls(std::string("replaceFile ") + row.file).empty());
    // One line as it is found held, one as it is read.
    const std::string log = fake.files[SETTINGS_LOG_NAME];
    const std::string held = std::string(row.file) + ": held open",
                      read = std::string(row.file) + ": free again";
    EXPECT_EQ(log.find(held) != std::string::npos && log.find(held) == log.rfind(held), row.late) << log;
    EXPECT_EQ(log.find(read) != std::string::npos && log.find(read) == log.rfind(read), row.late) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), row.late ? 2 : 0) << log;
}

const HeldRow HELD_ROWS[] = {
    {"ConfigNotHeld", SETTINGS_FILE_NAME, 0, false, {0, 0}},
    {"ConfigHeldOneSecond", SETTINGS_FILE_NAME, 1, false, {0, 0}},
    {"ConfigHeldThreeSeconds", SETTINGS_FILE_NAME, 3, true, {0, 0}},
    {"ConfigHeldSeventySeconds", SETTINGS_FILE_NAME, 70, true, {0, 0}},
    {"ConfigFreedDuringTheSettingsWindow", SETTINGS_FILE_NAME, 3, true, {2, 5}},
    {"ConfigSettingsWindowClosedWhileHeld", SETTINGS_FILE_NAME, 5, true, {2, 3}},
    {"OptionsNotHeld", OPTIONS_FILE_NAME, 0, false, {0, 0}},
    {"OptionsHeldOneSecond", OPTIONS_FILE_NAME, 1, true, {0, 0}},
    {"OptionsHeldSeventySeconds", OPTIONS_FILE_NAME, 70, true, {0, 0}},
    {"OptionsFreedDuringTheOptionsWindow", OPTIONS_FILE_NAME, 3, true, {1, 5}},
    {"OptionsWindowClosedWhileHeld", OPTIONS_FILE_NAME, 5, true, {1, 3}},
};
INSTANTIATE_TEST_SUITE_P(Held, HeldFileTest, ::testing::ValuesIn(HELD_ROWS), CaseName());

} // namespace
} // namespace sp
