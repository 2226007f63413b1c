// The program's menu: one table of items, their texts and their effects.
#include "app/menu.h"

#include "app/panel.h"
#include "config_window/config_state.h"
#include "config_window/links.h"
#include "config_window/options_window.h"
#include "config_window/own_windows.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/settings.h"

namespace sp {

namespace {

// What the cell opened takes no press: the scan starts over from its first cell.
void scanOnFromCell(Platform& p) {
    setPressState(PressState::Scanning);
    rewindScan();
    startScanTimer(p);
}

// One column a language; a language added is one more column here.
struct TextRow {
    MenuText key;
    const char* english;
};
constexpr TextRow TEXTS[MENU_TEXT_COUNT] = {
    {TEXT_SETTINGS, "Settings..."},
    {TEXT_MORE_OPTIONS, "More options..."},
    {TEXT_USER_GUIDE, "User guide"},
    {TEXT_EXIT, "Exit switchpoint"},
    {TEXT_EXIT_TITLE, "switchpoint"},
    {TEXT_EXIT_QUESTION, "Exit switchpoint?\n\nThe switch will no longer move the pointer until "
                         "switchpoint is started again."},
};

MenuState g_menu;

// Once the panel has closed, the menu's late answers find nothing to do.
bool panelClosed() { return panelState().closed == 1; }

bool settingsCanOpen() { return ownWindowState(OwnWindow::Settings).open == 0; }
bool always() { return true; }

void openSettings(Platform& p) {
    if (settingsCanOpen()) openConfigFromPanel(p);
}

// Open already, it stays as it is.
void openMoreOptions(Platform& p) { openOptionsWindow(p); }

void openGuide(Platform& p) { p.openPageBesideExe(GUIDE_PAGE); }

// Exit costs a one-switch user the mouse: it only ever asks.
void askToExit(Platform& p) {
    if (p.askYesNo(menuText(TEXT_EXIT_TITLE), menuText(TEXT_EXIT_QUESTION))) g_menu.open = 1;
}

struct ItemRow {
    MenuItem item;
    MenuText text;
    bool separated;
    bool (*available)();
    void (*choose)(Platform&);
};
constexpr ItemRow ITEMS[] = {
    {MENU_SETTINGS, TEXT_SETTINGS, false, settingsCanOpen, openSettings},
    {MENU_MORE_OPTIONS, TEXT_MORE_OPTIONS, false, always, openMoreOptions},
    {MENU_USER_GUIDE, TEXT_USER_GUIDE, false, always, openGuide},
    {MENU_EXIT, TEXT_EXIT, true, always, askToExit},
};

} // namespace

const char* menuText(MenuText key) {
    for (const TextRow& row : TEXTS)
        if (row.key == key) return row.english;
    return "";
}

const MenuState& menuState() { return g_menu; }

void resetMenuState() { g_menu.open = 0; }

std::vector<MenuEntry> menuEntries() {
    std::vector<MenuEntry> entries;
    for (const ItemRow& row : ITEMS)
        entries.push_back({row.item, menuText(row.text), row.available(), row.separated});
    return entries;
}

void openMenu(Platform& p, MenuPlace place) {
    if (g_menu.open == 1 || panelClosed()) return;
    const std::vector<MenuEntry> entries = menuEntries();
    g_menu.open = p.showMenu(entries.data(), static_cast<int>(entries.size()), place) ? 1 : 0;
}

void openMenuFromCell(Platform& p) {
    openMenu(p, MenuPlace::Panel);
    scanOnFromCell(p);
}

void openWindowFromCell(Platform& p, OwnWindow window) {
    openOwnWindow(p, window);
    scanOnFromCell(p);
}

void openMenuFromPanel(Platform& p) { openMenu(p, MenuPlace::Panel); }

void onMenuChosen(Platform& p, int item) {
    g_menu.open = 0;
    if (panelClosed()) return;
    for (const ItemRow& row : ITEMS)
        // Rechecked: what the item opens may have opened another way since.
        if (row.item == item && row.available()) row.choose(p);
}

void onExitAnswered(Platform& p, bool yes) {
    g_menu.open = 0;
    if (yes && !panelClosed()) p.closePanelWindow();
}

void endMenu(Platform& p) {
    p.endMenu();
    g_menu.open = 0;
}

} // namespace sp
