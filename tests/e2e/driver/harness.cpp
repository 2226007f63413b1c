// End-to-end driver helpers: process control, window lookup, files,
// screen pixels, synthesised input and the result log.
#include "harness.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

namespace e2e {

namespace {

CRITICAL_SECTION& logLock() {
    static CRITICAL_SECTION lock;
    static const bool ready = [] {
        InitializeCriticalSection(&lock);
        return true;
    }();
    (void)ready;
    return lock;
}

const char* fileName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

} // namespace

// ---- Case table --------------------------------------------------------

std::vector<CaseEntry>& caseTable() {
    static std::vector<CaseEntry> table;
    return table;
}

Registrar::Registrar(const char* name, CaseFn fn) { caseTable().push_back({name, fn}); }

// ---- Text -------------------------------------------------------------

std::string narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string toText(long long value) { return std::to_string(value); }
std::string toText(const std::wstring& value) { return "\"" + narrow(value) + "\""; }
std::string toText(const std::string& value) { return "\"" + value + "\""; }
std::string toText(const wchar_t* value) { return toText(std::wstring(value)); }
std::string toText(const char* value) { return toText(std::string(value)); }
std::string toText(bool value) { return value ? "true" : "false"; }

std::string colourText(COLORREF colour) {
    if (colour == CLR_INVALID) return "CLR_INVALID";
    char buf[48];
    std::snprintf(buf, sizeof buf, "RGB(%u,%u,%u)", static_cast<unsigned>(GetRValue(colour)),
                  static_cast<unsigned>(GetGValue(colour)), static_cast<unsigned>(GetBValue(colour)));
    return buf;
}

std::string hexBytes(const std::vector<unsigned char>& bytes, size_t from, size_t count) {
    std::string out;
    char buf[4];
    for (size_t i = from; i < bytes.size() && i < from + count; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(bytes[i]));
        if (!out.empty()) out += ' ';
        out += buf;
    }
    if (from + count < bytes.size()) out += " ...";
    return out.empty() ? "(none)" : out;
}

// ---- Result file and checks ---------------------------------------------

void log(Run& run, const std::string& line) {
    EnterCriticalSection(&logLock());
    const std::string text = line + "\r\n";
    HANDLE file = CreateFileW(run.resultPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    LeaveCriticalSection(&logLock());
}

bool check(Run& run, bool ok, const std::string& what, const std::string& detail, const char* file,
           int line) {
    ++run.checks;
    if (ok) {
        log(run, "ok   " + what);
    } else {
        ++run.failures;
        log(run, "FAIL " + what + (detail.empty() ? "" : ": " + detail) + " (" + fileName(file) + ":" +
                     std::to_string(line) + ")");
    }
    return ok;
}

bool checkColour(Run& run, COLORREF actual, COLORREF expected, const std::string& what, const char* file,
                 int line) {
    const bool ok = actual == expected;
    return check(run, ok, what,
                 ok ? std::string() : "expected " + colourText(expected) + ", got " + colourText(actual),
                 file, line);
}

bool checkBytes(Run& run, const std::vector<unsigned char>& actual,
                const std::vector<unsigned char>& expected, const std::string& what, const char* file,
                int line) {
    if (actual == expected) return check(run, true, what, std::string(), file, line);
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    const size_t from = at >= 8 ? at - 8 : 0;
    const std::string detail =
        std::to_string(actual.size()) + " bytes, expected " + std::to_string(expected.size()) +
        "; first difference at byte " + std::to_string(at) + ": expected [" + hexBytes(expected, from, 24) +
        "], got [" + hexBytes(actual, from, 24) + "] (from byte " + std::to_string(from) + ")";
    return check(run, false, what, detail, file, line);
}

// ---- Waiting --------------------------------------------------------------

bool waitUntil(const std::function<bool()>& pred, int timeoutMs, int pollMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        pause(pollMs);
    }
}

long envNumber(const wchar_t* name, long fallback) {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(name, value, 32) == 0) return fallback;
    const long number = std::wcstol(value, nullptr, 10);
    return number > 0 ? number : fallback;
}

void pause(int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// ---- The product process --------------------------------------------------

bool launchProduct(Run& run) {
    std::wstring commandLine = L"\"" + run.exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(run.exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        run.workDir.c_str(), &startup, &info)) {
        log(run, "note CreateProcessW failed, error " + std::to_string(GetLastError()));
        return false;
    }
    run.product = info;
    run.launched = true;
    return true;
}

bool productRunning(const Run& run) {
    return run.launched && WaitForSingleObject(run.product.hProcess, 0) == WAIT_TIMEOUT;
}

bool waitForExit(Run& run, int timeoutMs, DWORD* exitCode) {
    if (!run.launched) return false;
    if (WaitForSingleObject(run.product.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(run.product.hProcess, &code);
    if (exitCode) *exitCode = code;
    return true;
}

namespace {

struct WindowsOf {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    WindowsOf* of = reinterpret_cast<WindowsOf*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == of->pid) of->windows.push_back(window);
    return TRUE;
}

} // namespace

// Every thread's backtrace, from Wine's debugger, into threads.txt beside
// the result: a product that will not end is stuck somewhere, and where
// is what the failure needs to say.
void dumpThreads(const Run& run) {
    const std::wstring resultDir = run.resultPath.substr(0, run.resultPath.find_last_of(L"\\/") + 1);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW((resultDir + L"threads.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    std::wstring command = L"winedbg --command \"bt all\" " + std::to_wstring(run.product.dwProcessId);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION debugger{};
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &debugger)) {
        WaitForSingleObject(debugger.hProcess, 20000);
        CloseHandle(debugger.hThread);
        CloseHandle(debugger.hProcess);
    }
    CloseHandle(out);
}

void endProduct(Run& run) {
    if (!run.launched) return;
    if (productRunning(run)) {
        WindowsOf of{run.product.dwProcessId, {}};
        EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&of));
        for (HWND window : of.windows)
            if (IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(run.product.hProcess, 3000) != WAIT_OBJECT_0) {
            log(run,
                "note product did not end after WM_CLOSE; its threads are in threads.txt; terminating it");
            dumpThreads(run);
            TerminateProcess(run.product.hProcess, 1);
            WaitForSingleObject(run.product.hProcess, 3000);
        }
    }
    CloseHandle(run.product.hThread);
    CloseHandle(run.product.hProcess);
    run.product = PROCESS_INFORMATION{};
    run.launched = false;
}

bool processListed(const std::wstring& exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(baseName(entry.szExeFile).c_str(), exeName.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

std::wstring baseName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// ---- Windows -------------------------------------------------------------

HWND findProductWindow(const Run& run, const wchar_t* className) {
    if (!run.launched) return nullptr;
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == run.product.dwProcessId) return window;
    }
    return nullptr;
}

HWND waitForProductWindow(const Run& run, const wchar_t* className, int timeoutMs) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findProductWindow(run, className)) != nullptr; }, timeoutMs);
    return found;
}

std::wstring windowText(HWND window) {
    // For another process's window GetWindowTextW reads the caption as the
    // title bar shows it, without asking the window's (possibly busy) thread.
    wchar_t buf[256] = {};
    const int length = GetWindowTextW(window, buf, 256);
    return std::wstring(buf, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring className(HWND window) {
    wchar_t buf[256] = {};
    const int n = GetClassNameW(window, buf, 256);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

bool waitForCaption(HWND window, const std::wstring& caption, int timeoutMs) {
    return waitUntil([&] { return windowText(window) == caption; }, timeoutMs);
}

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT rectInParent(HWND child) {
    RECT r = windowRect(child);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT clientToScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

bool sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, int timeoutMs) {
    DWORD_PTR answer = 0;
    const bool ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                        static_cast<UINT>(timeoutMs), &answer) != 0;
    if (result) *result = static_cast<LRESULT>(answer);
    return ok;
}

bool postTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(window, message, wParam, lParam) != 0;
}

std::string rectText(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

// ---- Files ---------------------------------------------------------------

std::wstring inWorkDir(const Run& run, const std::wstring& name) { return run.workDir + L"\\" + name; }

bool readFileBytes(const std::wstring& path, std::vector<unsigned char>& bytes) {
    bytes.clear();
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char buf[4096];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        ok = ReadFile(file, buf, sizeof buf, &got, nullptr) != 0;
        if (!ok || got == 0) break;
        bytes.insert(bytes.end(), buf, buf + got);
    }
    CloseHandle(file);
    return ok;
}

bool writeFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::vector<unsigned char> utf16leWithBom(const std::wstring& text) {
    std::vector<unsigned char> bytes{0xFF, 0xFE};
    for (wchar_t c : text) {
        const unsigned code = static_cast<unsigned>(c) & 0xFFFFu;
        bytes.push_back(static_cast<unsigned char>(code & 0xFFu));
        bytes.push_back(static_cast<unsigned char>(code >> 8));
    }
    return bytes;
}

bool isDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ---- Screen ----------------------------------------------------------------

COLORREF screenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF ScreenGrab::at(int x, int y) const {
    if (x < area.left || x >= area.right || y < area.top || y >= area.bottom) return CLR_INVALID;
    const size_t width = static_cast<size_t>(area.right - area.left);
    return pixels[static_cast<size_t>(y - area.top) * width + static_cast<size_t>(x - area.left)];
}

bool grabScreen(const RECT& area, ScreenGrab& grab) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        if (ok) {
            const DWORD* row = static_cast<const DWORD*>(bits);
            grab.area = area;
            grab.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
            for (size_t i = 0; i < grab.pixels.size(); ++i) {
                const DWORD bgr = row[i];
                grab.pixels[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
            }
        }
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

// ---- Synthesised input -----------------------------------------------------

namespace {

void sendOne(INPUT& input) { SendInput(1, &input, sizeof(INPUT)); }

// Absolute coordinates run 0..65535 over the primary screen; rounding up
// lands the pointer on the pixel asked for.
LONG normalised(int pixel, int extent) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + extent - 1) / extent);
}

} // namespace

void sendMouseMove(int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalised(x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = normalised(y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    sendOne(input);
}

bool mouseMoveTo(int x, int y) {
    const auto there = [&] {
        const POINT p = cursorPos();
        return p.x == x && p.y == y;
    };
    // Under Wine the pointer can arrive and then jump back to where it was
    // some 20 ms later (a late event from the X server), so it only counts
    // once it has stayed; otherwise send again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        sendMouseMove(x, y);
        if (!waitUntil(there, 150, 5)) continue;
        if (!waitUntil([&] { return !there(); }, 60, 5)) return true;
    }
    return false;
}

void mouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    sendOne(input);
}

void keyDown(WORD vk) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    sendOne(input);
}

void keyUp(WORD vk) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    sendOne(input);
}

void keyTap(WORD vk) {
    keyDown(vk);
    pause(30);
    keyUp(vk);
}

POINT cursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool dragMouse(POINT from, POINT to) {
    if (!mouseMoveTo(from.x, from.y)) return false;
    pause(60);
    mouseButton(MOUSEEVENTF_LEFTDOWN);
    pause(60);
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        sendMouseMove(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        pause(20);
    }
    pause(60);
    mouseButton(MOUSEEVENTF_LEFTUP);
    pause(60);
    return true;
}

bool findCaptionPoint(HWND window, POINT* point) {
    const RECT r = windowRect(window);
    const POINT client = clientToScreen(window, 0, 0);
    // Left of centre: the caption buttons sit at the right end.
    const int x = r.left + (r.right - r.left) / 3;
    for (int y = r.top; y < client.y; ++y) {
        LRESULT hit = HTNOWHERE;
        if (!sendTo(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), &hit)) return false;
        if (hit == HTCAPTION) {
            // Step into the middle of the caption band rather than its edge.
            *point = POINT{x, y + (client.y - y) / 2};
            return true;
        }
    }
    return false;
}

// ---- A window of the driver's own -------------------------------------------

LRESULT CALLBACK TestWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message < WM_USER) InterlockedIncrement(&self->counts_[message]);
    const bool button = message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK;
    const bool heldMove = message == WM_MOUSEMOVE && (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    const bool wheel = message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL;
    if (self && (button || heldMove || wheel)) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        // A wheel message says where on the screen.
        if (wheel) ScreenToClient(window, &at);
        EnterCriticalSection(&self->mouseLock_);
        self->mouse_.push_back({message, at, now.QuadPart, wheel ? GET_WHEEL_DELTA_WPARAM(wParam) : 0});
        LeaveCriticalSection(&self->mouseLock_);
        // Handled here, so it does not go on to a parent that is not there.
        if (wheel) return 0;
    }
    if (self && message == WM_CHAR) {
        EnterCriticalSection(&self->mouseLock_);
        if (wParam == L'\b') {
            if (!self->typed_.empty()) self->typed_.pop_back();
        } else {
            self->typed_ += wParam == L'\r' ? L'\n' : static_cast<wchar_t>(wParam);
        }
        LeaveCriticalSection(&self->mouseLock_);
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::wstring TestWindow::typedText() {
    EnterCriticalSection(&mouseLock_);
    std::wstring text = typed_;
    LeaveCriticalSection(&mouseLock_);
    return text;
}

TestWindow::TestWindow() {
    InitializeCriticalSection(&mouseLock_);
    mouseLockReady_ = true;
}

TestWindow::~TestWindow() {
    close();
    if (mouseLockReady_) DeleteCriticalSection(&mouseLock_);
}

std::vector<MouseMessage> TestWindow::takeMouseMessages() {
    EnterCriticalSection(&mouseLock_);
    std::vector<MouseMessage> out;
    out.swap(mouse_);
    LeaveCriticalSection(&mouseLock_);
    return out;
}

std::vector<MouseMessage> TestWindow::takeMouseMessagesUntil(size_t buttons, int timeoutMs) {
    std::vector<MouseMessage> got;
    size_t seen = 0;
    waitUntil(
        [&] {
            for (const MouseMessage& m : takeMouseMessages()) {
                got.push_back(m);
                seen += m.message != WM_MOUSEMOVE;
            }
            return seen >= buttons;
        },
        timeoutMs);
    return got;
}

long TestWindow::received(UINT message) const {
    return message < WM_USER ? InterlockedCompareExchange(const_cast<LONG*>(&counts_[message]), 0, 0) : 0;
}

bool TestWindow::hasFocus() const {
    if (!window_) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetForegroundWindow() == window_ &&
           GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info) && info.hwndFocus == window_;
}

bool TestWindow::bringToFront() {
    if (hasFocus()) return true;
    SetForegroundWindow(window_);
    return waitUntil([&] { return hasFocus(); }, 1000);
}

bool TestWindow::open(const RECT& outer, const wchar_t* title) {
    close();
    outer_ = outer;
    title_ = title;
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    if (!thread_) return false;
    WaitForSingleObject(ready_, 5000);
    return window_ != nullptr;
}

void TestWindow::close() {
    if (thread_) {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(thread_, 3000) != WAIT_OBJECT_0) TerminateThread(thread_, 1);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (ready_) {
        CloseHandle(ready_);
        ready_ = nullptr;
    }
    window_ = nullptr;
}

DWORD WINAPI TestWindow::threadMain(LPVOID param) {
    TestWindow* self = static_cast<TestWindow*>(param);
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = windowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    cls.lpszClassName = L"E2E_TEST_WINDOW";
    RegisterClassExW(&cls); // fails harmlessly when a second window registers it again
    const RECT& r = self->outer_;
    self->window_ =
        CreateWindowExW(0, cls.lpszClassName, self->title_, WS_OVERLAPPEDWINDOW | WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, cls.hInstance, self);
    SetEvent(self->ready_);
    if (!self->window_) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// ---- Screenshot ----------------------------------------------------------

void requestScreenshot(Run& run) {
    if (run.screenshotTaken) return;
    run.screenshotTaken = true;
    wchar_t marker[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"E2E_SHOT_REQUEST", marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    if (!writeFileBytes(marker, {})) return;
    if (!waitUntil([&] { return GetFileAttributesW(marker) == INVALID_FILE_ATTRIBUTES; }, 5000, 20))
        log(run, "note screenshot not taken in time");
}

} // namespace e2e
