// The on-screen keyboard's window: a key per child window, whose text is its
// label so that screen readers and other programs can read the keys, the
// lit ones painted in the scan's highlight colour and named in the caption.
// The panel's thread runs the keyboard; this window only shows what
// keyboardView() says when told to, and never takes the focus: what is
// typed goes to the window the user works in.
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <vector>

#include "app/keyboard.h"
#include "config_window/own_windows.h"
#include "scan/cells.h"

namespace sp {

namespace {

constexpr DWORD KEYBOARD_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD KEYBOARD_EX_STYLE = WS_EX_NOACTIVATE | WS_EX_TOPMOST;
constexpr int FIRST_KEY_ID = 100;

// Touched only on the window's thread.
KeyboardView g_shown;
std::vector<HWND> g_keys;
// Short labels large; the named keys' words smaller, to fit their key.
Font g_font;
Font g_wordFont;
int g_fontFor = 0;

constexpr std::size_t LONGEST_LARGE_LABEL = 3;

std::wstring wide(const std::string& text) { return widen(text.c_str(), CP_UTF8); }

Rect outerRect(const KeyboardView& v) {
    RECT r{0, 0, v.columns * v.keySize, v.rows * v.keySize};
    AdjustWindowRectEx(&r, KEYBOARD_STYLE, FALSE, KEYBOARD_EX_STYLE);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int left = v.monitor.left + (v.monitor.width - width) / 2;
    const int top = v.atTop ? v.monitor.top : v.monitor.top + v.monitor.height - height;
    return {left, top, width, height};
}

// Every key as the view has it: labels, places, what is lit, the caption,
// and the window where the caret leaves room for it.
void show(HWND window) {
    const KeyboardView v = keyboardView();
    if (v.keySize <= 0) return;
    if (g_fontFor != v.keySize) {
        g_font.reset(makeSansFont(v.keySize * 2 / 5, FW_BOLD));
        g_wordFont.reset(makeSansFont(v.keySize / 4, FW_BOLD));
        g_fontFor = v.keySize;
    }
    const HINSTANCE instance = handles().instance;
    while (g_keys.size() < v.keys.size()) {
        const int id = FIRST_KEY_ID + static_cast<int>(g_keys.size());
        g_keys.push_back(CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, 0, 0, 0, 0, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                         nullptr));
    }
    for (std::size_t i = 0; i < g_keys.size(); ++i) {
        HWND control = g_keys[i];
        if (!control) continue;
        if (i >= v.keys.size()) {
            ShowWindow(control, SW_HIDE);
            continue;
        }
        const Key& k = v.keys[i];
        setTextIfChanged(control, wide(k.label));
        SetWindowPos(control, nullptr, k.column * v.keySize, k.row * v.keySize, k.span * v.keySize, v.keySize,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    const Rect place = outerRect(v);
    const bool moved = g_shown.keySize == 0 || !(place == outerRect(g_shown));
    g_shown = v;
    // Painted before the caption names them: the caption is the status
    // line, and what it says lit must be lit on the screen.
    for (HWND control : g_keys)
        if (control) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    setTextIfChanged(window, wide(v.caption));
    if (moved)
        SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void paintKey(const DRAWITEMSTRUCT& item) {
    const auto i = static_cast<std::size_t>(item.CtlID - FIRST_KEY_ID);
    const bool lit = i < g_shown.lit.size() && g_shown.lit[i];
    const Brush fill(CreateSolidBrush(static_cast<COLORREF>(lit ? COLOUR_HIGHLIGHT : COLOUR_NORMAL)));
    FillRect(item.hDC, &item.rcItem, fill.get());
    FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    wchar_t label[64] = L"";
    GetWindowTextW(item.hwndItem, label, 64);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(0, 0, 0));
    const bool word = wcslen(label) > LONGEST_LARGE_LABEL;
    HGDIOBJ old = SelectObject(item.hDC, word ? g_wordFont.get() : g_font.get());
    RECT text = item.rcItem;
    DrawTextW(item.hDC, label, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item.hDC, old);
}

LRESULT CALLBACK keyboardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: show(window); return 0;
    case WM_DRAWITEM: paintKey(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    // A key is pressed with the switch only, never clicked.
    case WM_COMMAND: return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

const OwnWindowKind KeyboardWindow{
    OwnWindow::Keyboard,
    L"SWITCHPOINT_KEYBOARD",
    L"TECLAT",
    [] { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)); },
    KEYBOARD_STYLE,
    KEYBOARD_EX_STYLE,
    [] { return outerRect(keyboardView()); },
    [] { return wide(keyboardView().caption); },
    [](HWND) {},
    keyboardWindowProc,
    [](HWND window, WindowAnswer answer) {
        if (answer == WindowAnswer::CloseNow)
            DestroyWindow(window);
        else
            show(window);
    },
    [] {
        g_keys.clear();
        g_font.reset();
        g_wordFont.reset();
        g_fontFor = 0;
        g_shown = KeyboardView{};
    },
    [](int what, int) { onKeyboardRequest(win32Platform(), what); },
    PLAIN_CLOSE,
    PLAIN_GONE,
};

} // namespace sp
