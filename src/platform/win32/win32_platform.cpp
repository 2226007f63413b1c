// The seam's operations that the system or one of the program's windows
// carries out at once: the panel, the crosshair and the windows' threads.
// Input, the click sound, files and the one-copy check have files of their own.
#include "platform/win32/win32_platform.h"

#include <cstdio>
#include <string>

#include "overlay/help_box.h"
#include "platform/scale.h"
#include "platform/win32/gdi.h"

namespace sp {

namespace {

Win32Handles g_handles;

} // namespace

Win32Handles& handles() { return g_handles; }

std::wstring widen(const char* text, UINT codePage) {
    std::wstring out;
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 1) return out;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(codePage, 0, text, -1, &out[0], n);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

Win32Platform& win32Platform() {
    static Win32Platform platform;
    return platform;
}

int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

HICON iconHandle(Icon icon) { return g_handles.icons[static_cast<int>(icon)]; }

void Win32Platform::setTimer(int id, int periodMs) {
    SetTimer(g_handles.panel, static_cast<UINT_PTR>(id), static_cast<UINT>(periodMs), nullptr);
}

void Win32Platform::killTimer(int id) { KillTimer(g_handles.panel, static_cast<UINT_PTR>(id)); }

// A look at the queue that can find nothing and dispatches nothing: under
// Wine a thread's drawing reaches the screen only when it looks at its
// queue, and what was just painted must be seen before the wait, not after.
void Win32Platform::sleepMs(int ms) {
    MSG msg;
    PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_NEVER_POSTED, WM_NEVER_POSTED,
                 PM_NOREMOVE | PM_NOYIELD | PM_QS_POSTMESSAGE);
    Sleep(static_cast<DWORD>(ms));
}

double Win32Platform::nowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency);
}

void Win32Platform::paintCell(int cell, Colour colour, Icon icon) {
    HWND item = GetDlgItem(g_handles.panel, cell);
    if (!item) return;
    RECT rect;
    GetClientRect(item, &rect);
    const WindowDc dc(item);
    fillWithIcon(dc.get(), rect, colour, icon, windowDpi(g_handles.panel));
}

void Win32Platform::setCaption(const char* text) {
    SetWindowTextA(g_handles.panel, text);
    setTrayTip(text);
}

void Win32Platform::layOutPanel() { layOutPanelWindow(g_handles.panel, windowDpi(g_handles.panel)); }

void Win32Platform::setClassIcon(Icon icon) {
    const char* name = iconResourceName(icon);
    SetClassLongPtrW(g_handles.panel, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(g_handles.instance, name)));
    SetClassLongPtrW(g_handles.panel, GCLP_HICONSM,
                     reinterpret_cast<LONG_PTR>(LoadIconA(g_handles.instance, name)));
    // A class icon change alone leaves the title bar showing the old one.
    // Only the frame above the client area is redrawn: redrawing the cells
    // would paint them from their states and lose the scan step's colours.
    RECT window;
    GetWindowRect(g_handles.panel, &window);
    POINT origin{0, 0};
    ClientToScreen(g_handles.panel, &origin);
    const RECT frame{window.left - origin.x, window.top - origin.y, window.right - origin.x, 0};
    RedrawWindow(g_handles.panel, &frame, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

bool Win32Platform::installHook(HookKind kind) { return hookInstall(kind); }
void Win32Platform::removeHook(HookKind kind) { hookRemove(kind); }

Point Win32Platform::cursorPos() {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    return {pt.x, pt.y};
}

Size Win32Platform::screenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

namespace {
BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto& layout = *reinterpret_cast<MonitorLayout*>(param);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    const Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        layout.insert(layout.begin(), rect);
    else
        layout.push_back(rect);
    return TRUE;
}
} // namespace

// Whole monitors, taskbars included: the crosshair has always spanned them.
MonitorLayout Win32Platform::monitorLayout() {
    MonitorLayout layout;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.empty())
        layout.push_back(Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return layout;
}

bool Win32Platform::buttonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

void Win32Platform::startArm(Arm arm) { startOverlayThread(static_cast<int>(arm), armThreadProc); }

void Win32Platform::closeArm(Arm arm) { closeOverlay(static_cast<int>(arm)); }

void Win32Platform::moveArm(Arm arm, const Rect& r) {
    HWND window = g_handles.armWindow[static_cast<int>(arm)].load();
    // Asynchronous: the arm's own thread moves it, the caller does not wait.
    if (window)
        SetWindowPos(window, nullptr, r.left, r.top, r.width, r.height,
                     SWP_ASYNCWINDOWPOS | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The arms paint themselves from this colour, so no arm can ever be left
// holding a brush that an earlier change has already released.
void Win32Platform::setLineColour(Colour colour) {
    g_handles.lineColour = colour;
    for (Arm arm : {Arm::Right, Arm::Left, Arm::Up, Arm::Down}) {
        HWND window = g_handles.armWindow[static_cast<int>(arm)].load();
        if (window) InvalidateRect(window, nullptr, TRUE);
    }
    for (const auto& mark : g_handles.pointMarkWindow) {
        HWND window = mark.load();
        if (window) InvalidateRect(window, nullptr, TRUE);
    }
}

void Win32Platform::setArmOpacity(Arm arm, int alpha) {
    HWND window = g_handles.armWindow[static_cast<int>(arm)].load();
    if (window)
        SetLayeredWindowAttributes(window, RGB(0, 0, 0), static_cast<BYTE>(alpha & 0xFF),
                                   LWA_COLORKEY | LWA_ALPHA);
}

void Win32Platform::showPointMark(PointMark mark, const Rect& rect) { putPointMark(mark, rect); }

void Win32Platform::closePointMarks() {
    closeOverlay(POINT_BAND_SLOT);
    closeOverlay(POINT_LINE_SLOT);
}

void Win32Platform::startHelpBox() { startOverlayThread(HELP_BOX_SLOT, helpBoxThreadProc); }

void Win32Platform::closeHelpBox() { closeOverlay(HELP_BOX_SLOT); }

void Win32Platform::moveHelpBox(Point at) {
    HWND window = g_handles.helpBoxWindow.load();
    // Asynchronous like the arms; the box repaints where it lands.
    if (!window) return;
    const int size = scaleToDpi(HELP_BOX_SIZE, windowDpi(window));
    SetWindowPos(window, nullptr, at.x, at.y, size, size, SWP_ASYNCWINDOWPOS | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Platform::invalidateHelpBox() {
    HWND window = g_handles.helpBoxWindow.load();
    if (window) InvalidateRect(window, nullptr, TRUE);
}

bool Win32Platform::pointerOnPanel() {
    POINT pt{0, 0};
    if (!GetCursorPos(&pt)) return false;
    RECT rect{};
    if (GetWindowRect(g_handles.panel, &rect) && PtInRect(&rect, pt)) return true;
    HWND under = WindowFromPoint(pt);
    return under && (under == g_handles.panel || GetAncestor(under, GA_ROOT) == g_handles.panel);
}

bool Win32Platform::pointerOnOwnWindow(OwnWindow window) { return pointerOnOwnWindowClient(window); }
void Win32Platform::openOwnWindow(OwnWindow window) { startOwnWindow(window); }
void Win32Platform::answerOwnWindow(OwnWindow window, WindowAnswer answer) {
    postOwnWindowAnswer(window, answer);
}

Rect Win32Platform::panelRect() {
    RECT r{};
    if (!GetWindowRect(g_handles.panel, &r)) return {};
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32Platform::movePanel(Point topLeft) {
    SetWindowPos(g_handles.panel, nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool Win32Platform::showMenu(const MenuEntry* entries, int count, MenuPlace place) {
    return showMenuOnItsThread(entries, count, place);
}
bool Win32Platform::askYesNo(const char* title, const char* text) { return askOnMenuThread(title, text); }
void Win32Platform::endMenu() { endMenuThread(); }
void Win32Platform::openPageBesideExe(const char* page) { openPageOnMenuThread(page); }
void Win32Platform::closePanelWindow() { PostMessageW(g_handles.panel, WM_CLOSE, 0, 0); }

std::wstring pageBesideExe(const char* page) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return widen(page, CP_UTF8);
    std::wstring folder(path, n);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + widen(page, CP_UTF8);
}
void Win32Platform::setConfigTimer(int periodMs) { setConfigWindowTimer(periodMs); }
bool Win32Platform::userLanguageSpanish() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH;
}

std::string Win32Platform::localTimeText() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

} // namespace sp
