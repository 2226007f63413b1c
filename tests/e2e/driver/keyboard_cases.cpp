// The on-screen keyboard, used as a one-switch user uses it: opened from its
// cell, typed with presses alone into a window of the driver's, closed
// from its Close key.
#include "product.h"

#include <cwctype>

namespace {

constexpr wchar_t KEYBOARD_CLASS[] = L"SWITCHPOINT_KEYBOARD";
constexpr int PERIOD = 400;
constexpr int TYPED_SETTLE_MS = 40;

bool sameLetters(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// The lit keys' labels, as the caption lists them.
std::vector<std::wstring> litLabels(HWND keyboard) {
    std::vector<std::wstring> labels;
    const std::wstring caption = e2e::windowText(keyboard);
    size_t from = 0;
    while (from <= caption.size()) {
        const size_t end = std::min(caption.find(L' ', from), caption.size());
        if (end > from) labels.push_back(caption.substr(from, end - from));
        from = end + 1;
    }
    return labels;
}

// What the user wants lit next to bring `typed` closer to `target`: the
// next character, Space, Delete after a mistake, or the whole word as a
// prediction (which types the space after it too).
bool worthAPress(const std::vector<std::wstring>& lit, const std::wstring& typed,
                 const std::wstring& target) {
    const bool onCourse = typed.size() < target.size() && sameLetters(typed, target.substr(0, typed.size()));
    for (const std::wstring& label : lit) {
        if (!onCourse) {
            if (label == L"Delete") return true;
            continue;
        }
        const wchar_t next = target[typed.size()];
        if (next == L' ' ? label == L"Space"
                         : (label.size() == 1 && sameLetters(label, std::wstring(1, next))))
            return true;
        const size_t wordStart = target.rfind(L' ', typed.size() == 0 ? 0 : typed.size() - 1);
        const size_t start = wordStart == std::wstring::npos || typed.empty() ? 0 : wordStart + 1;
        const size_t end = target.find(L' ', start);
        if (end != std::wstring::npos && label.size() > 1 &&
            sameLetters(label, target.substr(start, end - start)))
            return true;
    }
    return false;
}

// Presses while what is lit is worth a press, and lets the scan go on
// otherwise, until `done` holds.
bool driveKeyboard(HWND keyboard, int timeoutMs,
                   const std::function<bool(const std::vector<std::wstring>&)>& press,
                   const std::function<bool()>& done) {
    std::wstring seen;
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (GetTickCount64() < until) {
        if (done()) return true;
        const std::wstring caption = IsWindow(keyboard) ? e2e::windowText(keyboard) : L"";
        if (caption != seen) {
            seen = caption;
            // What a press typed reaches the window a moment after the
            // keyboard shows its next step; a user reads both.
            Sleep(TYPED_SETTLE_MS);
            if (press(litLabels(keyboard))) sp::tapSwitchKey();
        }
        Sleep(5);
    }
    return done();
}

HWND openKeyboard(e2e::Run& run, const char* options, HWND* panelOut = nullptr) {
    if (!E2E_CHECK(sp::seedSettings(run, sp::settingsText(L"1 1 1 1 1", 2, PERIOD, 0)), "keyboard switch") ||
        !E2E_CHECK(sp::seedOptions(run, options), "options.ini"))
        return nullptr;
    HWND panel = sp::startAndWaitForPanel(run);
    if (!panel) return nullptr;
    if (panelOut) *panelOut = panel;
    sp::tapSwitchKey();
    if (!E2E_CHECK(e2e::waitForCaption(panel, L"Keyboard", 14 * PERIOD + 2000), "the scan reaches Keyboard"))
        return nullptr;
    sp::tapSwitchKey();
    HWND keyboard = e2e::waitForProductWindow(run, KEYBOARD_CLASS, 3000);
    E2E_CHECK(keyboard != nullptr, "the Keyboard cell opens the keyboard");
    return keyboard;
}

} // namespace

E2E_CASE(keyboard_types_hello_world) {
    e2e::TestWindow user;
    E2E_REQUIRE(user.open(RECT{200, 150, 700, 400}, L"e2e typing window"), "user window opens");
    HWND keyboard = openKeyboard(run, "extra_cells = keyboard\r\nlanguage = en\r\n");
    if (!keyboard) return;
    // As the user's scanned click would have put it.
    E2E_REQUIRE(user.bringToFront(), "user window has the focus");

    // The lit keys are painted in the highlight colour.
    // Read at once after a step, while it is still lit.
    const std::wstring opened = e2e::windowText(keyboard);
    e2e::waitUntil([&] { return e2e::windowText(keyboard) != opened; }, 2 * PERIOD);
    const std::vector<std::wstring> first = litLabels(keyboard);
    HWND key = first.empty() ? nullptr : FindWindowExW(keyboard, nullptr, L"Button", first[0].c_str());
    E2E_REQUIRE(key != nullptr, "the first lit key is a child window labelled " +
                                    e2e::narrow(first.empty() ? L"(none)" : first[0]));
    const RECT k = e2e::windowRect(key);
    // Read from the screen, which the display may bring up to date a moment later.
    COLORREF px = 0;
    e2e::waitUntil(
        [&] { return (px = e2e::screenPixel((k.left + k.right) / 2, k.top + 3)) == RGB(0, 255, 0); },
        PERIOD / 4);
    E2E_CHECK(px == RGB(0, 255, 0), "a lit key is green: " + std::to_string(px));

    const std::wstring target = L"hello world ";
    const bool typed = driveKeyboard(
        keyboard, 40000,
        [&](const std::vector<std::wstring>& lit) { return worthAPress(lit, user.typedText(), target); },
        [&] { return user.typedText().size() >= target.size() && sameLetters(user.typedText(), target); });
    e2e::requestScreenshot(run);
    E2E_CHECK(typed, "typed with presses alone: [" + e2e::narrow(user.typedText()) + "]");
    E2E_CHECK(user.typedText() == L"Hello world ", "a sentence starts with a capital by itself");
    E2E_CHECK(user.hasFocus(), "the user's window kept the focus");
}

E2E_CASE(keyboard_close_returns_to_the_panel_scan) {
    HWND panel = nullptr;
    HWND keyboard = openKeyboard(run, "extra_cells = keyboard menu\r\nlanguage = en\r\n", &panel);
    if (!keyboard) return;
    const bool closed = driveKeyboard(
        keyboard, 20000,
        [](const std::vector<std::wstring>& lit) {
            for (const std::wstring& label : lit)
                if (label == L"Close") return true;
            return false;
        },
        [&] { return !IsWindow(keyboard); });
    E2E_REQUIRE(closed, "Close closes the keyboard");
    const std::vector<sp::CaptionChange> next = sp::watchCaptions(panel, 1, 2 * PERIOD + 1000);
    sp::checkCaptions(run, next, {L"Menu"}, "the panel's scan goes on from the Keyboard cell");
}

namespace {

// The guide's picture of a scan: "he" typed, so the predictions show, and
// the next step lit.
void keyboardPicture(e2e::Run& run, const char* scan) {
    e2e::TestWindow user;
    E2E_REQUIRE(user.open(RECT{200, 150, 700, 400}, L"Notes"), "user window opens");
    HWND keyboard =
        openKeyboard(run, (std::string("extra_cells = keyboard\r\nlanguage = en\r\n") + scan).c_str());
    if (!keyboard) return;
    E2E_REQUIRE(user.bringToFront(), "user window has the focus");
    const std::wstring target = L"he";
    E2E_REQUIRE(
        driveKeyboard(
            keyboard, 20000,
            [&](const std::vector<std::wstring>& lit) { return worthAPress(lit, user.typedText(), target); },
            [&] { return user.typedText() == L"He"; }),
        "\"He\" typed");
    const std::wstring now = e2e::windowText(keyboard);
    e2e::waitUntil([&] { return e2e::windowText(keyboard) != now; }, 2 * PERIOD);
    // make screenshots cuts the picture to this area.
    e2e::log(run, "area " + e2e::rectText(e2e::windowRect(keyboard)));
    e2e::requestScreenshot(run);
}

} // namespace

E2E_CASE(screenshot_keyboard_groups) { keyboardPicture(run, "keyboard_scan = groups\r\n"); }
E2E_CASE(screenshot_keyboard_rows) { keyboardPicture(run, "keyboard_scan = rows\r\n"); }
