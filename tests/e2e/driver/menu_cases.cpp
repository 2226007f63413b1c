// The program's menu, from the notification-area icon (by the callback the
// shell sends to the menu's hidden window) and from the "Menu" cell. Under
// Wine a pointer move is undone while a menu is open, so a case puts the
// pointer on an item before the menu opens, or chooses with the keys.
#include "product.h"

namespace {

constexpr int PERIOD = 250;
constexpr wchar_t MENU_OWNER_CLASS[] = L"SWITCHPOINT_MENU";
constexpr wchar_t POPUP_MENU_CLASS[] = L"#32768";
constexpr wchar_t QUESTION_CLASS[] = L"#32770";
constexpr UINT TRAY_CALLBACK = WM_APP + 8;
// The menu's outer height here: four items and a separator.
constexpr int MENU_HEIGHT = 79;

// A shown window of the class that belongs to the product, or null.
HWND shownProductWindow(const e2e::Run& run, const wchar_t* cls) {
    const std::vector<HWND> shown = sp::shownProductWindows(run, cls);
    return shown.empty() ? nullptr : shown.front();
}

HWND waitForShown(const e2e::Run& run, const wchar_t* cls, int timeoutMs) {
    HWND found = nullptr;
    e2e::waitUntil([&] { return (found = shownProductWindow(run, cls)) != nullptr; }, timeoutMs);
    return found;
}

// A scanned left click at `at`: the pointer is put there, the scan walked
// to "Left Click" and the switch pressed.
bool scannedLeftClickAt(HWND panel, POINT at) {
    if (!e2e::mouseMoveTo(at.x, at.y)) return false;
    if (e2e::windowText(panel) == sp::READY) sp::tapSwitchKey();
    // A caption still naming the click just made is no highlight.
    e2e::waitUntil([&] { return e2e::windowText(panel) != L"Left Click"; }, 2 * PERIOD + 1000);
    if (!e2e::waitForCaption(panel, L"Left Click", 12 * PERIOD + 2000)) return false;
    sp::tapSwitchKey();
    return true;
}

// Yes and No, No the default, of the product's exit question.
void checkExitQuestion(e2e::Run& run, HWND question) {
    E2E_CHECK_EQ(e2e::windowText(question), std::wstring(L"switchpoint"), "the question's title");
    HWND no = GetDlgItem(question, IDNO);
    E2E_CHECK(GetDlgItem(question, IDYES) != nullptr && no != nullptr, "Yes and No");
    E2E_CHECK(no && (GetWindowLongW(no, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
              "No is the default button");
    E2E_CHECK(e2e::productRunning(run), "nothing has ended yet");
}

void checkAnsweredNo(e2e::Run& run) {
    E2E_CHECK(e2e::waitUntil([&] { return shownProductWindow(run, QUESTION_CLASS) == nullptr; }, 3000),
              "the question closes");
    e2e::pause(300);
    E2E_CHECK(e2e::productRunning(run), "with No the program goes on");
}

void checkEnded(e2e::Run& run, const std::string& how) {
    DWORD code = 1;
    E2E_CHECK(e2e::waitForExit(run, 5000, &code), how);
    E2E_CHECK_EQ(code, static_cast<DWORD>(0), "exit code");
}

} // namespace

// The icon opens the menu at the pointer and the switch scans while it is
// open. With the mouse as the switch a carer's keys work the menu: "Exit
// switchpoint" asks first and Enter there answers No; closing the panel
// with the menu open ends the program cleanly.
E2E_CASE(menu_opens_from_the_tray_icon) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 1)), "mouse switch");
    HWND panel = sp::startAndWaitForPanel(run, POINT{600, 300});
    if (!panel) return;
    HWND owner = e2e::waitForProductWindow(run, MENU_OWNER_CLASS, 3000);
    E2E_REQUIRE(owner != nullptr && !IsWindowVisible(owner), "the menu's hidden window");
    E2E_REQUIRE(e2e::postTo(owner, TRAY_CALLBACK, 1, WM_RBUTTONUP), "right click on the icon");
    HWND popup = waitForShown(run, POPUP_MENU_CLASS, 3000);
    E2E_REQUIRE(popup != nullptr, "a popup menu of the product opens");
    const RECT menu = e2e::windowRect(popup);
    E2E_CHECK(menu.left == 600 && menu.top == 300, "it opens at the pointer: " + e2e::rectText(menu));
    sp::clickHere();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", 2 * PERIOD + 2000),
              "the switch scans while the menu is open");
    e2e::requestScreenshot(run);

    e2e::keyTap(VK_UP); // the last item, "Exit switchpoint"
    e2e::keyTap(VK_RETURN);
    HWND question = waitForShown(run, QUESTION_CLASS, 3000);
    E2E_REQUIRE(question != nullptr, "Exit asks first");
    E2E_CHECK(shownProductWindow(run, POPUP_MENU_CLASS) == nullptr, "the menu has closed");
    checkExitQuestion(run, question);
    e2e::keyTap(VK_RETURN);
    checkAnsweredNo(run);

    E2E_REQUIRE(e2e::postTo(owner, TRAY_CALLBACK, 1, WM_LBUTTONUP), "left click on the icon");
    E2E_REQUIRE(waitForShown(run, POPUP_MENU_CLASS, 3000) != nullptr, "the menu opens again");
    E2E_REQUIRE(e2e::postTo(panel, WM_CLOSE, 0, 0), "the panel is closed");
    checkEnded(run, "the program ends with its menu open");
}

// The "Menu" cell opens the menu under the panel, never over it, and the
// scan starts again from the first cell. Scanned left clicks work the menu
// and the question, whose Yes ends the program.
E2E_CASE(menu_opens_from_the_menu_cell) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch");
    E2E_REQUIRE(sp::seedOptions(run, "extra_cells = menu\r\n"), "options.ini");
    // Where "Exit switchpoint", the last item, will be.
    const int panelBottom = sp::panelOuterHeight() + sp::CELL_SIZE;
    const POINT onExit{30, panelBottom + MENU_HEIGHT - 8};
    HWND panel = sp::startAndWaitForPanel(run, onExit);
    if (!panel) return;
    const RECT panelRect = e2e::windowRect(panel);
    E2E_CHECK_EQ(panelRect.bottom, panelBottom, "the panel has a third row");

    sp::tapSwitchKey();
    E2E_REQUIRE(e2e::waitForCaption(panel, L"Menu", 12 * PERIOD + 2000), "the scan reaches Menu");
    sp::tapSwitchKey();
    HWND popup = waitForShown(run, POPUP_MENU_CLASS, 3000);
    E2E_REQUIRE(popup != nullptr, "a popup menu of the product opens");
    const RECT menu = e2e::windowRect(popup);
    E2E_CHECK(menu.top == panelRect.bottom && menu.left == panelRect.left,
              "under the panel, not over it: " + e2e::rectText(menu));
    E2E_CHECK_EQ(menu.bottom - menu.top, MENU_HEIGHT, "the menu's height, as the pointer was placed for");
    const std::vector<sp::CaptionChange> next = sp::watchCaptions(panel, 1, 2 * PERIOD + 2000);
    sp::checkCaptions(run, next, {L"STOP"}, "the scan starts again at the first cell");
    e2e::requestScreenshot(run);

    E2E_REQUIRE(scannedLeftClickAt(panel, onExit), "scanned click on Exit");
    HWND question = waitForShown(run, QUESTION_CLASS, 3000);
    E2E_REQUIRE(question != nullptr, "Exit asks first");
    checkExitQuestion(run, question);
    const RECT yes = e2e::windowRect(GetDlgItem(question, IDYES));
    E2E_REQUIRE(scannedLeftClickAt(panel, POINT{(yes.left + yes.right) / 2, (yes.top + yes.bottom) / 2}),
                "scanned click on Yes");
    checkEnded(run, "Yes ends the program");
}
