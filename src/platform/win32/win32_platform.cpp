// Win32 implementations of the seam's operations.
#include "platform/win32/win32_platform.h"

#include <mmsystem.h>

#include <cstdio>
#include <string>
#include <vector>

#include "overlay/help_box.h"
#include "platform/scale.h"

namespace sp {

namespace {

Win32Handles g_handles;

#ifdef SWITCHPOINT_BENCH
// Benchmark builds note how long each click sound played and how long after
// a click's last button event the switch took presses again. Main thread only.
std::vector<std::string> g_clickTimes;
LARGE_INTEGER g_lastButton{};

double msSince(const LARGE_INTEGER& then) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - then.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void noteClickTime(const char* what, double ms) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %.3f", what, ms);
    g_clickTimes.push_back(line);
}
#endif

bool writeAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
        done += wrote;
    }
    return true;
}

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

bool startWindowThread(LPTHREAD_START_ROUTINE proc, void (*gone)()) {
    HANDLE thread = CreateThread(nullptr, 0, proc, nullptr, 0, nullptr);
    if (!thread) {
        gone();
        return false;
    }
    CloseHandle(thread);
    return true;
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
    constexpr UINT NEVER_POSTED = WM_APP + 0x3FFF;
    MSG msg;
    PeekMessageW(&msg, reinterpret_cast<HWND>(-1), NEVER_POSTED, NEVER_POSTED,
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
    HDC dc = GetDC(item);
    fillWithIcon(dc, rect, colour, icon, windowDpi(g_handles.panel));
    ReleaseDC(item, dc);
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

namespace {
// The absolute coordinate that the system maps back to exactly `pixel` of
// `extent` pixels (it maps n to n * extent / 65536, rounded down).
LONG exactAbsolute(LONG pixel, int extent) {
    if (extent <= 0) return 0;
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}
} // namespace

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
    QueryPerformanceCounter(&g_lastButton);
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

void Win32Platform::playClickSound() {
    HRSRC found = FindResourceW(g_handles.instance, L"SO_CLICK", L"WAVE");
    HGLOBAL loaded = found ? LoadResource(g_handles.instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    // Synchronous: the switch comes back only once the click has been heard.
#ifdef SWITCHPOINT_BENCH
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
#endif
    if (data) sndPlaySoundW(static_cast<LPCWSTR>(data), SND_MEMORY);
#ifdef SWITCHPOINT_BENCH
    noteClickTime(data ? "sound" : "nosound", msSince(start));
#endif
}

#ifdef SWITCHPOINT_BENCH
void noteStopActed() {
    LARGE_INTEGER now{};
    noteClickTime("stop", msSince(now));
}

void noteSwitchFree() {
    if (g_lastButton.QuadPart == 0) return;
    noteClickTime("hookback", msSince(g_lastButton));
    g_lastButton.QuadPart = 0;
}

void notePressActed() {
    LARGE_INTEGER now{};
    noteClickTime("press", msSince(now));
}

void notePressTaken() {
    LARGE_INTEGER now{};
    noteClickTime("taken", msSince(now));
}

void writeClickTimes(const wchar_t* path) {
    FILE* out = _wfopen(path, L"w");
    if (!out) return;
    for (const std::string& line : g_clickTimes) std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
}
#endif

bool Win32Platform::pointerOnPanel() {
    POINT pt{0, 0};
    if (!GetCursorPos(&pt)) return false;
    RECT rect{};
    if (GetWindowRect(g_handles.panel, &rect) && PtInRect(&rect, pt)) return true;
    HWND under = WindowFromPoint(pt);
    return under && (under == g_handles.panel || GetAncestor(under, GA_ROOT) == g_handles.panel);
}
bool Win32Platform::pointerOnConfigClient() { return pointerOnConfigWindow(); }
bool Win32Platform::pointerOnOptionsClient() { return pointerOnOptionsWindow(); }

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
void Win32Platform::openConfigWindow() { startConfigThread(); }
void Win32Platform::setConfigTimer(int periodMs) { setConfigWindowTimer(periodMs); }
void Win32Platform::answerConfigWindow(ConfigAnswer answer) { answerConfigWindowThread(answer); }
void Win32Platform::openOptionsWindow() { startOptionsThread(); }
void Win32Platform::answerOptionsWindow(OptionsAnswer answer) { answerOptionsWindowThread(answer); }
bool Win32Platform::userLanguageSpanish() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH;
}

bool Win32Platform::fileExists(const char* name) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(widen(name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

FileRead Win32Platform::readFile(const char* name, std::string& bytes, std::size_t maxBytes) {
    bytes.clear();
    HANDLE file = CreateFileW(widen(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return FileRead::Locked;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
        return FileRead::Failed;
    }
    LARGE_INTEGER size{};
    FileRead result = FileRead::Ok;
    if (!GetFileSizeEx(file, &size))
        result = FileRead::Failed;
    else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        result = FileRead::TooLarge;
    char buffer[4096];
    DWORD got = 0;
    while (result == FileRead::Ok) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            result = GetLastError() == ERROR_LOCK_VIOLATION ? FileRead::Locked : FileRead::Failed;
        else if (got == 0)
            break;
        else if (bytes.append(buffer, got).size() > maxBytes)
            result = FileRead::TooLarge; // it grew while being read
    }
    CloseHandle(file);
    if (result != FileRead::Ok) bytes.clear();
    return result;
}

namespace {
// One temporary name per file, so a run killed during a save leaves at most
// one behind, and the next start knows which to remove.
std::wstring unfinishedName(const char* name) { return widen(name) + L".tmp"; }

// Saves from two threads of this process take turns on that one name.
SRWLOCK g_replaceLock = SRWLOCK_INIT;
} // namespace

// New contents go to a temporary file beside the old one, which is then
// swapped in with one rename: a crash leaves the old file or the new one.
bool Win32Platform::replaceFile(const char* name, const std::string& bytes) {
    if (fileReadOnly(name)) return false;
    const std::wstring temp = unfinishedName(name);
    AcquireSRWLockExclusive(&g_replaceLock);
    // Not shared: a second copy of the program saving at the same moment
    // fails here rather than mixing its bytes with these.
    HANDLE file =
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool replaced = false;
    if (file != INVALID_HANDLE_VALUE) {
        const bool written = writeAll(file, bytes) && FlushFileBuffers(file);
        CloseHandle(file);
        replaced = written && MoveFileExW(temp.c_str(), widen(name).c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!replaced) DeleteFileW(temp.c_str());
    }
    ReleaseSRWLockExclusive(&g_replaceLock);
    return replaced;
}

void Win32Platform::removeUnfinishedReplace(const char* name) {
    AcquireSRWLockExclusive(&g_replaceLock);
    DeleteFileW(unfinishedName(name).c_str());
    ReleaseSRWLockExclusive(&g_replaceLock);
}

bool Win32Platform::fileReadOnly(const char* name) {
    const DWORD attributes = GetFileAttributesW(widen(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32Platform::copyFile(const char* from, const char* to) {
    return CopyFileW(widen(from).c_str(), widen(to).c_str(), FALSE) != 0;
}

std::string Win32Platform::localTimeText() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

namespace {
// The panels of every copy, this one's own excepted.
std::vector<HWND> otherPanels() {
    std::vector<HWND> panels;
    for (HWND w = FindWindowExW(nullptr, nullptr, L"QUIMBOLET", nullptr); w;
         w = FindWindowExW(nullptr, w, L"QUIMBOLET", nullptr))
        if (w != g_handles.panel) panels.push_back(w);
    return panels;
}
} // namespace

// A named mutex in the session's own namespace: a copy started by another
// signed-in user does not see it. The main thread owns it until the process
// ends; the system lets it go even after a crash or a kill, and the next
// copy then finds it abandoned, which is as good as free.
bool Win32Platform::claimOnlyCopy(int waitMs) {
    static HANDLE claim = CreateMutexW(nullptr, FALSE, L"Local\\switchpoint-one-copy");
    // Without the mutex there is no telling: better two copies than none.
    if (!claim) return true;
    const DWORD got = WaitForSingleObject(claim, static_cast<DWORD>(waitMs));
    return got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

RunningCopy Win32Platform::showRunningCopy(int waitMs) {
    const std::vector<HWND> panels = otherPanels();
    if (panels.empty()) return RunningCopy::Gone;
    bool anyLeft = false;
    for (HWND panel : panels) {
        DWORD_PTR answer = 0;
        // A copy whose thread the system already takes for hung is not
        // waited for at all.
        if (SendMessageTimeoutW(panel, WM_SHOW_PANEL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                static_cast<UINT>(waitMs), &answer))
            return RunningCopy::Shown;
        anyLeft = anyLeft || IsWindow(panel);
    }
    return anyLeft ? RunningCopy::NoAnswer : RunningCopy::Gone;
}

} // namespace sp
