// The options window: its thread, its controls built from the options
// layout, and the messages that hand each click to the panel's thread,
// which carries it out and answers. Like the settings window it never takes
// the focus (the keyboard may be the user's switch) and never waits for the
// panel's thread.
#include "platform/win32/gdi.h"
#include "platform/win32/win32_platform.h"

#include <algorithm>

#include "config_window/options_window.h"
#include "platform/scale.h"

namespace sp {

namespace {

constexpr wchar_t OPTIONS_CLASS[] = L"SWITCHPOINT_OPTIONS";
constexpr DWORD OPTIONS_STYLE = WS_CAPTION | WS_SYSMENU | WS_VSCROLL;
constexpr DWORD OPTIONS_EX_STYLE = WS_EX_NOACTIVATE | WS_EX_TOPMOST;

// Owned by the window and touched only on its thread.
struct Fonts {
    Font label;
    Font hint;
    Font control;
};
Fonts g_fonts;
// How the client fits the screen and how far it is scrolled, in pixels at
// the window's scale.
OptionsFit g_fit{0, 0};
int g_scrolled = 0;
int g_dpi = 96;

bool request(OptionsRequest what, int value = 0) {
    return requestFromOwnWindow(OwnWindow::Options, static_cast<int>(what), value);
}

struct KindClass {
    const wchar_t* className;
    DWORD style;
    HFONT font;
};

KindClass classFor(OptionsControlKind kind) {
    switch (kind) {
    case OptionsControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX, g_fonts.label.get()};
    case OptionsControlKind::Hint:
        return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, g_fonts.hint.get()};
    case OptionsControlKind::Value:
        return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN | SS_NOPREFIX, g_fonts.label.get()};
    case OptionsControlKind::Push: return {L"BUTTON", BS_PUSHBUTTON, g_fonts.label.get()};
    // Pressed or not as the panel's thread says, never by itself.
    case OptionsControlKind::Toggle: return {L"BUTTON", BS_CHECKBOX | BS_PUSHLIKE, g_fonts.control.get()};
    case OptionsControlKind::Notice: return {L"STATIC", SS_LEFT | SS_NOPREFIX, g_fonts.label.get()};
    }
    return {L"STATIC", 0, nullptr};
}

// Every control from the options in force, in the window's language.
void showState(HWND window) {
    const OptionValues values = currentOptions();
    const TextLanguage language = optionsWindowLanguage();
    setTextIfChanged(window, widen(optionsText("window.title", language, "More options").c_str(), CP_UTF8));
    for (const OptionsControl& control : optionsControls()) {
        HWND item = GetDlgItem(window, control.id);
        if (!item || control.kind == OptionsControlKind::Notice) continue;
        setTextIfChanged(item, widen(optionsControlText(control, values, language).c_str(), CP_UTF8));
        if (control.kind == OptionsControlKind::Toggle)
            SendMessageW(item, BM_SETCHECK,
                         optionsControlPressed(control, values) ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void showNotice(HWND window, const char* key) {
    const std::string text = optionsText(key, optionsWindowLanguage(), key);
    SetWindowTextW(GetDlgItem(window, OPTIONS_ID_NOTICE), widen(text.c_str(), CP_UTF8).c_str());
}

// The layout's 96-DPI figures at the window's DPI, scrolled.
void positionControls(HWND window) {
    for (const OptionsControl& control : optionsControls()) {
        HWND item = GetDlgItem(window, control.id);
        if (!item) continue;
        const Rect r = scaleToDpi(control.rect, g_dpi);
        SetWindowPos(item, nullptr, r.left, r.top - g_scrolled, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The scroll bar shows only when the rows do not all fit.
void showScrollBar(HWND window) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    info.nMax = g_fit.scrollRange > 0 ? g_fit.clientHeight + g_fit.scrollRange - 1 : 0;
    info.nPage = static_cast<UINT>(g_fit.scrollRange > 0 ? g_fit.clientHeight : 0);
    info.nPos = g_scrolled;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

// The client as it now is at `dpi`: fonts, fit and controls made for it.
void placeControls(HWND window, int dpi) {
    g_dpi = dpi;
    g_fonts = Fonts{};
    g_fonts.label.reset(makeSansFont(scaleToDpi(13, dpi), FW_BOLD));
    g_fonts.hint.reset(makeSansFont(scaleToDpi(11, dpi), FW_NORMAL));
    g_fonts.control.reset(makeSansFont(scaleToDpi(12, dpi), FW_NORMAL));
    RECT client{};
    GetClientRect(window, &client);
    g_fit = fitOptions(scaleToDpi(optionsClientSize().height, dpi), client.bottom - client.top);
    g_scrolled = std::min(g_scrolled, g_fit.scrollRange);
    showScrollBar(window);
    positionControls(window);
    for (const OptionsControl& control : optionsControls())
        if (HFONT font = classFor(control.kind).font)
            SendMessageW(GetDlgItem(window, control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void scrollTo(HWND window, int position) {
    if (position == g_scrolled) return;
    g_scrolled = position;
    SetScrollPos(window, SB_VERT, position, TRUE);
    positionControls(window);
    InvalidateRect(window, nullptr, TRUE);
}

// A line is a row at the window's scale.
void scrollBy(HWND window, OptionsScroll how, int to) {
    const int line = scaleToDpi(OPTIONS_GEOMETRY.rowHeight, g_dpi);
    scrollTo(window, scrollOptions(g_scrolled, how, to, g_fit, line));
}

void onScrollBar(HWND window, int code) {
    OptionsScroll how = OptionsScroll::To;
    switch (code) {
    case SB_LINEUP: how = OptionsScroll::LineUp; break;
    case SB_LINEDOWN: how = OptionsScroll::LineDown; break;
    case SB_PAGEUP: how = OptionsScroll::PageUp; break;
    case SB_PAGEDOWN: how = OptionsScroll::PageDown; break;
    case SB_TOP: how = OptionsScroll::Top; break;
    case SB_BOTTOM: how = OptionsScroll::Bottom; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: break;
    default: return;
    }
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &info);
    scrollBy(window, how, info.nTrackPos);
}

// A notch of the wheel (the panel's Scroll cells too) is a row.
void onWheel(HWND window, int delta) {
    const int line = scaleToDpi(OPTIONS_GEOMETRY.rowHeight, g_dpi);
    scrollBy(window, OptionsScroll::To, g_scrolled - delta * line / WHEEL_DELTA);
}

void createControls(HWND window, HINSTANCE instance) {
    for (const OptionsControl& control : optionsControls()) {
        const KindClass kc = classFor(control.kind);
        CreateWindowExW(0, kc.className, L"", WS_CHILD | WS_VISIBLE | kc.style, 0, 0, 0, 0, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    }
    placeControls(window, windowDpi(window));
    showState(window);
    if (optionsFileHeld()) showNotice(window, "file.in_use");
}

void onAnswer(HWND window, WindowAnswer answer) {
    switch (answer) {
    case WindowAnswer::ShowState: showState(window); break;
    // Not saved: the window stays, with the choices in force, and says so.
    case WindowAnswer::ReadOnly: showNotice(window, "save.readonly"); break;
    case WindowAnswer::SaveFailed:
        showNotice(window, optionsFileHeld() ? "file.in_use" : "save.failed");
        break;
    case WindowAnswer::CloseNow: DestroyWindow(window); break;
    }
}

// Centred in the primary screen's work area, at its scale; no higher than
// the work area, the client then scrolling.
Rect windowRect() {
    Platform& p = win32Platform();
    const Size screen = p.screenSize();
    RECT work{0, 0, screen.width, screen.height};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int dpi = p.dpiAt({(work.left + work.right) / 2, (work.top + work.bottom) / 2});
    const Size client = optionsClientSize();
    RECT r{0, 0, scaleToDpi(client.width, dpi), scaleToDpi(client.height, dpi)};
    AdjustWindowRectEx(&r, OPTIONS_STYLE, FALSE, OPTIONS_EX_STYLE);
    const int frame = (r.bottom - r.top) - scaleToDpi(client.height, dpi);
    const OptionsFit fit = fitOptions(scaleToDpi(client.height, dpi), (work.bottom - work.top) - frame);
    const int width = r.right - r.left + (fit.scrollRange > 0 ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int height = fit.clientHeight + frame;
    return {work.left + (work.right - work.left - width) / 2,
            work.top + (work.bottom - work.top - height) / 2, width, height};
}

// The scan must stay in sight over a window that is wider than the panel
// leaves room for; asked, not waited for.
void keepPanelOnTop(HWND) {
    SetWindowPos(handles().panel, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

LRESULT CALLBACK optionsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace

const OwnWindowKind OptionsWindow{
    OwnWindow::Options,
    OPTIONS_CLASS,
    L"CON",
    [] { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)); },
    OPTIONS_STYLE,
    OPTIONS_EX_STYLE,
    windowRect,
    [] { return std::wstring(); },
    keepPanelOnTop,
    optionsWindowProc,
    onAnswer,
    [] { g_fonts = Fonts{}; },
    [](int what, int value) {
        handleOptionsRequest(win32Platform(), static_cast<OptionsRequest>(what), value);
    },
    static_cast<int>(OptionsRequest::Close),
    static_cast<int>(OptionsRequest::Gone),
};

namespace {

LRESULT CALLBACK optionsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createControls(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) break;
        if (LOWORD(wParam) == OPTIONS_ID_CANCEL)
            SendMessageW(window, WM_CLOSE, 0, 0);
        else
            request(OptionsRequest::Control, LOWORD(wParam));
        return 0;
    case WM_VSCROLL: onScrollBar(window, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: onWheel(window, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_DPICHANGED: {
        // Onto a monitor of another scale: the suggested rectangle, and the
        // controls and fonts made for it.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        placeControls(window, LOWORD(wParam));
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

} // namespace sp
