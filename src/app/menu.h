// The program's menu: its items, what each does, and whether it is open.
// It is opened from the notification-area icon, a right click on the panel
// and the "Menu" cell; the platform shows it on a thread of its own, so the
// scan, the movement and the clicks go on while it is open, and it is
// worked with scanned clicks like any other menu.
#pragma once

#include <atomic>
#include <vector>

#include "platform/platform.h"

namespace sp {

// The items' ids, as the platform hands the choice back; 0 is no choice.
enum MenuItem : int {
    MENU_NONE = 0,
    MENU_SETTINGS = 1,
    MENU_MORE_OPTIONS = 2,
    MENU_USER_GUIDE = 3,
    MENU_EXIT = 4,
};

// Every text the menu shows, by key; the table keeps one column a language.
enum MenuText : int {
    TEXT_SETTINGS,
    TEXT_MORE_OPTIONS,
    TEXT_USER_GUIDE,
    TEXT_EXIT,
    TEXT_EXIT_TITLE,
    TEXT_EXIT_QUESTION,
    MENU_TEXT_COUNT
};
const char* menuText(MenuText key);

struct MenuState {
    // 1 from the menu's showing until its choice has been carried out,
    // through the exit question if it asks one. Panel's thread only writes.
    std::atomic<int> open{0};
};
const MenuState& menuState();
void resetMenuState();

// The entries as they would be shown now: an item whose window cannot open
// now is grey.
std::vector<MenuEntry> menuEntries();

// Shows the menu unless it is open already.
void openMenu(Platform& p, MenuPlace place);
// The "Menu" cell was pressed: the menu at the panel, and the scan on from
// the first cell.
void openMenuFromCell(Platform& p);
// A cell that opens one of the program's own windows was pressed: the
// window, and the scan on from the first cell.
void openWindowFromCell(Platform& p, OwnWindow window);
// A right click on the panel, a carer's or a scanned one.
void openMenuFromPanel(Platform& p);
// The platform's answers, on the panel's thread.
void onMenuChosen(Platform& p, int item);
void onExitAnswered(Platform& p, bool yes);
// The panel is closing: nothing of the menu may outlive it.
void endMenu(Platform& p);

} // namespace sp
