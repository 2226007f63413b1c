// Click cases: each scanned click kind arrives at a window of the driver's
// own, where the pointer is, with the buttons as the user has set them; the
// help box beside the pointer shows the highlighted cell and follows it.
#include <algorithm>

#include "product.h"

namespace {

constexpr int PERIOD = 250;
constexpr POINT AT{500, 400};

// Waits for the scan to reach `cell` and selects it; false if it never did.
bool selectCell(HWND panel, int cell) {
    if (!e2e::waitForCaption(panel, sp::SCAN_CAPTIONS[cell], 12 * PERIOD + 1000)) return false;
    sp::tapSwitchKey();
    return true;
}

std::string messageName(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return "LDOWN";
    case WM_LBUTTONUP: return "LUP";
    case WM_RBUTTONDOWN: return "RDOWN";
    case WM_RBUTTONUP: return "RUP";
    case WM_MBUTTONDOWN: return "MDOWN";
    case WM_MBUTTONUP: return "MUP";
    case WM_LBUTTONDBLCLK: return "LDBL";
    default: return "0x" + std::to_string(message);
    }
}

// Button messages only, as names, each with where it landed.
std::string buttonsText(const std::vector<e2e::MouseMessage>& messages, bool* allAt, POINT at) {
    std::string out;
    *allAt = true;
    for (const auto& m : messages) {
        if (m.message == WM_MOUSEMOVE) continue;
        out += (out.empty() ? "" : " ") + messageName(m.message);
        if (m.client.x != at.x || m.client.y != at.y) {
            *allAt = false;
            out += "@" + std::to_string(m.client.x) + "," + std::to_string(m.client.y);
        }
    }
    return out;
}

void clicksArriveAsTheUserMeansThem(e2e::Run& run, bool swapped) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 5, PERIOD, 0, 0, 1)),
                "keyboard switch, every click kind, sound on");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e click target"), "target window opens");
    // Where the pointer is now, in the target's client coordinates. Wine
    // sometimes puts the pointer back where X last had it, so a click is
    // checked against the pointer of its own moment, not the parked one.
    const auto clientPointer = [&] {
        POINT p = e2e::cursorPos();
        ScreenToClient(target.handle(), &p);
        return p;
    };
    // The system maps physical buttons to the messages; the program must
    // send the physical button that means primary to this user.
    SwapMouseButton(swapped ? TRUE : FALSE);
    HWND panel = sp::startAndWaitForPanel(run, AT);
    if (!panel) {
        SwapMouseButton(FALSE);
        return;
    }
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitForCaption(panel, L"STOP", PERIOD + 1000), "the switch starts the scan");

    struct Kind {
        int cell;
        const char* name;
        const char* expected;
        const char* swappedExpected;
    };
    // Windows turns physical buttons into messages through the swap, so there
    // a primary click is always WM_LBUTTONDOWN. Wine hands the physical
    // buttons over as they are, so here the window sees the physical button
    // the program chose for this user: the right one when they are swapped.
    const Kind kinds[] = {{5, "left", "LDOWN LUP", "RDOWN RUP"},
                          {7, "right", "RDOWN RUP", "LDOWN LUP"},
                          {8, "middle", "MDOWN MUP", "MDOWN MUP"},
                          {6, "double", "LDOWN LUP LDOWN LUP", "RDOWN RUP RDOWN RUP"}};
    for (const Kind& kind : kinds) {
        const std::string expected = swapped ? kind.swappedExpected : kind.expected;
        target.takeMouseMessages();
        E2E_REQUIRE(selectCell(panel, kind.cell),
                    std::string("the scan reaches the ") + kind.name + " click");
        const POINT client = clientPointer();
        const size_t want = static_cast<size_t>(std::count(expected.begin(), expected.end(), ' ')) + 1;
        std::vector<sp::CaptionChange> next = sp::watchCaptions(panel, 1, 2500);
        const std::vector<e2e::MouseMessage> got = target.takeMouseMessagesUntil(want, 1500);
        bool allAt = false;
        E2E_CHECK_EQ(buttonsText(got, &allAt, client), expected, std::string(kind.name) + " click messages");
        E2E_CHECK(allAt, std::string(kind.name) + " click lands at the pointer (" + std::to_string(client.x) +
                             "," + std::to_string(client.y) + " in " +
                             e2e::rectText(e2e::windowRect(target.handle())) + ")");
        E2E_CHECK(!next.empty() && next[0].text == L"STOP", std::string("after the ") + kind.name +
                                                                " click the scan starts again at cell 0 (" +
                                                                sp::captionList(next) + ")");
    }

    // Drag: held while the program moves the pointer right, released at the end.
    target.takeMouseMessages();
    const POINT start = e2e::cursorPos();
    const POINT client = clientPointer();
    const long downs = target.received(WM_LBUTTONDOWN) + target.received(WM_RBUTTONDOWN);
    E2E_REQUIRE(selectCell(panel, 9), "the scan reaches the drag");
    E2E_CHECK(
        e2e::waitUntil(
            [&] { return target.received(WM_LBUTTONDOWN) + target.received(WM_RBUTTONDOWN) > downs; }, 1500),
        "the drag presses the button");
    E2E_REQUIRE(selectCell(panel, 2), "the scan reaches RIGHT with the button held");
    E2E_CHECK(e2e::waitUntil([&] { return e2e::cursorPos().x >= start.x + 40; }, 3000),
              "the pointer moves right");
    sp::tapSwitchKey();
    e2e::pause(200);
    const POINT end = e2e::cursorPos();
    E2E_REQUIRE(selectCell(panel, 9), "the scan reaches the drag again");
    const std::vector<e2e::MouseMessage> drag = target.takeMouseMessagesUntil(2, 2000);
    bool ignored = false;
    E2E_CHECK_EQ(buttonsText(drag, &ignored, client),
                 std::string(swapped ? "RDOWN RUP@" : "LDOWN LUP@") +
                     std::to_string(client.x + end.x - start.x) + "," +
                     std::to_string(client.y + end.y - start.y),
                 "the drag: one press where it began, one release where the pointer ended");
    size_t heldMoves = 0;
    for (const auto& m : drag) heldMoves += m.message == WM_MOUSEMOVE;
    E2E_CHECK(heldMoves > 0, "the window saw the pointer move with the button held");
    SwapMouseButton(FALSE);
}

// Where the help box belongs for a pointer at p on a 1024-pixel-wide screen.
RECT expectedHelpBox(POINT p) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const bool leftEdge = p.x < 60;
    const bool rightEdge = !leftEdge && p.x + 60 > width;
    const int x = rightEdge ? p.x - 60 : p.x + 20;
    const int y = p.y >= 60 ? p.y - 60 : (leftEdge || rightEdge ? p.y + 60 : p.y + 40);
    return RECT{x, y, x + 40, y + 40};
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The box's inside as a string of pixel colours, to tell two icons apart.
std::vector<COLORREF> boxPixels(const RECT& box) {
    e2e::ScreenGrab grab;
    if (!e2e::grabScreen(box, grab)) return {};
    return grab.pixels;
}

} // namespace

E2E_CASE(scanned_clicks) { clicksArriveAsTheUserMeansThem(run, false); }

E2E_CASE(scanned_clicks_swapped) { clicksArriveAsTheUserMeansThem(run, true); }

E2E_CASE(help_box) {
    constexpr int SLOW = 600;
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 5, SLOW, 0, 1, 0)),
                "keyboard switch, help box on");
    HWND panel = sp::startAndWaitForPanel(run, AT);
    if (!panel) return;
    // The start delay raises the crosshair with its box; the first press
    // builds them afresh.
    HWND first = e2e::waitForProductWindow(run, L"AYUDA", 4000);
    E2E_REQUIRE(first != nullptr, "the help box comes up with the crosshair after the start delay");
    sp::tapSwitchKey();
    HWND box = nullptr;
    e2e::waitUntil(
        [&] {
            box = e2e::findProductWindow(run, L"AYUDA");
            return box && box != first && IsWindowVisible(box);
        },
        2000);
    E2E_REQUIRE(box && box != first, "the press brings up a new box with the new crosshair");
    E2E_CHECK(e2e::waitUntil([&] { return IsWindowVisible(box) != 0; }, 1000), "and is shown");
    E2E_CHECK(e2e::waitUntil(
                  [&] { return sameRect(e2e::windowRect(box), expectedHelpBox(e2e::cursorPos())); }, 1000),
              "beside the pointer: " + e2e::rectText(e2e::windowRect(box)) + " for " +
                  e2e::rectText(expectedHelpBox(e2e::cursorPos())));
    const LONG_PTR exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
    E2E_CHECK((exStyle & WS_EX_NOACTIVATE) && (exStyle & WS_EX_TOPMOST), "topmost and never activated");
    E2E_CHECK(GetForegroundWindow() != box, "the box does not take the foreground");

    // Green inside its border, with the highlighted cell's icon on it.
    E2E_REQUIRE(e2e::waitForCaption(panel, L"LEFT", 2 * SLOW + 500), "scan reaches LEFT");
    e2e::pause(150);
    const RECT r = e2e::windowRect(box);
    E2E_CHECK_COLOUR(e2e::screenPixel(r.left + 2, r.top + 2), RGB(0, 255, 0), "green background");
    const std::vector<COLORREF> left = boxPixels(r);
    size_t notGreen = 0;
    for (COLORREF c : left) notGreen += c != RGB(0, 255, 0);
    E2E_CHECK(notGreen > 100, "an icon is drawn on the box (" + std::to_string(notGreen) + " pixels)");
    E2E_REQUIRE(e2e::waitForCaption(panel, L"RIGHT", SLOW + 500), "scan reaches RIGHT");
    e2e::pause(150);
    E2E_CHECK(boxPixels(r) != left, "the icon changes with the highlighted cell");

    // It follows the pointer while the program moves it, and stays beside it.
    const POINT before = e2e::cursorPos();
    sp::tapSwitchKey();
    E2E_CHECK(e2e::waitUntil([&] { return e2e::cursorPos().x >= before.x + 60; }, 3000),
              "the pointer moves right");
    const bool following = sameRect(e2e::windowRect(box), expectedHelpBox(e2e::cursorPos())) ||
                           e2e::windowRect(box).left > r.left;
    sp::tapSwitchKey();
    E2E_CHECK(following, "the box moves during the movement");
    e2e::pause(300);
    const POINT rest = e2e::cursorPos();
    E2E_CHECK(e2e::waitUntil([&] { return sameRect(e2e::windowRect(box), expectedHelpBox(rest)); }, 1000),
              "and ends beside the pointer: " + e2e::rectText(e2e::windowRect(box)) + " for " +
                  e2e::rectText(expectedHelpBox(rest)));

    e2e::requestScreenshot(run);

    // Escape stops everything: the box goes with the crosshair.
    e2e::keyTap(VK_ESCAPE);
    E2E_CHECK(e2e::waitUntil(
                  [&] {
                      HWND shown = e2e::findProductWindow(run, L"AYUDA");
                      return sp::findArm(run, sp::ARM_LEFT) == nullptr && (!shown || !IsWindowVisible(shown));
                  },
                  2000),
              "Escape closes the box with the arms");
}

// A drag held when the session locks, or ends, is let go at once: the user
// cannot reach the panel to end it, and a button left down outlives us.
E2E_CASE(drag_let_go_at_lock_and_session_end) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 5, PERIOD, 0)), "keyboard switch");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e drag target"), "target window opens");
    HWND panel = sp::startAndWaitForPanel(run, AT);
    if (!panel) return;
    sp::tapSwitchKey();
    const struct {
        UINT message;
        WPARAM wParam;
        const char* what;
    } ends[] = {{WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, "the session locks"},
                {WM_ENDSESSION, TRUE, "the session ends"}};
    for (const auto& end : ends) {
        const long downs = target.received(WM_LBUTTONDOWN);
        const long ups = target.received(WM_LBUTTONUP);
        // The caption still names the drag just taken until the restarted
        // scan's first step; that is no highlight to select.
        e2e::waitUntil([&] { return e2e::windowText(panel) != sp::SCAN_CAPTIONS[9]; }, 2 * PERIOD + 1000);
        E2E_REQUIRE(selectCell(panel, 9), std::string("the scan reaches the drag before ") + end.what);
        E2E_REQUIRE(e2e::waitUntil([&] { return target.received(WM_LBUTTONDOWN) > downs; }, 1500),
                    "the drag holds the button");
        E2E_CHECK(target.received(WM_LBUTTONUP) == ups, "and keeps it down");
        if (end.message == WM_ENDSESSION) e2e::sendTo(panel, WM_QUERYENDSESSION, 0, 0);
        E2E_CHECK(e2e::sendTo(panel, end.message, end.wParam, 0),
                  std::string("the panel is told ") + end.what);
        E2E_CHECK(e2e::waitUntil([&] { return target.received(WM_LBUTTONUP) > ups; }, 1000),
                  std::string("the button is let go when ") + end.what);
    }
    // Everything stopped: no scan step changes the caption any more.
    const std::wstring last = e2e::windowText(panel);
    E2E_CHECK(sp::watchCaptions(panel, 1, 3 * PERIOD, nullptr, &last).empty(), "the scan has stopped");
}

// Keyboard switch: presses while a scanned click is under way (its wait,
// its button events, its sound) and right after it stay with the product:
// none is typed into the window under the pointer, and none clicks again.
E2E_CASE(presses_during_a_click_go_nowhere) {
    E2E_REQUIRE(sp::seedSettings(run, sp::settingsText(L"1 0 0 0 0", 2, PERIOD, 0, 0, 1)),
                "keyboard switch, left click only, click sound on");
    e2e::TestWindow target;
    E2E_REQUIRE(target.open(RECT{300, 250, 760, 560}, L"e2e click target"), "target window opens");
    HWND panel = sp::startAndWaitForPanel(run, AT);
    if (!panel) return;
    E2E_REQUIRE(target.bringToFront(), "target window has the keyboard focus");
    sp::tapSwitchKey();
    E2E_REQUIRE(selectCell(panel, 5), "the scan reaches the left click");
    const ULONGLONG selected = GetTickCount64();
    const long keys = target.received(WM_KEYDOWN);
    const long chars = target.received(WM_CHAR);
    const long downs = target.received(WM_LBUTTONDOWN);

    std::string late;
    // The click's buttons go some 610 ms after the selection, and the first
    // step of the restarted scan a period after the sound.
    for (int ms : {150, 350, 550, 650, 750}) {
        while (GetTickCount64() - selected < static_cast<ULONGLONG>(ms)) e2e::pause(2);
        const ULONGLONG at = GetTickCount64() - selected;
        if (at > static_cast<ULONGLONG>(ms) + 60) late += " " + std::to_string(at);
        sp::tapSwitchKey();
    }
    const std::wstring after = e2e::windowText(panel);
    E2E_CHECK(late.empty(), "the presses went on time (late:" + late + " ms)");
    E2E_CHECK(e2e::waitUntil([&] { return target.received(WM_LBUTTONDOWN) > downs; }, 1500),
              "the scanned click reaches the target");
    const std::vector<sp::CaptionChange> scan =
        sp::watchCaptions(panel, 2, 3 * PERIOD + 1000, nullptr, &after);
    e2e::pause(300);
    E2E_CHECK_EQ(target.received(WM_KEYDOWN) - keys, 0L, "no press reaches the target as a key");
    E2E_CHECK_EQ(target.received(WM_CHAR) - chars, 0L, "nor as a typed character");
    E2E_CHECK_EQ(target.received(WM_LBUTTONDOWN) - downs, 1L, "one click, none after it");
    sp::checkCaptions(run, scan, {L"STOP", L"LEFT"}, "the scan restarts from the first cell and goes on");
}
