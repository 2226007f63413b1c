// The options window's logic through the fake: what each kind of control
// does to the options in force, saving and restoring, what the panel makes
// of a change at once, its language, its layout, and the clicks over it.
#include <algorithm>
#include <string>
#include <vector>

#include "case_name.h"
#include "config_window/config_window.h"
#include "config_window/layout.h"
#include "config_window/options_window.h"
#include "pointer/step_aside.h"
#include "scan/cells.h"
#include "test_state.h"

namespace sp {
namespace {

OptionsControl controlOf(int option, OptionsAction action, int arg = 0) {
    for (const OptionsControl& c : optionsControls())
        if (c.option == option && c.action == action && c.arg == arg) return c;
    ADD_FAILURE() << "no control for option " << option;
    return {};
}

// Options from the file's way of writing them, "key = value" a line.
OptionValues optionsFrom(const std::string& text) { return parseOptions(text).values; }

class OptionsWindowTest : public LogicTest {
protected:
    void open(const std::string& options = "") {
        useDefaults();
        useOptions(optionsFrom(options));
        layOutListedCells();
        buildScanSequence();
        openOptionsWindow(fake);
        fake.clearLog();
    }
    void click(int id) { handleOptionsRequest(fake, OptionsRequest::Control, id); }
    void click(int option, OptionsAction action, int arg = 0) { click(controlOf(option, action, arg).id); }
};

struct ClickRow {
    const char* name;
    const char* before; // options.ini lines
    int option;
    OptionsAction action;
    int arg;
    const char* after; // the option's value in the file's words
};
void PrintTo(const ClickRow& r, std::ostream* os) { *os << r.name; }

class OptionsClickTest : public OptionsWindowTest, public ::testing::WithParamInterface<ClickRow> {};

TEST_P(OptionsClickTest, ChangesTheOptionInForceAndShowsIt) {
    const ClickRow& row = GetParam();
    open(row.before);
    click(row.option, row.action, row.arg);
    EXPECT_EQ(toUtf8(optionText(currentOptions(), row.option)), row.after);
    EXPECT_EQ(fake.calls("answerOptionsWindow"), (Lines{"answerOptionsWindow show"}));
    EXPECT_EQ(ownWindowState(OwnWindow::Options).closing, 0);
}

using A = OptionsAction;
const ClickRow CLICK_ROWS[] = {
    {"plusIsOneStep", "", OPTION_SCROLL_INTERVAL_MS, A::Plus, 0, "250"},
    {"minusIsOneStep", "", OPTION_SCROLL_INTERVAL_MS, A::Minus, 0, "150"},
    {"plusStopsAtTheTop", "scroll_interval_ms = 1980", OPTION_SCROLL_INTERVAL_MS, A::Plus, 0, "2000"},
    {"plusAtTheTopStays", "scroll_interval_ms = 2000", OPTION_SCROLL_INTERVAL_MS, A::Plus, 0, "2000"},
    {"minusStopsAtTheBottom", "scroll_interval_ms = 70", OPTION_SCROLL_INTERVAL_MS, A::Minus, 0, "50"},
    {"stepsOfTheirOwnPerOption", "", OPTION_ACCELERATION_MS, A::Plus, 0, "2200"},
    {"smallRangeStepsByOne", "acceleration_max = 9", OPTION_ACCELERATION_MAX, A::Plus, 0, "10"},
    {"minusAtZeroStaysZero", "", OPTION_SCAN_LOOPS, A::Minus, 0, "0"},
    {"offStepsUpToTheLowest", "", OPTION_HOLD_MS, A::Plus, 0, "30"},
    {"theLowestStepsDownToOff", "ignore_repeat_ms = 50", OPTION_IGNORE_REPEAT_MS, A::Minus, 0, "0"},
    {"toggleSwitchesOn", "", OPTION_PANEL_STEPS_ASIDE, A::Toggle, 0, "1"},
    {"toggleSwitchesOff", "acceleration = 1", OPTION_ACCELERATION, A::Toggle, 0, "0"},
    {"choiceIsTaken", "", OPTION_AFTER_MOVE, A::Choose, AFTER_MOVE_CLICKS, "clicks"},
    {"choiceInForceStays", "language = es", OPTION_LANGUAGE, A::Choose, LANGUAGE_ES, "es"},
    {"cellOnIsAppended", "extra_cells = menu", OPTION_EXTRA_CELLS, A::Cell, CELL_SCROLL_UP, "menu scroll_up"},
    {"cellOffIsTakenOut", "extra_cells = scroll_up menu scroll_down", OPTION_EXTRA_CELLS, A::Cell, CELL_MENU,
     "scroll_up scroll_down"},
    {"lastCellOffEmptiesTheList", "extra_cells = menu", OPTION_EXTRA_CELLS, A::Cell, CELL_MENU, ""},
};
INSTANTIATE_TEST_SUITE_P(Controls, OptionsClickTest, ::testing::ValuesIn(CLICK_ROWS), CaseName());

struct EndRow {
    const char* name;
    bool readOnly, failWrites, cancel;
    const char* answer;
    bool stillOpen;
    const char* inForce; // scroll_interval_ms afterwards
};
void PrintTo(const EndRow& r, std::ostream* os) { *os << r.name; }

class OptionsEndTest : public OptionsWindowTest, public ::testing::WithParamInterface<EndRow> {};

TEST_P(OptionsEndTest, SavesOrPutsTheFileBack) {
    const EndRow& row = GetParam();
    fake.files[OPTIONS_FILE_NAME] = "# mine\r\nscroll_interval_ms = 300\r\n";
    if (row.readOnly) fake.readOnly.insert(OPTIONS_FILE_NAME);
    fake.failWrites = row.failWrites;
    open("scroll_interval_ms = 300");
    click(OPTION_SCROLL_INTERVAL_MS, A::Plus);
    fake.clearLog();

    if (row.cancel)
        handleOptionsRequest(fake, OptionsRequest::Close, 0);
    else
        click(OPTIONS_ID_OK);

    EXPECT_EQ(fake.calls("answerOptionsWindow"), (Lines{std::string("answerOptionsWindow ") + row.answer}));
    EXPECT_EQ(ownWindowState(OwnWindow::Options).closing, row.stillOpen ? 0 : 1);
    EXPECT_EQ(toUtf8(optionText(currentOptions(), OPTION_SCROLL_INTERVAL_MS)), row.inForce);
    const std::string saved = fake.files[OPTIONS_FILE_NAME];
    const bool savedNew = saved.find("scroll_interval_ms = 350") != std::string::npos;
    EXPECT_EQ(savedNew, !row.cancel && !row.readOnly && !row.failWrites) << saved;
    EXPECT_EQ(saved.rfind("# mine", 0), 0U) << "the user's lines stay";

    // Once closing, further clicks change nothing and only repeat the close.
    if (row.stillOpen) return;
    fake.clearLog();
    click(OPTION_SCROLL_INTERVAL_MS, A::Plus);
    click(OPTIONS_ID_OK);
    EXPECT_EQ(toUtf8(optionText(currentOptions(), OPTION_SCROLL_INTERVAL_MS)), row.inForce);
    EXPECT_EQ(fake.calls("answerOptionsWindow"), (Lines{"answerOptionsWindow closeNow"}));
}

const EndRow END_ROWS[] = {
    {"okSaves", false, false, false, "closeNow", false, "350"},
    {"okOnAReadOnlyFileStaysOpen", true, false, false, "readOnly", true, "350"},
    {"okThatCannotWriteStaysOpen", false, true, false, "saveFailed", true, "350"},
    {"cancelPutsTheFileBack", false, false, true, "closeNow", false, "300"},
    {"cancelOnAReadOnlyFileToo", true, false, true, "closeNow", false, "300"},
};
INSTANTIATE_TEST_SUITE_P(Endings, OptionsEndTest, ::testing::ValuesIn(END_ROWS), CaseName());

TEST_F(OptionsWindowTest, CancelButtonIsAClose) {
    open();
    click(OPTION_SCROLL_INTERVAL_MS, A::Plus);
    click(OPTIONS_ID_CANCEL);
    EXPECT_EQ(currentOptions(), defaultOptions()) << "no file: every default again";
    EXPECT_EQ(fake.calls("answerOptionsWindow").back(), "answerOptionsWindow closeNow");
    handleOptionsRequest(fake, OptionsRequest::Gone, 0);
    EXPECT_EQ(ownWindowState(OwnWindow::Options).open, 0);
}

TEST_F(OptionsWindowTest, ExtraCellsChangeThePanelAndTheScanAtOnce) {
    open("extra_cells = scroll_up menu");
    const int scanned = static_cast<int>(scanCells().size());
    scanStateForTests().scanPos = scanned; // the next step would light "Menu", the last
    click(OPTION_EXTRA_CELLS, A::Cell, CELL_MENU);
    EXPECT_EQ(fake.calls("layOutPanel").size(), 1U);
    EXPECT_EQ(scanCells().back(), CELL_SCROLL_UP);
    EXPECT_FALSE(cellShown(CELL_MENU));
    EXPECT_EQ(scanState().scanPos, 1) << "past the end: from the first cell";

    fake.clearLog();
    scanStateForTests().scanPos = 3;
    click(OPTION_EXTRA_CELLS, A::Cell, CELL_SCROLL_DOWN);
    EXPECT_EQ(scanCells().back(), CELL_SCROLL_DOWN);
    EXPECT_EQ(scanState().scanPos, 3) << "a place still in the sequence is kept";

    fake.clearLog();
    click(OPTION_SCROLL_INTERVAL_MS, A::Plus);
    EXPECT_TRUE(fake.calls("layOutPanel").empty()) << "the cells did not change";
}

TEST_F(OptionsWindowTest, StepsAsideOffBringsThePanelHome) {
    fake.monitors = {{0, 0, 1024, 768}, {1024, 0, 800, 600}};
    const struct {
        const char* name;
        Rect panel;
        const char* moves;
    } rows[] = {
        {"aside on the primary", {793, 0, 231, 120}, "movePanel 0 0"},
        {"aside on the second", {1593, 0, 231, 120}, "movePanel 1024 0"},
        {"already home", {0, 0, 231, 120}, ""},
    };
    for (const auto& row : rows) {
        open("panel_steps_aside = 1");
        fake.panel = row.panel;
        click(OPTION_PANEL_STEPS_ASIDE, A::Toggle);
        const Lines moves = fake.calls("movePanel");
        EXPECT_EQ(moves, row.moves[0] ? Lines{row.moves} : Lines{}) << row.name;
        handleOptionsRequest(fake, OptionsRequest::Gone, 0);
    }
}

TEST_F(OptionsWindowTest, TheMenuOpensItOnce) {
    useDefaults();
    onMenuChosen(fake, MENU_MORE_OPTIONS);
    onMenuChosen(fake, MENU_MORE_OPTIONS);
    EXPECT_EQ(fake.calls("openOptionsWindow"), (Lines{"openOptionsWindow"})) << "one window at a time";
    handleOptionsRequest(fake, OptionsRequest::Gone, 0);
    onMenuChosen(fake, MENU_MORE_OPTIONS);
    EXPECT_EQ(fake.calls("openOptionsWindow").size(), 2U) << "once gone it opens again";
}

// The settings window stays Spanish unless the option says English.
TEST_F(OptionsWindowTest, LanguageFollowsTheOptionOrTheUser) {
    const struct {
        const char* language;
        bool spanishUser;
        const char* title;
        const char* settingsTitle;
    } rows[] = {
        {"auto", false, "More options", u8"CONFIGURACI\u00D3N"},
        {"auto", true, u8"M\u00E1s opciones", u8"CONFIGURACI\u00D3N"},
        {"en", true, "More options", "SETTINGS"},
        {"es", false, u8"M\u00E1s opciones", u8"CONFIGURACI\u00D3N"},
    };
    for (const auto& row : rows) {
        fake.spanishUser = row.spanishUser;
        open(std::string("language = ") + row.language);
        EXPECT_EQ(optionsText("window.title", optionsWindowLanguage(), "?"), row.title) << row.language;
        handleOptionsRequest(fake, OptionsRequest::Gone, 0);
        openConfigWindow(fake);
        EXPECT_EQ(configTitle(configWindowLanguage()), row.settingsTitle) << row.language;
        configWindowGone();
    }
    // Chosen in the window, it applies to the window at once.
    fake.spanishUser = false;
    open();
    click(OPTION_LANGUAGE, A::Choose, LANGUAGE_ES);
    EXPECT_EQ(optionsWindowLanguage(), TextLanguage::Spanish);
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(OptionsLayoutTest, EveryOptionHasItsRowAndEveryControlIsEasyToHit) {
    const std::vector<OptionsControl> controls = optionsControls();
    const Size client = optionsClientSize();
    for (int option = 0; option < OPTION_COUNT; ++option) {
        const OptionDef& def = optionDef(option);
        int labels = 0, hints = 0, clickable = 0;
        for (const OptionsControl& c : controls) {
            if (c.option != option) continue;
            labels += c.kind == OptionsControlKind::Label;
            hints +=
                c.kind == OptionsControlKind::Hint && !optionsHint(def.key, TextLanguage::Spanish).empty();
            clickable += c.action != A::None;
        }
        int expected = 3 - 1; // "-" and "+"
        if (def.type == OptionType::Number && def.high == 1) expected = 1;
        if (def.type == OptionType::Choice) expected = def.high + 1;
        if (def.type == OptionType::Cells) expected = EXTRA_CELL_COUNT;
        EXPECT_EQ(labels, 1) << def.key;
        EXPECT_EQ(hints, 1) << def.key << ": a hint in Spanish";
        EXPECT_EQ(clickable, expected) << def.key;
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        const OptionsControl& c = controls[i];
        const Rect& r = c.rect;
        if (c.action != A::None) {
            EXPECT_GE(r.height, 24) << "control " << c.id;
        }
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= client.width &&
                    r.top + r.height <= client.height)
            << "control " << c.id << " inside the window";
        for (size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_NE(c.id, controls[j].id);
            EXPECT_FALSE(overlaps(r, controls[j].rect)) << c.id << " and " << controls[j].id;
        }
    }
}

// 700 pixels of rows in 500 of room: 200 to scroll, never past either end.
TEST(OptionsLayoutTest, OnAShortScreenTheClientScrollsNoFurtherThanItsRows) {
    EXPECT_EQ(fitOptions(700, 800).clientHeight, 700);
    EXPECT_EQ(fitOptions(700, 800).scrollRange, 0);
    const OptionsFit fit = fitOptions(700, 500);
    ASSERT_TRUE(fit.clientHeight == 500 && fit.scrollRange == 200);
    using S = OptionsScroll;
    const struct {
        int from;
        S how;
        int to, expected;
    } rows[] = {{0, S::LineDown, 0, 40}, {0, S::PageDown, 0, 200}, {200, S::LineDown, 0, 200},
                {30, S::LineUp, 0, 0},   {200, S::PageUp, 0, 0},   {0, S::To, 150, 150},
                {100, S::To, -80, 0},    {0, S::Bottom, 0, 200},   {120, S::Top, 0, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(scrollOptions(row.from, row.how, row.to, fit, 40), row.expected)
            << row.from << " by " << static_cast<int>(row.how);
    EXPECT_EQ(scrollOptions(0, S::LineDown, 0, fitOptions(700, 800), 40), 0) << "nothing to scroll";
}

TEST(OptionsLayoutTest, ControlsSayWhatTheyStandFor) {
    OptionValues v = optionsFrom("extra_cells = menu\r\nacceleration = 1\r\nscroll_interval_ms = 450");
    const struct {
        OptionsControl control;
        TextLanguage language;
        const char* text;
        bool pressed;
    } rows[] = {
        {controlOf(OPTION_SCROLL_INTERVAL_MS, A::None), TextLanguage::English, "Scroll interval (ms)", false},
        {controlOf(OPTION_EXTRA_CELLS, A::Cell, CELL_MENU), TextLanguage::Spanish, u8"Men\u00FA", true},
        {controlOf(OPTION_EXTRA_CELLS, A::Cell, CELL_SCROLL_UP), TextLanguage::English, "Scroll Up", false},
        {controlOf(OPTION_ACCELERATION, A::Toggle), TextLanguage::Spanish, u8"S\u00ED", true},
        {controlOf(OPTION_PANEL_STEPS_ASIDE, A::Toggle), TextLanguage::English, "Off", false},
        {controlOf(OPTION_LANGUAGE, A::Choose, LANGUAGE_AUTO), TextLanguage::English, "Automatic", true},
        {controlOf(OPTION_AFTER_MOVE, A::Choose, AFTER_MOVE_CLICKS), TextLanguage::Spanish, "Celdas de clic",
         false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(optionsControlText(row.control, v, row.language), row.text);
        EXPECT_EQ(optionsControlPressed(row.control, v), row.pressed) << row.text;
    }
    for (const OptionsControl& c : optionsControls())
        if (c.kind == OptionsControlKind::Value && c.option == OPTION_SCROLL_INTERVAL_MS) {
            EXPECT_EQ(optionsControlText(c, v, TextLanguage::English), "450");
        }
}

TEST_F(OptionsWindowTest, EveryScannedClickKindOverItIsAPrimaryClick) {
    const struct {
        int action;
        bool windowOpen;
        int dragging;
        Lines buttons;
    } rows[] = {
        {ACTION_LEFT_CLICK, true, 0, {"sendButton 2", "sendButton 4"}},
        {ACTION_RIGHT_CLICK, true, 0, {"sendButton 2", "sendButton 4"}},
        {ACTION_MIDDLE_CLICK, true, 0, {"sendButton 2", "sendButton 4"}},
        {ACTION_DOUBLE_CLICK, true, 0, {"sendButton 2", "sendButton 4"}},
        {ACTION_DRAG, true, 0, {"sendButton 2", "sendButton 4"}},
        {ACTION_LEFT_CLICK, true, 1, {"sendButton 4"}},
        {ACTION_RIGHT_CLICK, false, 0, {"sendButton 8", "sendButton 16"}},
    };
    for (const auto& row : rows) {
        open();
        if (!row.windowOpen) handleOptionsRequest(fake, OptionsRequest::Gone, 0);
        fake.onOwnWindow[1] = true;
        setDragging(row.dragging != 0);
        setPendingAction(row.action);
        performClick(fake);
        EXPECT_EQ(fake.calls("sendButton"), row.buttons) << "action " << row.action;
        EXPECT_EQ(clickState().dragging, 0);
        handleOptionsRequest(fake, OptionsRequest::Gone, 0);
        resetAll();
    }
}

} // namespace
} // namespace sp
