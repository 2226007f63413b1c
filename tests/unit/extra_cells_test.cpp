// The third row: which cells options.ini puts there, where the scan visits
// them, and the wheel that a scroll cell turns.
#include "test_state.h"

namespace sp {
namespace {

class ExtraCellsTest : public LogicTest {
protected:
    void useOptionsText(const std::string& text) {
        useOptions(parseOptions(text).values);
        layOutListedCells();
    }
    // Highlights `cell` with the next step while scanning runs.
    void scanTo(int cell) {
        const std::vector<int> cells = scanCells();
        const auto at = std::find(cells.begin(), cells.end(), cell);
        ASSERT_NE(at, cells.end()) << "cell " << cell << " is not scanned";
        scanStateForTests().scanPos = static_cast<int>(at - cells.begin()) + 1;
        scanStep(fake);
    }
};

struct RowCase {
    const char* name;
    const char* options;
    const char* clicks; // enabledClicks
    std::vector<int> afterFixedCells;
    int rows;
    int columns = 5;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class ThirdRowTest : public ExtraCellsTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(ThirdRowTest, ListedCellsAreShownAndScannedInTheirOrderAfterTheClickCells) {
    const RowCase& c = GetParam();
    SettingsValues v = defaultSettings();
    for (int k = 0; k < CLICK_KIND_COUNT; ++k) v.enabledClicks[k] = c.clicks[k] == '1' ? 1 : 0;
    useOptionsText(c.options);
    useSettings(v);
    std::vector<int> want = {0, 1, 2, 3, 4};
    want.insert(want.end(), c.afterFixedCells.begin(), c.afterFixedCells.end());
    EXPECT_EQ(scanCells(), want);
    EXPECT_EQ(panelCellArea().height, 45 * c.rows);
    EXPECT_EQ(panelCellArea().width, 45 * c.columns - 2);
    int column = 0;
    for (int cell : c.afterFixedCells)
        if (cell >= CELL_SCROLL_UP) {
            EXPECT_TRUE(cellRect(cell) == (Rect{45 * column++, 90, 45, 45})) << "cell " << cell;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ThirdRowTest,
    ::testing::Values(RowCase{"none", "", "11111", {5, 6, 7, 8, 9}, 2},
                      RowCase{"one", "extra_cells = scroll_down", "11111", {5, 6, 7, 8, 9, 11}, 3},
                      RowCase{"inTheOrderGiven",
                              "extra_cells = scroll_right scroll_left scroll_down scroll_up",
                              "01001",
                              {6, 9, 13, 12, 11, 10},
                              3},
                      RowCase{"withEveryClickOff", "extra_cells = scroll_left", "00000", {12}, 3},
                      RowCase{"pointLast", "point_scan = 1\nextra_cells = menu", "10000", {5, 14, 15}, 3},
                      // Turned on by its own option, it is not dropped from a full row.
                      RowCase{"pointSixth",
                              "point_scan = 1\nextra_cells = scroll_up scroll_down "
                              "scroll_left scroll_right menu",
                              "10000",
                              {5, 10, 11, 12, 13, 14, 15},
                              3,
                              6}),
    CaseName());

TEST_F(ExtraCellsTest, StartUpLaysThePanelOutAgainOnlyWhenTheFileListsCells) {
    startUp(fake);
    EXPECT_TRUE(fake.calls("layOutPanel").empty());
    fake.files[OPTIONS_FILE_NAME] = "extra_cells = scroll_up\r\n";
    startUp(fake);
    EXPECT_EQ(fake.calls("layOutPanel").size(), 1u);
    EXPECT_TRUE(cellShown(CELL_SCROLL_UP));
    EXPECT_EQ(scanCells().back(), CELL_SCROLL_UP);
}

struct WheelCase {
    const char* name;
    const char* word;
    int cell;
    const char* turn;
};

void PrintTo(const WheelCase& c, std::ostream* os) { *os << c.name; }

class ScrollTest : public ExtraCellsTest, public ::testing::WithParamInterface<WheelCase> {};

// A press on a scroll cell turns the wheel at once and then every interval;
// the next press stops it and the scan goes on after the cell.
TEST_P(ScrollTest, TurnsTheWheelUntilTheNextPress) {
    const WheelCase& c = GetParam();
    useOptionsText(std::string("scroll_interval_ms = 300\nextra_cells = ") + c.word);
    useDefaults();
    handleSwitchPress(fake);
    scanTo(c.cell);
    fake.clearLog();
    handleSwitchPress(fake);
    EXPECT_EQ(fake.calls("sendWheel"), (Lines{c.turn}));
    EXPECT_EQ(fake.timerPeriod[TIMER_MOVE], 300);
    EXPECT_EQ(pressState(), PressState::Moving);

    fake.clearLog();
    movementTick(fake);
    movementTick(fake);
    EXPECT_EQ(fake.log, (Lines{c.turn, c.turn})) << "nothing but the wheel: the pointer stays";

    handleSwitchPress(fake);
    EXPECT_FALSE(fake.timerRunning[TIMER_MOVE]);
    EXPECT_EQ(pressState(), PressState::Scanning);
    movementTick(fake);
    EXPECT_EQ(fake.calls("sendWheel").size(), 2u) << "no turn once stopped";
    EXPECT_EQ(highlights(1), (std::vector<int>{0})) << "the scroll cell was the last";
}

INSTANTIATE_TEST_SUITE_P(
    Cells, ScrollTest,
    ::testing::Values(WheelCase{"up", "scroll_up", CELL_SCROLL_UP, "sendWheel 120"},
                      WheelCase{"down", "scroll_down", CELL_SCROLL_DOWN, "sendWheel -120"},
                      WheelCase{"left", "scroll_left", CELL_SCROLL_LEFT, "sendWheel across -120"},
                      WheelCase{"right", "scroll_right", CELL_SCROLL_RIGHT, "sendWheel across 120"}),
    CaseName());

// With the keyboard as the switch only the tick can see the hand on the
// mouse; with the mouse as the switch its hook does, so the tick leaves it be.
TEST_F(ExtraCellsTest, AHandOnTheMouseStopsAKeyboardUsersScroll) {
    useOptionsText("extra_cells = scroll_down");
    for (int device : {0, 1}) {
        SettingsValues v = defaultSettings();
        v.switchDevice = device;
        useSettings(v);
        installSwitchHook(fake);
        handleSwitchPress(fake);
        scanTo(CELL_SCROLL_DOWN);
        handleSwitchPress(fake);
        fake.cursor.x += 3;
        fake.clearLog();
        movementTick(fake);
        if (device == 0) {
            EXPECT_TRUE(fake.calls("sendWheel").empty());
            EXPECT_NE(pressState(), PressState::Moving);
            EXPECT_TRUE(fake.timerRunning[TIMER_REARM]);
            EXPECT_EQ(fake.caption, "Ready");
        } else {
            EXPECT_EQ(fake.calls("sendWheel").size(), 1u);
            EXPECT_EQ(pressState(), PressState::Moving);
        }
        handleEscape(fake);
    }
}

} // namespace
} // namespace sp

namespace sp {
namespace {

// The Keyboard cell, from its press on: P a press, T a keyboard period, E
// Escape, C the window's close, G the window gone. What reaches the system.
struct KeyboardCase {
    const char* name;
    const char* options;
    const char* events;
    int caretY; // the focused window's caret, on a 768-pixel-high screen
    Lines effects;
    bool password = false;
    const char* learnt = ""; // words.txt after it all
};

void PrintTo(const KeyboardCase& c, std::ostream* os) { *os << c.name; }

const std::string SHOW = "answerKeyboardWindow show";
// Its scan starts before the window is made, which finds it running.
const std::string SCAN = "setTimer 31 500";
const std::string OPENED = "openKeyboardWindow";

class KeyboardCellTest : public ExtraCellsTest, public ::testing::WithParamInterface<KeyboardCase> {};

TEST_P(KeyboardCellTest, TakesThePressesWhileOpenAndHandsTheScanBack) {
    const KeyboardCase& c = GetParam();
    useDefaults();
    useOptionsText(std::string("extra_cells = keyboard\nlanguage = en\nkeyboard_period_ms = 500\n") +
                   c.options);
    buildScanSequence();
    setPressState(PressState::Scanning);
    scanTo(CELL_KEYBOARD);
    fake.caret = {300, c.caretY, 2, 16};
    fake.passwordFocused = c.password;
    fake.files["words.txt"] = "you 1\nyour 9\n";
    fake.clearLog();
    handleSwitchPress(fake);
    for (const char* e = c.events; *e; ++e) {
        if (*e == 'P') handleSwitchPress(fake);
        if (*e == 'T') keyboardTick(fake);
        if (*e == 'E') handleSwitchEvent(fake, SwitchEvent::Escape, true);
        if (*e == 'C' || *e == 'G') onKeyboardRequest(fake, *e == 'C' ? PLAIN_CLOSE : PLAIN_GONE);
    }
    Lines effects;
    for (const std::string& line : fake.log)
        for (const char* kind : {"typeKeys", "openKeyboard", "answerKeyboard", "setTimer 31", "killTimer 31",
                                 "setTimer 11", "replaceFile"})
            if (line.rfind(kind, 0) == 0) effects.push_back(line);
    EXPECT_EQ(effects, c.effects);
    const KeyboardView v = keyboardView();
    EXPECT_EQ(v.atTop, c.caretY > 400) << "a caret low on the screen puts it at the top";
    EXPECT_LE(v.rows * v.keySize + 40, v.atTop ? c.caretY : 768 - c.caretY - 16) << "the caret stays clear";
    EXPECT_EQ(fake.files["words.txt"], *c.learnt ? c.learnt : "you 1\nyour 9\n");
}

INSTANTIATE_TEST_SUITE_P(
    Presses, KeyboardCellTest,
    ::testing::Values(
        KeyboardCase{"opensWithItsScanRunning", "", "", 100, {SCAN, OPENED}},
        KeyboardCase{"rowsThenKeyTypesAPrediction",
                     "keyboard_scan = rows\n",
                     "PP",
                     700,
                     {SCAN, OPENED, SCAN, SHOW, "typeKeys I ", SCAN, SHOW}},
        KeyboardCase{
            "escapeRestsAPressWakes", "", "EP", 700, {SCAN, OPENED, "killTimer 31", SHOW, SCAN, SHOW}},
        KeyboardCase{"closeHandsTheScanBack",
                     "",
                     "CG",
                     700,
                     {SCAN, OPENED, "killTimer 31", "answerKeyboardWindow closeNow", "setTimer 11 1500"}},
        KeyboardCase{"learnsAWordItFinishes",
                     "keyboard_scan = rows\nkeyboard_learn = 1\n",
                     "PPC",
                     100,
                     {SCAN, OPENED, SCAN, SHOW, "typeKeys Your ", SCAN, SHOW, "killTimer 31",
                      "replaceFile words.txt", "answerKeyboardWindow closeNow", "setTimer 11 1500"},
                     false,
                     "you 1\nyour 10\n"},
        KeyboardCase{"neverLearnsInAPassword",
                     "keyboard_scan = rows\nkeyboard_learn = 1\n",
                     "PPC",
                     100,
                     {SCAN, OPENED, SCAN, SHOW, "typeKeys Your ", SCAN, SHOW, "killTimer 31",
                      "answerKeyboardWindow closeNow", "setTimer 11 1500"},
                     true}),
    CaseName());

} // namespace
} // namespace sp
