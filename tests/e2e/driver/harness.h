// End-to-end driver: the helpers every case uses to start the product,
// watch its windows, files and screen, inject input and record checks.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// One run of one case: where the product is, where it runs, and the tally.
struct Run {
    std::wstring caseName;
    std::wstring exePath;
    std::wstring workDir;
    std::wstring resultPath;
    PROCESS_INFORMATION product{};
    bool launched = false;
    // The runner takes one screenshot; a case may ask for it at its moment.
    bool screenshotTaken = false;
    int checks = 0;
    int failures = 0;
};

using CaseFn = void (*)(Run&);

struct CaseEntry {
    const char* name;
    CaseFn fn;
};

// The case table; filled by E2E_CASE before main runs.
std::vector<CaseEntry>& caseTable();

struct Registrar {
    Registrar(const char* name, CaseFn fn);
};

// tests/e2e/e2e.cmake reads the case names from lines that start with
// "E2E_CASE(name)", so keep each at the start of its line.
#define E2E_CASE(name)                                                                                       \
    static void e2eCase_##name(e2e::Run& run);                                                               \
    static const e2e::Registrar e2eRegistrar_##name(#name, e2eCase_##name);                                  \
    static void e2eCase_##name(e2e::Run& run)

// ---- Text -------------------------------------------------------------

std::string narrow(const std::wstring& text);
std::wstring widen(const std::string& text);
std::string toText(long long value);
std::string toText(const std::wstring& value);
std::string toText(const std::string& value);
std::string toText(const wchar_t* value);
std::string toText(const char* value);
std::string toText(bool value);
template <typename T> std::string toText(T value) { return toText(static_cast<long long>(value)); }
std::string colourText(COLORREF colour);
std::string hexBytes(const std::vector<unsigned char>& bytes, size_t from, size_t count);

// ---- Result file and checks ---------------------------------------------

// Appends one line to the result file at once, so a run that is killed
// still leaves what it saw.
void log(Run& run, const std::string& line);

bool check(Run& run, bool ok, const std::string& what, const std::string& detail, const char* file, int line);

template <typename A, typename E>
bool checkEq(Run& run, const A& actual, const E& expected, const std::string& what, const char* file,
             int line) {
    const bool ok = actual == expected;
    return check(run, ok, what,
                 ok ? std::string() : "expected " + toText(expected) + ", got " + toText(actual), file, line);
}

bool checkColour(Run& run, COLORREF actual, COLORREF expected, const std::string& what, const char* file,
                 int line);
bool checkBytes(Run& run, const std::vector<unsigned char>& actual,
                const std::vector<unsigned char>& expected, const std::string& what, const char* file,
                int line);

#define E2E_CHECK(cond, what) e2e::check(run, (cond), (what), "false: " #cond, __FILE__, __LINE__)
#define E2E_CHECK_EQ(actual, expected, what)                                                                 \
    e2e::checkEq(run, (actual), (expected), (what), __FILE__, __LINE__)
#define E2E_CHECK_COLOUR(actual, expected, what)                                                             \
    e2e::checkColour(run, (actual), (expected), (what), __FILE__, __LINE__)
#define E2E_CHECK_BYTES(actual, expected, what)                                                              \
    e2e::checkBytes(run, (actual), (expected), (what), __FILE__, __LINE__)
// The REQUIRE forms end the case when they fail: later checks would only
// repeat the same fault.
#define E2E_REQUIRE(cond, what)                                                                              \
    do {                                                                                                     \
        if (!E2E_CHECK(cond, what)) return;                                                                  \
    } while (0)
#define E2E_REQUIRE_EQ(actual, expected, what)                                                               \
    do {                                                                                                     \
        if (!E2E_CHECK_EQ(actual, expected, what)) return;                                                   \
    } while (0)

// ---- Waiting --------------------------------------------------------------

// Polls until pred holds or timeoutMs passes; true if it held.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs, int pollMs = 10);
// Sleeps while pumping this thread's messages (for windows the driver owns).
void pause(int ms);
// A positive whole number from the environment, or `fallback`.
long envNumber(const wchar_t* name, long fallback);

// ---- The product process --------------------------------------------------

bool launchProduct(Run& run);
bool productRunning(const Run& run);
// Waits for the product to end; the exit code goes to *exitCode.
bool waitForExit(Run& run, int timeoutMs, DWORD* exitCode);
// Every thread's backtrace, from Wine's debugger, into threads.txt beside the result.
void dumpThreads(const Run& run);
// WM_CLOSE to the product's windows, then TerminateProcess if it stays.
void endProduct(Run& run);
// Whether a process with this file name (no folder) is in the process list.
bool processListed(const std::wstring& exeName);
std::wstring baseName(const std::wstring& path);

// ---- Windows -------------------------------------------------------------

// A top-level window of the class that belongs to the product, or null.
HWND findProductWindow(const Run& run, const wchar_t* className);
HWND waitForProductWindow(const Run& run, const wchar_t* className, int timeoutMs);
std::wstring windowText(HWND window);
std::wstring className(HWND window);
bool waitForCaption(HWND window, const std::wstring& caption, int timeoutMs);
RECT windowRect(HWND window);
// A child's window rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);
POINT clientToScreen(HWND window, int x, int y);
// SendMessageTimeout, so a hung product cannot hang the driver.
bool sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
            int timeoutMs = 2000);
bool postTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
std::string rectText(const RECT& r);

// ---- Files ---------------------------------------------------------------

std::wstring inWorkDir(const Run& run, const std::wstring& name);
bool readFileBytes(const std::wstring& path, std::vector<unsigned char>& bytes);
bool writeFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
// Byte-order mark FF FE followed by the text in UTF-16LE, as written.
std::vector<unsigned char> utf16leWithBom(const std::wstring& text);
bool isDirectory(const std::wstring& path);

// ---- Screen ----------------------------------------------------------------

COLORREF screenPixel(int x, int y);

// A copy of part of the screen, for reading many pixels at once.
struct ScreenGrab {
    RECT area{};
    std::vector<COLORREF> pixels;
    // x, y in screen coordinates, inside area.
    COLORREF at(int x, int y) const;
};
bool grabScreen(const RECT& area, ScreenGrab& grab);

// ---- Synthesised input -----------------------------------------------------

// One absolute move event, nothing waited for.
void sendMouseMove(int x, int y);
// Absolute move; true once GetCursorPos shows the pointer there and it
// stays (a switch hook that swallows moves makes it false).
bool mouseMoveTo(int x, int y);
// flag: MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, ...
void mouseButton(DWORD flag);
void keyDown(WORD vk);
void keyUp(WORD vk);
void keyTap(WORD vk);
POINT cursorPos();
// Left button down at from, moved to to in steps, released there; false if
// the pointer could not be put at from.
bool dragMouse(POINT from, POINT to);
// A point on the window's title bar away from its buttons, found by hit
// testing the window itself.
bool findCaptionPoint(HWND window, POINT* point);

// ---- A window of the driver's own -------------------------------------------

// A mouse message a TestWindow received: buttons and wheels always, moves
// only while a button is held.
struct MouseMessage {
    UINT message;
    POINT client;  // where, in the window's client coordinates
    LONGLONG qpc;  // QueryPerformanceCounter when the window got it
    int wheel = 0; // a wheel's turn, in the system's units
};

// A plain captioned window on a thread of its own with its own message loop,
// as a target or a control for input the cases inject.
class TestWindow {
public:
    TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();
    bool open(const RECT& outer, const wchar_t* title);
    void close();
    HWND handle() const { return window_; }
    // How many messages of this kind (below WM_USER) the window has had, so a
    // case can tell whether injected input reached it.
    long received(UINT message) const;
    // The mouse messages since open or the last call, oldest first.
    std::vector<MouseMessage> takeMouseMessages();
    // Takes mouse messages until `buttons` button messages have come or
    // timeoutMs has passed; what came, oldest first.
    std::vector<MouseMessage> takeMouseMessagesUntil(size_t buttons, int timeoutMs);
    // The characters typed into it, Backspace taking one back, Enter as '\n'.
    std::wstring typedText();
    // Whether it is the foreground window and has the keyboard focus.
    bool hasFocus() const;
    // Makes it the foreground window with the keyboard focus; true once it is.
    bool bringToFront();

private:
    static DWORD WINAPI threadMain(LPVOID self);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    volatile LONG counts_[WM_USER] = {};
    CRITICAL_SECTION mouseLock_;
    bool mouseLockReady_ = false;
    std::vector<MouseMessage> mouse_;
    std::wstring typed_;
    RECT outer_{};
    const wchar_t* title_ = L"";
    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
};

// ---- Screenshot ----------------------------------------------------------

// When the runner asked for it (E2E_SHOT_REQUEST names a file), creates
// that file and waits for the runner to delete it once the screen is saved.
void requestScreenshot(Run& run);

} // namespace e2e
