// The Win32 side of the seam: what the logic asks for, done with the real
// API, plus the handles only this side knows about.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <atomic>
#include <string>

#include "platform/platform.h"
#include "platform/win32/messages.h"

namespace sp {

// Every event the program synthesises carries this in dwExtraInfo, so its
// own hook can tell it from the user's hand.
constexpr ULONG_PTR OWN_INPUT_MARK = 0x53505054; // "SPPT"

// Crosshair windows by slot: the four arms, then the help box, then the
// point scan's marks.
constexpr int HELP_BOX_SLOT = ARM_COUNT;
constexpr int POINT_BAND_SLOT = HELP_BOX_SLOT + 1;
constexpr int POINT_LINE_SLOT = POINT_BAND_SLOT + 1;
constexpr int OVERLAY_SLOTS = POINT_LINE_SLOT + 1;

struct Win32Handles {
    HINSTANCE instance = nullptr;
    HWND panel = nullptr;
    HICON icons[ICON_COUNT] = {};
    std::atomic<HWND> armWindow[ARM_COUNT] = {};
    std::atomic<HWND> helpBoxWindow{nullptr};
    std::atomic<HWND> pointMarkWindow[POINT_MARK_COUNT] = {};
    // Each start of a crosshair window takes a ticket; a close covers every
    // ticket issued so far, also of a window whose thread has not yet made it.
    std::atomic<unsigned> overlayStarted[OVERLAY_SLOTS] = {};
    std::atomic<unsigned> overlayClosedThrough[OVERLAY_SLOTS] = {};
    std::atomic<Colour> lineColour{0};
};

Win32Handles& handles();

// Narrow text as UTF-16: names in the ANSI code page, the window's texts in UTF-8.
std::wstring widen(const char* text, UINT codePage = CP_ACP);

class Win32Platform : public Platform {
public:
    void setTimer(int id, int periodMs) override;
    void killTimer(int id) override;
    void sleepMs(int ms) override;
    double nowMs() override;
    void paintCell(int cell, Colour colour, Icon icon) override;
    void setCaption(const char* text) override;
    void setClassIcon(Icon icon) override;
    void layOutPanel() override;
    bool installHook(HookKind kind) override;
    void removeHook(HookKind kind) override;
    void watchRawInput(HookKind kind) override;
    void sendAbsoluteMove(int normX, int normY) override;
    void sendButton(unsigned buttonEvent) override;
    void sendWheel(int delta, bool horizontal) override;
    void typeKeys(const std::u32string& keys) override;
    bool caretRect(Rect& caret) override;
    bool focusIsPassword() override;
    Point cursorPos() override;
    Size screenSize() override;
    MonitorLayout monitorLayout() override;
    int dpiAt(Point point) override;
    bool buttonsSwapped() override;
    void startArm(Arm arm) override;
    void closeArm(Arm arm) override;
    void moveArm(Arm arm, const Rect& rect) override;
    void setLineColour(Colour colour) override;
    void setArmOpacity(Arm arm, int alpha) override;
    void showPointMark(PointMark mark, const Rect& rect) override;
    void closePointMarks() override;
    void startHelpBox() override;
    void closeHelpBox() override;
    void moveHelpBox(Point topLeft) override;
    void invalidateHelpBox() override;
    void playClickSound() override;
    bool pointerOnPanel() override;
    bool pointerOnOwnWindow(OwnWindow window) override;
    Rect panelRect() override;
    void movePanel(Point topLeft) override;
    void openOwnWindow(OwnWindow window) override;
    void answerOwnWindow(OwnWindow window, WindowAnswer answer) override;
    void setConfigTimer(int periodMs) override;
    bool showMenu(const MenuEntry* entries, int count, MenuPlace place) override;
    bool askYesNo(const char* title, const char* text) override;
    void endMenu() override;
    void openPageBesideExe(const char* page) override;
    void closePanelWindow() override;
    bool userLanguageSpanish() override;
    bool fileExists(const char* name) override;
    FileRead readFile(const char* name, std::string& bytes, std::size_t maxBytes) override;
    bool replaceFile(const char* name, const std::string& bytes) override;
    bool fileReadOnly(const char* name) override;
    void removeUnfinishedReplace(const char* name) override;
    bool copyFile(const char* from, const char* to) override;
    std::string localTimeText() override;
    bool claimOnlyCopy(int waitMs) override;
    RunningCopy showRunningCopy(int waitMs) override;
};

Win32Platform& win32Platform();

// The calling thread's messages until WM_QUIT; its exit code.
int runMessageLoop();

// Icons loaded once at start-up, at the default icon size.
HICON iconHandle(Icon icon);
// The icon drawn sharp at `pixels` square: loaded at that size the first
// time, then kept until the process ends, for any thread to use.
HICON iconAtSize(Icon icon, int pixels);
// A cell's face: the colour, and its icon scaled for `dpi` at its place.
void fillWithIcon(HDC dc, const RECT& rect, Colour colour, Icon icon, int dpi);

// The DPI a window is drawn at, and a system metric at a DPI; each falls
// back where the system lacks the call (the exe starts on every Windows).
int windowDpi(HWND window);
int systemMetricAt(int index, int dpi);

// The hook thread (switch_hook.cpp).
bool startHookThread();
bool hookInstall(HookKind kind);
void hookRemove(HookKind kind);
// True when a message posted by the hook thread came from the hook that is in now.
bool hookEventIsCurrent(HookKind kind, LPARAM generation);
// Clears the pending-move mark so the next move is posted again.
void takePendingMove();
#ifdef SWITCHPOINT_BENCH
// Each hook procedure call's own time, in microseconds, one per line.
void writeHookTimes(const wchar_t* path);
// "sound <ms>" per click sound, "hookback <ms>" from a click's last button
// event to the switch taking presses again.
void writeClickTimes(const wchar_t* path);
// "stop <performance counter in ms>" when a stop seen by the hook has acted.
void noteStopActed();
// "press <performance counter in ms>" when a press changed the press
// handler's state: one per press acted on.
void notePressActed();
// Every press the switch let through, whatever it then did.
void notePressTaken();
// The press in hand is over; notes "hookback" after a click.
void noteSwitchFree();
// "<what> <ms>" since `start`, a performance counter reading.
void noteTimeSince(const char* what, const LARGE_INTEGER& start);
// A click's last button event has gone: noteSwitchFree measures from here.
void noteButtonSent();
#endif

const wchar_t* armClassName(Arm arm);
const wchar_t* pointMarkClassName(PointMark mark);

// The system around the program (system_watch.cpp): session, power and
// foreground notifications go to the panel from watchTheSystem on.
void watchTheSystem(HWND panel);
void stopWatchingTheSystem(HWND panel);
// The panel's share of those messages; true when it has answered one.
bool onSystemMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The program's own windows (own_window.cpp). Each gives a description of
// itself and keeps only its controls; the class, the thread, the handle,
// the requests to the panel and the answers back, where the pointer is and
// the message cases every window handles alike are the kit's.
struct OwnWindowKind {
    OwnWindow id;
    const wchar_t* className;
    // The class's icon resource and background brush.
    const wchar_t* icon;
    HBRUSH (*background)();
    DWORD style;
    DWORD exStyle;
    // On the window's thread: where it opens and its first title.
    Rect (*place)();
    std::wstring (*title)();
    // Once shown: what it starts (timers), what it asks of the others.
    void (*shown)(HWND window);
    // Its own messages; DefWindowProc is its to call for the rest.
    LRESULT(CALLBACK* proc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void (*answer)(HWND window, WindowAnswer answer);
    // Releases what the controls showed, once they are gone.
    void (*release)();
    // On the panel's thread: one request of the window, carried out.
    void (*request)(int what, int value);
    // Its requests for the close and for the window gone.
    int closeRequest;
    int goneRequest;
};
// Each window's description, named for its id and defined in its own file.
#define SP_WINDOW_KIND(id, name) extern const OwnWindowKind id##Window;
SP_OWN_WINDOWS(SP_WINDOW_KIND)
#undef SP_WINDOW_KIND

// Every own window's class; false if one cannot be had.
bool registerOwnWindows(HINSTANCE instance);
// The window's thread, which makes, shows and runs the window; false (and
// the window gone) when it cannot start.
bool startOwnWindow(OwnWindow window);
HWND ownWindowHandle(OwnWindow window);
void postOwnWindowAnswer(OwnWindow window, WindowAnswer answer);
bool pointerOnOwnWindowClient(OwnWindow window);
// A window's request to the panel's thread, which must not be lost.
bool requestFromOwnWindow(OwnWindow window, int what, int value = 0);
// The panel's side of WM_OWN_WINDOW_REQUEST.
void onOwnWindowRequest(WPARAM wParam, LPARAM lParam);
// Posted, never sent, and waited out for a while when the queue is full.
bool postToPanelPatiently(UINT message, WPARAM wParam, LPARAM lParam);
// Over the client area of `window` or of another window of its thread.
bool pointerOnClientOf(HWND window);
// A window's or control's text, set only when it differs: a text set again
// repaints and flickers, and a screen reader reads it out again.
void setTextIfChanged(HWND control, const std::wstring& text);

// The configuration window's timer, set on its own thread.
void setConfigWindowTimer(int periodMs);

// The menu's thread (menu_window.cpp): its hidden window owns the menu, the
// exit question and the notification-area icon.
bool startMenuThread();
bool showMenuOnItsThread(const MenuEntry* entries, int count, MenuPlace place);
bool askOnMenuThread(const char* title, const char* text);
void endMenuThread();
// The icon's tooltip: the panel's caption.
void setTrayTip(const char* caption);
// Opened by the shell from the menu's thread, which may wait on it.
void openPageOnMenuThread(const char* page);
LRESULT CALLBACK menuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A page shipped beside the exe, by its name there.
std::wstring pageBesideExe(const char* page);

// The panel's outer size for the cells shown at `dpi`, and its cells laid
// out anew for `dpi`.
SIZE panelWindowSize(int dpi);
void layOutPanelWindow(HWND panel, int dpi);

// Window procedures registered at start-up.
LRESULT CALLBACK panelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK armWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI armThreadProc(LPVOID param);
// A point mark's thread: its window is made where the mark was last put.
DWORD WINAPI pointMarkThreadProc(LPVOID param);
void putPointMark(PointMark mark, const Rect& rect);
LRESULT CALLBACK helpBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD WINAPI helpBoxThreadProc(LPVOID param);
// The help box's background, made once for the life of the process.
HBRUSH helpBoxBrush();

// A crosshair window's thread, started with its slot and ticket packed into
// the thread parameter; and the close that also reaches one still starting.
void startOverlayThread(int slot, LPTHREAD_START_ROUTINE proc);
void closeOverlay(int slot);
int overlaySlotOf(LPVOID param);
std::atomic<HWND>& overlayWindow(int slot);
// The life of a crosshair window on its own thread: `make` creates it, it
// takes its slot, is shown without activation, raises its open flag, and
// loops until closed.
using OverlayMaker = HWND (*)(LPVOID param);
void runOverlayWindow(OverlayMaker make, LPVOID param);
// Its WM_CLOSE and WM_DESTROY.
void closeOverlayWindow(HWND window, int slot);
void forgetOverlayWindow(HWND window, int slot);

} // namespace sp
