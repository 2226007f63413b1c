// What the program's own windows share on the Win32 side: each window's
// handle slot, the answer posted to it, the requests posted back to the
// panel, where the pointer is, and the message cases every one of them
// handles alike. Each window keeps only its controls.
#include "platform/win32/win32_platform.h"

#include "config_window/own_windows.h"

#include <array>
#include <utility>

namespace sp {

namespace {

// Each window by its id, as its own file describes it.
#define SP_WINDOW_KIND(id, name) &id##Window,
const OwnWindowKind* const KINDS[OWN_WINDOW_COUNT] = {SP_OWN_WINDOWS(SP_WINDOW_KIND)};
#undef SP_WINDOW_KIND

std::atomic<HWND> g_slots[OWN_WINDOW_COUNT];

std::atomic<HWND>& slotOf(OwnWindow window) { return g_slots[static_cast<int>(window)]; }
const OwnWindowKind& kindOf(OwnWindow window) { return *KINDS[static_cast<int>(window)]; }

bool onSharedMessage(const OwnWindowKind& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_NCCREATE: slotOf(kind.id) = window; return false;
    case WM_NCHITTEST:
        result = DefWindowProcW(window, message, wParam, lParam);
        notePointerOver(kind.id, result == HTCLIENT);
        return true;
    // Clicks on it leave the focus where the user's keys go.
    case WM_MOUSEACTIVATE: result = MA_NOACTIVATE; return true;
    case WM_OWN_WINDOW_ANSWER: kind.answer(window, static_cast<WindowAnswer>(wParam)); return true;
    case WM_CLOSE:
        // The close runs on the panel's thread, which then answers CloseNow;
        // until then the window stays as it is.
        requestFromOwnWindow(kind.id, kind.closeRequest);
        return true;
    case WM_NCDESTROY: {
        // The controls are gone by now; what they showed can go with them.
        kind.release();
        HWND expected = window;
        slotOf(kind.id).compare_exchange_strong(expected, nullptr);
        // Only now may another window be opened: this one's resources are
        // released and its handle forgotten.
        requestFromOwnWindow(kind.id, kind.goneRequest);
        return false;
    }
    // Its thread lives as long as it does.
    case WM_DESTROY: PostQuitMessage(0); return false;
    default: return false;
    }
}

// One procedure per window, so that the shared cases know whose they are
// from the first message on.
template <int ID> LRESULT CALLBACK ownWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const OwnWindowKind& kind = *KINDS[ID];
    LRESULT shared = 0;
    if (onSharedMessage(kind, window, message, wParam, lParam, shared)) return shared;
    return kind.proc(window, message, wParam, lParam);
}

template <int... IDS>
constexpr std::array<WNDPROC, sizeof...(IDS)> procsFor(std::integer_sequence<int, IDS...>) {
    return {ownWindowProc<IDS>...};
}
constexpr std::array<WNDPROC, OWN_WINDOW_COUNT> PROCS =
    procsFor(std::make_integer_sequence<int, OWN_WINDOW_COUNT>{});

DWORD WINAPI ownWindowThread(LPVOID param) {
    const OwnWindowKind& kind = *static_cast<const OwnWindowKind*>(param);
    const Rect r = kind.place();
    HWND window = CreateWindowExW(kind.exStyle, kind.className, kind.title().c_str(), kind.style, r.left,
                                  r.top, r.width, r.height, nullptr, nullptr, handles().instance, nullptr);
    if (!window) {
        // No window, no loop to end: free the claim so it can be tried again.
        requestFromOwnWindow(kind.id, kind.goneRequest);
        return 0;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    kind.shown(window);
    runMessageLoop();
    return 0;
}

} // namespace

bool registerOwnWindows(HINSTANCE instance) {
    for (int i = 0; i < OWN_WINDOW_COUNT; ++i) {
        const OwnWindowKind& kind = *KINDS[i];
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PROCS[i];
        wc.hInstance = instance;
        wc.hIcon = kind.icon ? LoadIconW(instance, kind.icon) : nullptr;
        wc.hIconSm = wc.hIcon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = kind.background();
        wc.lpszClassName = kind.className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return true;
}

bool startOwnWindow(OwnWindow window) {
    const OwnWindowKind& kind = kindOf(window);
    HANDLE thread = CreateThread(nullptr, 0, ownWindowThread, const_cast<OwnWindowKind*>(&kind), 0, nullptr);
    if (!thread) {
        // Called on the panel's thread: the window is gone at once.
        kind.request(kind.goneRequest, 0);
        return false;
    }
    CloseHandle(thread);
    return true;
}

bool requestFromOwnWindow(OwnWindow window, int what, int value) {
    const WPARAM packed = MAKEWPARAM(static_cast<WORD>(what), static_cast<WORD>(window));
    return postToPanelPatiently(WM_OWN_WINDOW_REQUEST, packed, static_cast<LPARAM>(value));
}

void onOwnWindowRequest(WPARAM wParam, LPARAM lParam) {
    const int id = HIWORD(wParam);
    // Only the program posts it, but a stray value must not index past the table.
    if (id < 0 || id >= OWN_WINDOW_COUNT) return;
    KINDS[id]->request(LOWORD(wParam), static_cast<int>(lParam));
}

HWND ownWindowHandle(OwnWindow window) { return slotOf(window).load(); }

void postOwnWindowAnswer(OwnWindow window, WindowAnswer answer) {
    HWND handle = ownWindowHandle(window);
    if (handle) PostMessageW(handle, WM_OWN_WINDOW_ANSWER, static_cast<WPARAM>(answer), 0);
}

// Over the client area of the window or of another window of its thread
// (the colour dialog), controls included: what a one-switch user aims at
// there is a plain click.
bool pointerOnOwnWindowClient(OwnWindow window) { return pointerOnClientOf(ownWindowHandle(window)); }

// Posted, never sent. A full queue is waited out for a while: a lost close
// or teardown would leave a window half-closed and the next one barred.
bool postToPanelPatiently(UINT message, WPARAM wParam, LPARAM lParam) {
    for (int tries = 0; tries < 100; ++tries) {
        if (PostMessageW(handles().panel, message, wParam, lParam)) return true;
        Sleep(10);
    }
    return false;
}

void setTextIfChanged(HWND control, const std::wstring& text) {
    wchar_t shown[256] = L"";
    GetWindowTextW(control, shown, 256);
    if (text != shown) SetWindowTextW(control, text.c_str());
}

bool pointerOnClientOf(HWND window) {
    if (!window) return false;
    POINT pt;
    if (!GetCursorPos(&pt)) return false;
    HWND top = GetAncestor(WindowFromPoint(pt), GA_ROOT);
    if (!top) return false;
    if (top != window && GetWindowThreadProcessId(top, nullptr) != GetWindowThreadProcessId(window, nullptr))
        return false;
    RECT client;
    GetClientRect(top, &client);
    MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return PtInRect(&client, pt) != FALSE;
}

} // namespace sp
