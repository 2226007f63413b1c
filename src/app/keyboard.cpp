#include "app/keyboard.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "config_window/options_texts.h"
#include "config_window/own_windows.h"
#include "keyboard/session.h"
#include "platform/monitors.h"
#include "platform/scale.h"
#include "pointer/movement.h"
#include "scan/scan.h"
#include "scan/switch_input.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {

// Large enough to read from across a room at 100 % scale; narrower only
// where the monitor is.
constexpr int KEY_SIZE = 64;
constexpr int SMALLEST_KEY_SIZE = 36;
// The keyboard's outer frame beside its keys: its caption and borders.
constexpr int FRAME_ALLOWANCE = 40;
constexpr std::size_t LEARNED_WORDS_FILE_LIMIT = std::size_t{256} * 1024;

// Owned by the panel's thread.
std::unique_ptr<KeyboardSession> g_session;
// Read when the keyboard opens with keyboard_learn on, written when it closes.
LearnedWords g_learned;
bool g_learning = false;
KeyboardView g_docked;

std::mutex g_viewLock;
KeyboardView g_view;

// As the More options window's: `auto` is the language of Windows.
Language keyboardLanguage(Platform& p) {
    const TextLanguage words = textLanguageFor(optionInForce(OPTION_LANGUAGE), p.userLanguageSpanish());
    return words == TextLanguage::Spanish ? LANGUAGE_ES : LANGUAGE_EN;
}

int periodMs() {
    const int own = optionInForce(OPTION_KEYBOARD_PERIOD_MS);
    return own > 0 ? own : live().liveScanPeriodMs.load();
}

// Docked at the bottom of the monitor that holds the pointer, or at its top
// when the caret of the window being typed into would be under it there.
// Where the caret would be under it either way, its keys shrink, down to
// the smallest still easy to read, until it fits on the side with more room.
void dock(Platform& p, KeyboardView& v) {
    const Point pointer = p.cursorPos();
    const int dpi = p.dpiAt(pointer);
    v.monitor = monitorHolding(p.monitorLayout(), pointer);
    const int rows = std::max(1, v.rows);
    v.keySize = std::max(1, std::min(scaleToDpi(KEY_SIZE, dpi), v.monitor.width / std::max(1, v.columns)));
    v.atTop = false;
    Rect caret;
    if (!p.caretRect(caret)) return;
    const int frame = scaleToDpi(FRAME_ALLOWANCE, dpi);
    const int above = caret.top - v.monitor.top;
    const int below = v.monitor.top + v.monitor.height - (caret.top + caret.height);
    const int room = std::max(above, below);
    v.atTop = below < rows * v.keySize + frame && above > below;
    if (room < rows * v.keySize + frame)
        v.keySize = std::max(scaleToDpi(SMALLEST_KEY_SIZE, dpi), (room - frame) / rows);
}

// Kept as the session now stands, for the window to read.
void storeView() {
    KeyboardView v = g_docked;
    v.keys = g_session->keys();
    v.lit.assign(v.keys.size(), false);
    for (const int k : g_session->lit()) v.lit[static_cast<std::size_t>(k)] = true;
    v.caption = g_session->caption();
    const std::lock_guard<std::mutex> hold(g_viewLock);
    g_view = std::move(v);
}

// The window is told to look.
void publish(Platform& p) {
    storeView();
    p.answerOwnWindow(OwnWindow::Keyboard, WindowAnswer::ShowState);
}

// Written as options.ini is, beside config.ini; a file that cannot be
// written only costs what was learnt this time.
void saveLearned(Platform& p) {
    if (!g_learning || !g_learned.changed()) return;
    if (p.replaceFile(LEARNED_WORDS_FILE_NAME, g_learned.text())) g_learned.saved();
}

void endSession(Platform& p) {
    p.killTimer(TIMER_KEYBOARD);
    g_session.reset();
    saveLearned(p);
}

// The panel's scan goes on from the Keyboard cell, a whole step later.
void resumePanelScan(Platform& p) {
    setPressState(PressState::Scanning);
    startScanTimer(p);
}

void closeKeyboard(Platform& p) {
    endSession(p);
    closeOwnWindow(p, OwnWindow::Keyboard);
    resumePanelScan(p);
}

// After a press or a period: what was chosen is typed, and the next step
// comes a whole period later, unless the scan has come to rest.
void afterStep(Platform& p) {
    const std::u32string keys = g_session->takeStrokes();
    if (!keys.empty()) p.typeKeys(keys);
    const std::vector<std::string> words = g_session->takeFinishedWords();
    if (g_learning && !words.empty() && !p.focusIsPassword())
        for (const std::string& w : words) g_learned.learn(w);
    if (g_session->closeChosen()) {
        closeKeyboard(p);
        return;
    }
    // The caret may have come down under the keyboard.
    if (!keys.empty()) dock(p, g_docked);
    if (g_session->resting())
        p.killTimer(TIMER_KEYBOARD);
    else
        p.setTimer(TIMER_KEYBOARD, periodMs());
    publish(p);
}

} // namespace

KeyboardView keyboardView() {
    const std::lock_guard<std::mutex> hold(g_viewLock);
    return g_view;
}

bool keyboardOpen() { return g_session != nullptr; }

void openKeyboard(Platform& p) {
    if (g_session) return;
    // Still on its way out from the last time: the panel's scan goes on.
    if (!claimOwnWindow(OwnWindow::Keyboard)) {
        resumePanelScan(p);
        return;
    }
    // The panel rests on its Keyboard cell while the keyboard scans.
    stopScanTimers(p);
    setPressState(PressState::Idle);
    const int loops = optionInForce(OPTION_SCAN_LOOPS);
    const KeyboardScan scan =
        optionInForce(OPTION_KEYBOARD_SCAN) == KEYBOARD_SCAN_ROWS ? KeyboardScan::Rows : KeyboardScan::Groups;
    const Language language = keyboardLanguage(p);
    g_session = std::make_unique<KeyboardSession>(language, scan, loops);
    g_learning = optionInForce(OPTION_KEYBOARD_LEARN) == 1;
    g_learned = LearnedWords{};
    std::string bytes;
    if (g_learning && p.readFile(LEARNED_WORDS_FILE_NAME, bytes, LEARNED_WORDS_FILE_LIMIT) == FileRead::Ok)
        g_learned.read(bytes);
    if (g_learning) g_session->useLearned(&g_learned);
    const KeyboardLayout& layout = keyboardLayout(language);
    g_docked = KeyboardView{};
    g_docked.rows = layout.rows;
    g_docked.columns = layout.columns;
    dock(p, g_docked);
    g_session->open();
    p.setTimer(TIMER_KEYBOARD, periodMs());
    // The window reads it as it is made.
    storeView();
    p.openOwnWindow(OwnWindow::Keyboard);
}

void keyboardPress(Platform& p) {
    if (!g_session) return;
    g_session->press();
    afterStep(p);
}

void keyboardTick(Platform& p) {
    if (!g_session) {
        p.killTimer(TIMER_KEYBOARD);
        return;
    }
    g_session->timeout();
    afterStep(p);
}

void stopKeyboardScan(Platform& p) {
    if (!g_session) return;
    g_session->stop();
    p.killTimer(TIMER_KEYBOARD);
    publish(p);
}

// The kit's plain steps, and the panel takes the switch back as the window
// goes: closed from its close box, or ended from outside.
void onKeyboardRequest(Platform& p, int request) {
    const bool ends = g_session && !strayRequest(OwnWindow::Keyboard) &&
                      (request == PLAIN_GONE || ownWindowState(OwnWindow::Keyboard).closing == 0);
    if (ends) endSession(p);
    onPlainRequest(p, OwnWindow::Keyboard, request);
    if (ends) resumePanelScan(p);
}

void keyboardAtExit(Platform& p) {
    if (g_session) endSession(p);
}

void forgetKeyboard() {
    g_session.reset();
    g_learned = LearnedWords{};
    g_learning = false;
}

} // namespace sp
