// The program's menu: what each item does, which are grey, when it opens,
// the exit question, and the "Menu" cell of the third row.
#include "test_state.h"

namespace sp {
namespace {

struct ChoiceCase {
    const char* name;
    int item;
    bool configOpen, optionsOpen, questionShown;
    int answer; // to the exit question: -1 none yet, 0 no, 1 yes
    bool enabled;
    Lines effects;
    int openAfter; // the menu counts as open while its question is up
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class MenuChoiceTest : public LogicTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(MenuChoiceTest, EachItemIsGreyOrDoesItsOneThing) {
    const ChoiceCase& c = GetParam();
    useDefaults();
    ownWindowStateForTests(OwnWindow::Settings).open = c.configOpen ? 1 : 0;
    ownWindowStateForTests(OwnWindow::Options).open = c.optionsOpen ? 1 : 0;
    openMenu(fake, MenuPlace::Pointer);
    ASSERT_EQ(menuState().open, 1);
    bool enabled = false;
    for (const MenuEntry& e : fake.shownMenu) enabled = enabled || (e.id == c.item && e.enabled);
    EXPECT_EQ(enabled, c.enabled);
    fake.menuThreadUp = c.questionShown;
    fake.clearLog();
    onMenuChosen(fake, c.item);
    if (c.answer >= 0) onExitAnswered(fake, c.answer == 1);
    Lines effects;
    for (const std::string& line : fake.log)
        if (line.rfind("closeArm", 0) != 0) effects.push_back(line);
    EXPECT_EQ(effects, c.effects);
    EXPECT_EQ(menuState().open, c.openAfter);
}

const std::string ASK = std::string("askYesNo switchpoint: ") + menuText(TEXT_EXIT_QUESTION);
using C = ChoiceCase;

INSTANTIATE_TEST_SUITE_P(
    Items, MenuChoiceTest,
    ::testing::Values(
        C{"settingsOpensTheWindow", MENU_SETTINGS, false, false, true, -1, true, {"openConfigWindow"}, 0},
        C{"settingsGreyWhileOpen", MENU_SETTINGS, true, false, true, -1, false, {}, 0},
        C{"moreOptionsOpensTheWindow",
          MENU_MORE_OPTIONS,
          false,
          false,
          true,
          -1,
          true,
          {"openOptionsWindow"},
          0},
        C{"moreOptionsOpenStaysAsItIs", MENU_MORE_OPTIONS, false, true, true, -1, true, {}, 0},
        C{"guideBesideTheExe", MENU_USER_GUIDE, false, false, true, -1, true, {"openPage guide.html"}, 0},
        C{"exitOnlyAsks", MENU_EXIT, false, false, true, -1, true, {ASK}, 1},
        C{"exitNo", MENU_EXIT, false, false, true, 0, true, {ASK}, 0},
        C{"exitYesClosesThePanel", MENU_EXIT, false, false, true, 1, true, {ASK, "closePanelWindow"}, 0},
        C{"exitWithNoQuestionShownStays", MENU_EXIT, false, false, false, -1, true, {ASK}, 0},
        C{"dismissed", MENU_NONE, false, false, true, -1, false, {}, 0},
        C{"unknownItem", 99, false, false, true, -1, false, {}, 0}),
    CaseName());

TEST_F(LogicTest, MenuOpensOnceAtATimeAndOnlyWhileThePanelIsUp) {
    useDefaults();
    openMenu(fake, MenuPlace::Pointer);
    openMenuFromPanel(fake);
    onMenuChosen(fake, MENU_NONE);
    openMenuFromPanel(fake);
    EXPECT_EQ(fake.calls("showMenu"), (Lines{"showMenu pointer", "showMenu panel"})) << "one at a time";
    onMenuChosen(fake, MENU_NONE);
    fake.menuThreadUp = false;
    openMenu(fake, MenuPlace::Pointer);
    EXPECT_EQ(menuState().open, 0) << "a menu never shown is not open, so the next try shows it";
    fake.menuThreadUp = true;
    openMenu(fake, MenuPlace::Pointer);
    fake.clearLog();
    closePanel(fake);
    EXPECT_EQ(fake.calls("endMenu").size(), 1u);
    EXPECT_EQ(menuState().open, 0);
    fake.clearLog();
    openMenu(fake, MenuPlace::Pointer);
    onMenuChosen(fake, MENU_SETTINGS);
    onExitAnswered(fake, true);
    EXPECT_EQ(fake.log, Lines{}) << "after closing, late answers do nothing";
}

// Listed like the scroll cells; a press opens the menu at the panel and the
// scan goes on from the first cell, also when the menu is already open.
TEST_F(LogicTest, TheMenuCellOpensTheMenuAndTheScanStartsAgainAtTheFirstCell) {
    useOptions(parseOptions("extra_cells = menu scroll_up").values);
    layOutListedCells();
    useDefaults();
    EXPECT_EQ(scanCells(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, CELL_MENU, CELL_SCROLL_UP}));
    handleSwitchPress(fake);
    for (int press = 0; press < 2; ++press) {
        scanStateForTests().scanPos = static_cast<int>(scanCells().size()) - 1; // Menu is lit next
        scanStep(fake);
        ASSERT_EQ(scanState().highlightedCell, CELL_MENU);
        fake.clearLog();
        handleSwitchPress(fake);
        EXPECT_EQ(fake.calls("showMenu"), press == 0 ? Lines{"showMenu panel"} : Lines{})
            << "press " << press;
        EXPECT_TRUE(fake.calls("sendButton").empty());
        EXPECT_EQ(pressState(), PressState::Scanning);
        EXPECT_EQ(fake.timerPeriod[TIMER_SCAN], live().liveScanPeriodMs);
        EXPECT_EQ(highlights(2), (std::vector<int>{0, 1})) << "press " << press;
    }
}

} // namespace
} // namespace sp
