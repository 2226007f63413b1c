// The one seam between the program's logic and the system.
//
// Logic in src/settings, src/scan, src/pointer, src/overlay and src/app talks
// to Windows only through these operations. src/platform/win32 carries them
// out with the Win32 API; tests/unit has a fake that records every call.
// Nothing here decides anything: no tables, timings or state machines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sp {

using Colour = std::uint32_t; // COLORREF layout: 0x00BBGGRR, red in the low byte

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The monitors' rectangles on the virtual screen, the primary first (it
// holds (0, 0)); never empty.
using MonitorLayout = std::vector<Rect>;

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// The cell icons, in the order they are loaded at start-up, each with its
// resource name: a new icon is one line here.
#define SP_ICONS(X)                                                                                          \
    X(Stop, "STOP")                                                                                          \
    X(Start, "START")                                                                                        \
    X(Esquerra, "ESQUERRA")                                                                                  \
    X(Dreta, "DRETA")                                                                                        \
    X(Amunt, "AMUNT")                                                                                        \
    X(Avall, "AVALL")                                                                                        \
    X(ClicEsquerra, "CLIC_ESQUERRA")                                                                         \
    X(ClicDreta, "CLIC_DRETA")                                                                               \
    X(MiddelClic, "MIDDEL_CLIC")                                                                             \
    X(DobleClic, "DOBLE_CLIC")                                                                               \
    X(Arrastra, "ARRASTRA")                                                                                  \
    X(RodaAmunt, "RODA_AMUNT")                                                                               \
    X(RodaAvall, "RODA_AVALL")                                                                               \
    X(RodaEsquerra, "RODA_ESQUERRA")                                                                         \
    X(RodaDreta, "RODA_DRETA")                                                                               \
    X(Menu, "MENU")                                                                                          \
    X(Punt, "PUNT")                                                                                          \
    X(Teclat, "TECLAT")

#define SP_ICON_ENUM(name, resource) name,
enum class Icon { SP_ICONS(SP_ICON_ENUM) };
#undef SP_ICON_ENUM
#define SP_ICON_NAME(name, resource) resource,
constexpr const char* ICON_RESOURCE_NAMES[] = {SP_ICONS(SP_ICON_NAME)};
#undef SP_ICON_NAME
constexpr int ICON_COUNT = static_cast<int>(sizeof ICON_RESOURCE_NAMES / sizeof ICON_RESOURCE_NAMES[0]);

// Resource name of an icon, e.g. "CLIC_DRETA".
constexpr const char* iconResourceName(Icon icon) {
    const int i = static_cast<int>(icon);
    return i >= 0 && i < ICON_COUNT ? ICON_RESOURCE_NAMES[i] : ICON_RESOURCE_NAMES[0];
}

// The crosshair arms, in the order every caller walks them.
enum class Arm { Left, Right, Up, Down };
constexpr int ARM_COUNT = 4;
constexpr Arm ALL_ARMS[ARM_COUNT] = {Arm::Left, Arm::Right, Arm::Up, Arm::Down};

// The point scan's marks.
enum class PointMark { Band, Line };
constexpr int POINT_MARK_COUNT = 2;

enum class HookKind { Mouse, Keyboard };

// How reading a file went. Locked: another program holds it open.
enum class FileRead { Ok, Missing, Locked, Failed, TooLarge };

// What the copy of the program that already runs made of a request.
enum class RunningCopy { Shown, Gone, NoAnswer };

// Timers of the control panel (and the configuration window's own).
enum TimerId : int {
    TIMER_SCAN = 11,
    TIMER_REARM = 14,
    TIMER_START_DELAY = 17,
    TIMER_CONFIG = 18,
    TIMER_WATCHDOG = 21,
    TIMER_HOLD = 22,
    TIMER_PANEL_ECHO = 23,
    TIMER_HELD_FILES = 30,
    TIMER_KEYBOARD = 31,
    TIMER_MOVE = 99,
};

// One entry of the program's menu as it is shown; text in UTF-8.
struct MenuEntry {
    int id;
    const char* text;
    bool enabled;
    // A line above it, apart from the others.
    bool separated;
};
// Where the menu opens: beside the panel, never over it; or at the pointer.
enum class MenuPlace { Panel, Pointer };

// The program's own windows, each with the name it goes by in logs.
#define SP_OWN_WINDOWS(X)                                                                                    \
    X(Settings, "Config")                                                                                    \
    X(Options, "Options")                                                                                    \
    X(Keyboard, "Keyboard")
#define SP_WINDOW_ID(id, name) id,
enum class OwnWindow { SP_OWN_WINDOWS(SP_WINDOW_ID) };
#undef SP_WINDOW_ID
#define SP_WINDOW_NAME(id, name) name,
constexpr const char* OWN_WINDOW_NAMES[] = {SP_OWN_WINDOWS(SP_WINDOW_NAME)};
#undef SP_WINDOW_NAME
constexpr int OWN_WINDOW_COUNT = static_cast<int>(sizeof OWN_WINDOW_NAMES / sizeof OWN_WINDOW_NAMES[0]);
// What one of them is told once its request has been carried out: show
// its controls as they now are, say that the file is read-only or that
// saving failed (nothing saved, it stays open), or go (its close has run).
enum class WindowAnswer { ShowState, ReadOnly, SaveFailed, CloseNow };

// Synthesised button events; the values are the MOUSEEVENTF_* flags.
enum ButtonEvent : unsigned {
    BUTTON_LEFT_DOWN = 0x0002,
    BUTTON_LEFT_UP = 0x0004,
    BUTTON_RIGHT_DOWN = 0x0008,
    BUTTON_RIGHT_UP = 0x0010,
    BUTTON_MIDDLE_DOWN = 0x0020,
    BUTTON_MIDDLE_UP = 0x0040,
};

class Platform {
public:
    virtual ~Platform() = default;

    // Timers on the control panel; setting a running timer restarts its period.
    virtual void setTimer(int id, int periodMs) = 0;
    virtual void killTimer(int id) = 0;
    // Blocks the calling thread.
    virtual void sleepMs(int ms) = 0;
    // Milliseconds from a fixed moment, finer than the timer tick; never
    // goes backwards.
    virtual double nowMs() = 0;

    // The control panel's face: one cell filled with a colour and its icon at
    // (6, 6), the caption, and the class icon (large and small).
    virtual void paintCell(int cell, Colour colour, Icon icon) = 0;
    virtual void setCaption(const char* text) = 0;
    virtual void setClassIcon(Icon icon) = 0;
    // The panel's cells and size again, for cells shown or placed anew.
    virtual void layOutPanel() = 0;

    // The desktop-wide switch hook. Both return only once the hook is in, or
    // out; installing a kind that is already in keeps the one hook.
    virtual bool installHook(HookKind kind) = 0;
    virtual void removeHook(HookKind kind) = 0;
    // Raw input from this device kind (and no longer from the other) reaches
    // the panel even while another program is in front.
    virtual void watchRawInput(HookKind kind) = 0;

    // Synthesised input: one absolute move in normalised 0..65535 units
    // across the virtual screen, and one button event at the current pointer
    // position.
    virtual void sendAbsoluteMove(int normX, int normY) = 0;
    virtual void sendButton(unsigned buttonEvent) = 0;
    // One wheel event at the pointer: `delta` in the system's units,
    // positive away from the user, or to the right on the tilt wheel.
    virtual void sendWheel(int delta, bool horizontal) = 0;
    // Typed into the window that has the focus, marked as the program's own:
    // each character as itself, '\b' as Backspace, '\n' as Enter.
    virtual void typeKeys(const std::u32string& keys) = 0;
    // Where the caret of the window with the focus is on the screen; false
    // when it shows none.
    virtual bool caretRect(Rect& caret) = 0;
    // The control with the focus hides what is typed in it (a password).
    virtual bool focusIsPassword() = 0;

    // Pointer, primary screen and every monitor, read afresh at each call.
    virtual Point cursorPos() = 0;
    virtual Size screenSize() = 0;
    virtual MonitorLayout monitorLayout() = 0;
    // The DPI of the monitor that holds (or is nearest to) a point; 96
    // where the system cannot tell.
    virtual int dpiAt(Point point) = 0;
    virtual bool buttonsSwapped() = 0;

    // Crosshair arm windows. startArm starts the arm's own thread, which
    // creates its window around the pointer as it is when the thread runs.
    // closeArm returns once the arm's thread has handled the close.
    virtual void startArm(Arm arm) = 0;
    virtual void closeArm(Arm arm) = 0;
    virtual void moveArm(Arm arm, const Rect& rect) = 0;
    // A new line brush of this colour for the arm classes; the previous brush
    // is released and the open arms repaint.
    virtual void setLineColour(Colour colour) = 0;
    // The opacity of an arm that is up, 0 to 255; no arm, no effect.
    virtual void setArmOpacity(Arm arm, int alpha) = 0;

    // The point scan's band and line: topmost windows in the line colour and
    // the crosshair's opacity that never take the focus, each on a thread of
    // its own like an arm. The band shows only its two long edges, so what
    // lies inside it stays in sight. showPointMark puts the mark at `rect`,
    // starting its window first when it is not up; closePointMarks returns
    // once both have handled the close.
    virtual void showPointMark(PointMark mark, const Rect& rect) = 0;
    virtual void closePointMarks() = 0;

    // The help box beside the pointer, on a thread of its own like an arm.
    // It paints the icon for the scan code current when it paints.
    virtual void startHelpBox() = 0;
    virtual void closeHelpBox() = 0;
    virtual void moveHelpBox(Point topLeft) = 0;
    virtual void invalidateHelpBox() = 0;

    // The click sound; returns when it has been played to its end.
    virtual void playClickSound() = 0;

    // Whether the pointer is, right now, over the control panel, and over
    // the client area of one of the program's own windows.
    virtual bool pointerOnPanel() = 0;
    virtual bool pointerOnOwnWindow(OwnWindow window) = 0;
    // The control panel's outer rectangle, and moving it (same size, same
    // place in the z-order) without taking the focus.
    virtual Rect panelRect() = 0;
    virtual void movePanel(Point topLeft) = 0;

    // Each of the program's own windows lives on a thread of its own.
    // Opening starts that thread; an answer does not wait for it.
    virtual void openOwnWindow(OwnWindow window) = 0;
    virtual void answerOwnWindow(OwnWindow window, WindowAnswer answer) = 0;
    // The settings window's own TIMER_CONFIG; it does not wait either.
    virtual void setConfigTimer(int periodMs) = 0;
    // The user's UI language is a Spanish one.
    virtual bool userLanguageSpanish() = 0;

    // The program's menu, and the notification-area icon that opens it, live
    // on a thread of their own. showMenu returns at once; the entry chosen
    // (0 for none) comes back to the panel's thread, once for every true
    // return. False: nothing was shown.
    virtual bool showMenu(const MenuEntry* entries, int count, MenuPlace place) = 0;
    // A Yes/No question on the menu's thread, No the default button; the
    // answer comes back to the panel's thread likewise.
    virtual bool askYesNo(const char* title, const char* text) = 0;
    // The menu or question that is up goes as if dismissed, the icon with it,
    // and their thread ends; returns once it has.
    virtual void endMenu() = 0;
    // A page of the program's own documentation, beside the exe.
    virtual void openPageBesideExe(const char* page) = 0;
    // The panel closes the way its close box closes it, after the caller returns.
    virtual void closePanelWindow() = 0;

    // The settings file, by a name relative to the working directory.
    virtual bool fileExists(const char* name) = 0;
    // A file larger than maxBytes gives TooLarge and is not read.
    virtual FileRead readFile(const char* name, std::string& bytes, std::size_t maxBytes) = 0;
    // Replaces the file in one step: afterwards it holds either its old
    // contents or all of the new ones. False when nothing was replaced; a
    // read-only file is never replaced.
    virtual bool replaceFile(const char* name, const std::string& bytes) = 0;
    // Removes what a replaceFile of this name left beside the file when the
    // process was ended in the middle of it.
    virtual void removeUnfinishedReplace(const char* name) = 0;
    virtual bool fileReadOnly(const char* name) = 0;
    // Copies a file, replacing an earlier copy of that name.
    virtual bool copyFile(const char* from, const char* to) = 0;
    // Local time as "YYYY-MM-DD HH:MM:SS".
    virtual std::string localTimeText() = 0;

    // One copy per signed-in session: true for the copy that holds the
    // claim, until it ends. waitMs is how long to wait for a claim that
    // another copy, ending, is letting go of.
    virtual bool claimOnlyCopy(int waitMs) = 0;
    // Asks the copy that runs to show its panel again if it is minimised,
    // without taking the focus from the user's window, and waits up to
    // waitMs for its answer. Gone: it has no panel (left or not yet made).
    virtual RunningCopy showRunningCopy(int waitMs) = 0;
};

} // namespace sp
