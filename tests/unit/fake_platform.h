// A recording stand-in for the system: every seam call is logged as one line
// of text, so a test reads as the order of effects a user would see, and the
// world (pointer, screen, files) is whatever the test sets.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sp {

class FakePlatform : public Platform {
public:
    // What the world looks like.
    Point cursor{512, 384};
    Size screen{1024, 768};
    // Empty: one monitor of `screen`'s size.
    MonitorLayout monitors;
    // The DPI of every monitor.
    int dpi = 96;
    Rect panel{0, 0, 231, 120};
    bool swapped = false;
    std::map<std::string, std::string> files; // name -> bytes
    std::map<std::string, bool> directories;  // names that exist but cannot be read or replaced
    bool failWrites = false;
    std::set<std::string> readOnly;
    // Reads of a file that still find it held open by another program.
    std::map<std::string, int> lockedReads;
    // Files held open until the fake clock reaches this.
    std::map<std::string, double> lockedUntilMs;
    std::string timeText = "2026-03-04 05:06:07";
    // Another copy: the shortest wait that gets the claim (0: free; -1:
    // never), and its answers to showRunningCopy in turn, then Gone.
    int claimFreeAfterMs = 0;
    std::vector<RunningCopy> copyAnswers;
    bool hookInstallFails = false;
    // Calls to sendAbsoluteMove move `cursor` as the system would.
    bool moveCursorOnInput = true;
    // Where the pointer is, as the panel and configuration window see it.
    bool onPanel = false;
    bool onOwnWindow[OWN_WINDOW_COUNT] = {};
    bool spanishUser = false;

    std::vector<std::string> log;
    int timerPeriod[100] = {};
    bool timerRunning[100] = {};
    bool hookIn[2] = {false, false};
    int hookInstalls = 0;
    int rawInputKind = -1;
    int rawInputRegistrations = 0;
    Colour lineColour = 0;
    int lineColourChanges = 0;
    bool armOpen[ARM_COUNT] = {};
    Rect armRect[ARM_COUNT] = {};
    bool helpBoxOpen = false;
    bool pointMarkOpen[POINT_MARK_COUNT] = {};
    Rect pointMarkRect[POINT_MARK_COUNT] = {};
    Point helpBoxAt{};
    // What the crosshair windows hold of the system: each start makes a
    // thread and a window that only a close gives back, as the real ones do.
    int liveThreads = 0;
    int liveWindows = 0;
    int liveBrushes = 0;
    int sleptMs = 0;
    // The fake clock: tests move it on; sleeps move it too.
    double clockMs = 0;
    std::string caption;

    void clearLog() { log.clear(); }
    // Log lines that start with `prefix`.
    std::vector<std::string> calls(const std::string& prefix) const;

    void setTimer(int id, int periodMs) override;
    void killTimer(int id) override;
    void sleepMs(int ms) override;
    double nowMs() override { return clockMs; }
    void paintCell(int cell, Colour colour, Icon icon) override;
    void setCaption(const char* text) override;
    void setClassIcon(Icon icon) override;
    bool installHook(HookKind kind) override;
    void removeHook(HookKind kind) override;
    void watchRawInput(HookKind kind) override;
    void sendAbsoluteMove(int normX, int normY) override;
    void sendButton(unsigned buttonEvent) override;
    void sendWheel(int delta, bool horizontal) override;
    void typeKeys(const std::u32string& keys) override;
    bool caretRect(Rect& caret) override;
    bool focusIsPassword() override { return passwordFocused; }
    void layOutPanel() override;
    Point cursorPos() override;
    Size screenSize() override;
    MonitorLayout monitorLayout() override;
    int dpiAt(Point) override { return dpi; }
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
    // Run in each sleep, or caption change, as another thread would run meanwhile.
    std::function<void(int)> onSleep;
    std::function<void(const std::string&)> onCaption;
    // Run at the invalidation, so a test can see what the box would paint then.
    std::function<void()> onInvalidateHelpBox;
    void playClickSound() override;
    bool pointerOnPanel() override;
    bool pointerOnOwnWindow(OwnWindow window) override { return onOwnWindow[static_cast<int>(window)]; }
    Rect panelRect() override { return panel; }
    void movePanel(Point topLeft) override;
    void openOwnWindow(OwnWindow window) override;
    void setConfigTimer(int periodMs) override;
    // The menu's entries as last shown; false from showMenu and askYesNo
    // when their thread could not take them.
    std::vector<MenuEntry> shownMenu;
    bool menuThreadUp = true;
    // The focused window's caret; none while empty.
    Rect caret{0, 0, 0, 0};
    bool passwordFocused = false;
    bool showMenu(const MenuEntry* entries, int count, MenuPlace place) override;
    bool askYesNo(const char* title, const char* text) override;
    void endMenu() override;
    void openPageBesideExe(const char* page) override;
    void closePanelWindow() override;
    void answerOwnWindow(OwnWindow window, WindowAnswer answer) override;
    bool userLanguageSpanish() override { return spanishUser; }
    bool fileExists(const char* name) override;
    FileRead readFile(const char* name, std::string& bytes, std::size_t maxBytes) override;
    bool replaceFile(const char* name, const std::string& bytes) override;
    void removeUnfinishedReplace(const char* name) override;
    bool fileReadOnly(const char* name) override;
    bool copyFile(const char* from, const char* to) override;
    std::string localTimeText() override;
    bool claimOnlyCopy(int waitMs) override;
    RunningCopy showRunningCopy(int waitMs) override;
};

const char* armName(Arm arm);

} // namespace sp
