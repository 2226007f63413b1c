#include "fake_platform.h"

#include <cstdio>

#include "overlay/crosshair.h"
#include "platform/monitors.h"
#include "settings/text_file.h"

namespace sp {

namespace {
const char* hookName(HookKind kind) { return kind == HookKind::Mouse ? "mouse" : "keyboard"; }

std::string hex(Colour c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c));
    return buf;
}
} // namespace

const char* armName(Arm arm) {
    switch (arm) {
    case Arm::Left: return "left";
    case Arm::Right: return "right";
    case Arm::Up: return "up";
    case Arm::Down: return "down";
    }
    return "?";
}

std::vector<std::string> FakePlatform::calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

void FakePlatform::setTimer(int id, int periodMs) {
    log.push_back("setTimer " + std::to_string(id) + " " + std::to_string(periodMs));
    timerPeriod[id] = periodMs;
    timerRunning[id] = true;
}

void FakePlatform::killTimer(int id) {
    log.push_back("killTimer " + std::to_string(id));
    timerRunning[id] = false;
}

void FakePlatform::sleepMs(int ms) {
    log.push_back("sleep " + std::to_string(ms));
    sleptMs += ms;
    clockMs += ms;
    if (onSleep) onSleep(ms);
}

void FakePlatform::paintCell(int cell, Colour colour, Icon icon) {
    log.push_back("paintCell " + std::to_string(cell) + " " + hex(colour) + " " + iconResourceName(icon));
}

void FakePlatform::setCaption(const char* text) {
    log.push_back(std::string("setCaption ") + text);
    caption = text;
    if (onCaption) onCaption(caption);
}

void FakePlatform::setClassIcon(Icon icon) {
    log.push_back(std::string("setClassIcon ") + iconResourceName(icon));
}

bool FakePlatform::installHook(HookKind kind) {
    log.push_back(std::string("installHook ") + hookName(kind));
    if (hookInstallFails) return false;
    if (!hookIn[static_cast<int>(kind)]) ++hookInstalls;
    hookIn[static_cast<int>(kind)] = true;
    return true;
}

void FakePlatform::removeHook(HookKind kind) {
    log.push_back(std::string("removeHook ") + hookName(kind));
    hookIn[static_cast<int>(kind)] = false;
}

// Kept out of the log: it rides along with the first install of each kind.
void FakePlatform::watchRawInput(HookKind kind) {
    rawInputKind = static_cast<int>(kind);
    ++rawInputRegistrations;
}

void FakePlatform::sendAbsoluteMove(int normX, int normY) {
    log.push_back("sendAbsoluteMove " + std::to_string(normX) + " " + std::to_string(normY));
    if (!moveCursorOnInput) return;
    // Windows maps 0..65535 onto the virtual screen and keeps the pointer on a monitor.
    const MonitorLayout layout = monitorLayout();
    const Rect v = virtualScreen(layout);
    auto toPixel = [](int norm, int origin, int extent) {
        return origin + static_cast<int>((static_cast<long long>(norm) * extent) / 65536);
    };
    cursor = nearestMonitorPoint(layout, {toPixel(normX, v.left, v.width), toPixel(normY, v.top, v.height)},
                                 Ahead::Anywhere);
}

void FakePlatform::layOutPanel() { log.push_back("layOutPanel"); }

void FakePlatform::sendWheel(int delta, bool horizontal) {
    log.push_back(std::string(horizontal ? "sendWheel across " : "sendWheel ") + std::to_string(delta));
}

// Backspace and Enter as the keys' names, the rest as UTF-8.
void FakePlatform::typeKeys(const std::u32string& keys) {
    std::string text;
    for (const char32_t c : keys) text += c == U'\b' ? "<Back>" : c == U'\n' ? "<Enter>" : toUtf8({c});
    log.push_back("typeKeys " + text);
}

bool FakePlatform::caretRect(Rect& out) {
    if (caret.width == 0 && caret.height == 0) return false;
    out = caret;
    return true;
}

void FakePlatform::sendButton(unsigned buttonEvent) {
    log.push_back("sendButton " + std::to_string(buttonEvent));
}

Point FakePlatform::cursorPos() { return cursor; }
Size FakePlatform::screenSize() { return screen; }
MonitorLayout FakePlatform::monitorLayout() { return monitors.empty() ? singleMonitor(screen) : monitors; }
bool FakePlatform::buttonsSwapped() { return swapped; }

void FakePlatform::startArm(Arm arm) {
    log.push_back(std::string("startArm ") + armName(arm));
    armOpen[static_cast<int>(arm)] = true;
    noteArmOpen(arm, true);
    ++liveThreads;
    ++liveWindows;
}

void FakePlatform::closeArm(Arm arm) {
    log.push_back(std::string("closeArm ") + armName(arm));
    if (armOpen[static_cast<int>(arm)]) {
        --liveThreads;
        --liveWindows;
    }
    armOpen[static_cast<int>(arm)] = false;
    noteArmOpen(arm, false);
}

void FakePlatform::moveArm(Arm arm, const Rect& r) {
    log.push_back(std::string("moveArm ") + armName(arm) + " " + std::to_string(r.left) + " " +
                  std::to_string(r.top) + " " + std::to_string(r.width) + " " + std::to_string(r.height));
    armRect[static_cast<int>(arm)] = r;
}

void FakePlatform::setLineColour(Colour colour) {
    log.push_back("setLineColour " + hex(colour));
    lineColour = colour;
    ++lineColourChanges;
    // A new brush; the old one is released.
    liveBrushes = 1;
}

void FakePlatform::setArmOpacity(Arm arm, int alpha) {
    log.push_back(std::string("setArmOpacity ") + armName(arm) + " " + std::to_string(alpha));
}

void FakePlatform::showPointMark(PointMark mark, const Rect& r) {
    log.push_back(std::string("showPointMark ") + (mark == PointMark::Band ? "band" : "line"));
    pointMarkOpen[static_cast<int>(mark)] = true;
    pointMarkRect[static_cast<int>(mark)] = r;
}

void FakePlatform::closePointMarks() {
    log.push_back("closePointMarks");
    pointMarkOpen[0] = pointMarkOpen[1] = false;
}

void FakePlatform::startHelpBox() {
    log.push_back("startHelpBox");
    helpBoxOpen = true;
    noteHelpBoxOpen(true);
    ++liveThreads;
    ++liveWindows;
}

void FakePlatform::closeHelpBox() {
    log.push_back("closeHelpBox");
    if (helpBoxOpen) {
        --liveThreads;
        --liveWindows;
    }
    helpBoxOpen = false;
    noteHelpBoxOpen(false);
}

void FakePlatform::moveHelpBox(Point topLeft) {
    log.push_back("moveHelpBox " + std::to_string(topLeft.x) + " " + std::to_string(topLeft.y));
    helpBoxAt = topLeft;
}

void FakePlatform::invalidateHelpBox() {
    log.push_back("invalidateHelpBox");
    if (onInvalidateHelpBox) onInvalidateHelpBox();
}

void FakePlatform::playClickSound() { log.push_back("playClickSound"); }

bool FakePlatform::pointerOnPanel() { return onPanel; }

void FakePlatform::movePanel(Point topLeft) {
    log.push_back("movePanel " + std::to_string(topLeft.x) + " " + std::to_string(topLeft.y));
    panel.left = topLeft.x;
    panel.top = topLeft.y;
}

static std::string windowName(OwnWindow window) {
    return std::string(OWN_WINDOW_NAMES[static_cast<int>(window)]) + "Window";
}

void FakePlatform::openOwnWindow(OwnWindow window) { log.push_back("open" + windowName(window)); }

void FakePlatform::answerOwnWindow(OwnWindow window, WindowAnswer answer) {
    static const char* const names[] = {"show", "readOnly", "saveFailed", "closeNow"};
    log.push_back("answer" + windowName(window) + " " + names[static_cast<int>(answer)]);
}

bool FakePlatform::showMenu(const MenuEntry* entries, int count, MenuPlace place) {
    log.push_back(std::string("showMenu ") + (place == MenuPlace::Panel ? "panel" : "pointer"));
    shownMenu.assign(entries, entries + count);
    return menuThreadUp;
}

bool FakePlatform::askYesNo(const char* title, const char* text) {
    log.push_back(std::string("askYesNo ") + title + ": " + text);
    return menuThreadUp;
}

void FakePlatform::endMenu() { log.push_back("endMenu"); }
void FakePlatform::openPageBesideExe(const char* page) { log.push_back(std::string("openPage ") + page); }
void FakePlatform::closePanelWindow() { log.push_back("closePanelWindow"); }

void FakePlatform::setConfigTimer(int periodMs) {
    log.push_back("setConfigTimer " + std::to_string(periodMs));
}

bool FakePlatform::fileExists(const char* name) {
    return files.count(name) != 0 || directories.count(name) != 0;
}

FileRead FakePlatform::readFile(const char* name, std::string& bytes, std::size_t maxBytes) {
    log.push_back(std::string("readFile ") + name);
    auto held = lockedReads.find(name);
    if (held != lockedReads.end() && held->second > 0) {
        --held->second;
        return FileRead::Locked;
    }
    if (lockedUntilMs.count(name) != 0 && clockMs < lockedUntilMs[name]) return FileRead::Locked;
    if (directories.count(name) != 0) return FileRead::Failed;
    auto it = files.find(name);
    if (it == files.end()) return FileRead::Missing;
    if (it->second.size() > maxBytes) return FileRead::TooLarge;
    bytes = it->second;
    return FileRead::Ok;
}

bool FakePlatform::replaceFile(const char* name, const std::string& bytes) {
    log.push_back(std::string("replaceFile ") + name);
    if (failWrites || directories.count(name) != 0 || readOnly.count(name) != 0) return false;
    files[name] = bytes;
    return true;
}

void FakePlatform::removeUnfinishedReplace(const char* name) {
    log.push_back(std::string("removeUnfinishedReplace ") + name);
}

bool FakePlatform::fileReadOnly(const char* name) { return readOnly.count(name) != 0; }

bool FakePlatform::copyFile(const char* from, const char* to) {
    log.push_back(std::string("copyFile ") + from + " " + to);
    auto it = files.find(from);
    if (failWrites || it == files.end() || directories.count(to) != 0 || readOnly.count(to) != 0)
        return false;
    files[to] = it->second;
    return true;
}

std::string FakePlatform::localTimeText() { return timeText; }

bool FakePlatform::claimOnlyCopy(int waitMs) {
    log.push_back("claimOnlyCopy " + std::to_string(waitMs));
    return claimFreeAfterMs >= 0 && waitMs >= claimFreeAfterMs;
}

RunningCopy FakePlatform::showRunningCopy(int waitMs) {
    log.push_back("showRunningCopy " + std::to_string(waitMs));
    if (copyAnswers.empty()) return RunningCopy::Gone;
    const RunningCopy answer = copyAnswers.front();
    copyAnswers.erase(copyAnswers.begin());
    return answer;
}

} // namespace sp
