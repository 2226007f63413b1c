// The pointer moves, buttons, wheel turns and keys the program synthesises,
// each marked as its own, with what Wine needs to keep them where they are
// meant.
#include "platform/win32/win32_platform.h"

#include <vector>

namespace sp {

namespace {
bool underWine() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// The pixel from the virtual screen's edge that a normalised 0..65535
// coordinate stands for, rounded as the system rounds it.
int pixelOf(int normalised, int extent) {
    return static_cast<int>((static_cast<long long>(normalised) * (extent - 1) + 32767) / 65535);
}

// The absolute coordinate that the system maps back to exactly `pixel` of
// `extent` pixels (it maps n to n * extent / 65536, rounded down).
LONG exactAbsolute(LONG pixel, int extent) {
    if (extent <= 0) return 0;
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}
} // namespace

void Win32Platform::sendAbsoluteMove(int normX, int normY) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normX;
    input.mi.dy = normY;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    input.mi.dwExtraInfo = OWN_INPUT_MARK;
    // Under Wine the X pointer does not follow a move that a low-level hook
    // holds up, so the next window that crosses the stale X pointer puts the
    // pointer back there with an unmarked move, which would read as a hand.
    // Placing it first keeps the two together; the move still goes as input.
    if (underWine())
        SetCursorPos(
            GetSystemMetrics(SM_XVIRTUALSCREEN) + pixelOf(normX, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
            GetSystemMetrics(SM_YVIRTUALSCREEN) + pixelOf(normY, GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    SendInput(1, &input, sizeof(INPUT));
}

void Win32Platform::sendButton(unsigned buttonEvent) {
    // The button goes with where the pointer is, so it lands under the
    // crosshair: under Wine a button alone can land where the X server last
    // had the pointer, away from where the system says it is.
    POINT pt{0, 0};
    GetCursorPos(&pt);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx =
        exactAbsolute(pt.x - GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy =
        exactAbsolute(pt.y - GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.dwFlags = buttonEvent | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    input.mi.dwExtraInfo = OWN_INPUT_MARK;
    SendInput(1, &input, sizeof(INPUT));
#ifdef SWITCHPOINT_BENCH
    noteButtonSent();
#endif
}

void Win32Platform::sendWheel(int delta, bool horizontal) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = static_cast<DWORD>(delta);
    input.mi.dwFlags = horizontal ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
    input.mi.dwExtraInfo = OWN_INPUT_MARK;
    SendInput(1, &input, sizeof(INPUT));
}

namespace {

INPUT keyInput(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    input.ki.dwExtraInfo = OWN_INPUT_MARK;
    return input;
}

void pressAndRelease(std::vector<INPUT>& out, WORD vk, WORD scan, DWORD flags) {
    out.push_back(keyInput(vk, scan, flags));
    out.push_back(keyInput(vk, scan, flags | KEYEVENTF_KEYUP));
}

} // namespace

// One SendInput for all of it, so that nothing the user's hand does can
// come between its keys.
void Win32Platform::typeKeys(const std::u32string& keys) {
    std::vector<INPUT> inputs;
    for (const char32_t c : keys) {
        if (c == U'\b') {
            pressAndRelease(inputs, VK_BACK, 0, 0);
        } else if (c == U'\n') {
            pressAndRelease(inputs, VK_RETURN, 0, 0);
        } else if (c > 0xFFFF) {
            // Outside the basic plane: the two halves of its UTF-16 pair.
            const char32_t v = c - 0x10000;
            pressAndRelease(inputs, 0, static_cast<WORD>(0xD800 + (v >> 10)), KEYEVENTF_UNICODE);
            pressAndRelease(inputs, 0, static_cast<WORD>(0xDC00 + (v & 0x3FF)), KEYEVENTF_UNICODE);
        } else {
            pressAndRelease(inputs, 0, static_cast<WORD>(c), KEYEVENTF_UNICODE);
        }
    }
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

// The focus and the caret of the window the user works in.
bool foregroundThreadInfo(GUITHREADINFO& info) {
    info = GUITHREADINFO{};
    info.cbSize = sizeof info;
    HWND foreground = GetForegroundWindow();
    return foreground && GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info);
}

} // namespace

// When in doubt, a password: learning must never take one.
bool Win32Platform::focusIsPassword() {
    GUITHREADINFO info;
    if (!foregroundThreadInfo(info) || !info.hwndFocus) return false;
    HWND focus = info.hwndFocus;
    if ((GetWindowLongW(focus, GWL_STYLE) & ES_PASSWORD) != 0) return true;
    // An edit control that hides its text answers with the character it shows instead.
    DWORD_PTR shown = 0;
    if (!SendMessageTimeoutW(focus, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG, 100, &shown)) return true;
    return shown != 0;
}

bool Win32Platform::caretRect(Rect& caret) {
    GUITHREADINFO info;
    if (!foregroundThreadInfo(info) || !info.hwndCaret) return false;
    RECT r = info.rcCaret;
    MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
    caret = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    return true;
}

} // namespace sp
