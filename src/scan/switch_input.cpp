// Switch hook classification.
#include "scan/switch_input.h"

#include <cstdlib>
#include <utility>

#include "scan/watchdog.h"
#include "settings/options.h"
#include "settings/settings.h"

namespace sp {

namespace {
SwitchState g_switch;
std::atomic<PressState> g_pressState{PressState::Idle};
static_assert(std::atomic<PressState>::is_always_lock_free, "the hook thread must never wait");

// The switch's contacts as the hook has seen them: the 256 keys, then the
// left, right and middle buttons. Only the hook thread touches them.
constexpr int KEY_CONTACTS = 256;
constexpr int LEFT_BUTTON = KEY_CONTACTS;
constexpr int RIGHT_BUTTON = KEY_CONTACTS + 1;
constexpr int MIDDLE_BUTTON = KEY_CONTACTS + 2;
struct SwitchContacts {
    bool closed[KEY_CONTACTS + 3] = {};
    double lastChangeMs = -1e18;
    // When the last press taken closed, for ignore_repeat_ms.
    double lastTakenMs = -1e18;
    // The closing that holdState is about, and when it closed.
    int holding = -1;
    double holdSinceMs = 0;
    // A hold that its contact's opening cut short: its bounce back resumes it.
    int cutShort = -1;
};
SwitchContacts g_contacts;

// The panel's last move as the hook thread may read it: where the pointer
// was and where its echo would read. Written whole by the main thread, the
// time last, so a reader that sees the time sees the rest.
struct PanelEcho {
    std::atomic<int> fromX{0}, fromY{0}, echoX{0}, echoY{0};
    std::atomic<double> atMs{-1e18};
};
PanelEcho g_echo;

// True once, for whichever of the hold timer and the release gets there first.
bool takeHold() {
    int waiting = HOLD_WAITING;
    return g_switch.holdState.compare_exchange_strong(waiting, HOLD_TAKEN);
}

SwitchEvent pressIfFree() {
    return g_switch.pressInHand.exchange(1) == 1 ? SwitchEvent::None : SwitchEvent::Press;
}

SwitchEvent contactOpened(int contact, double atMs) {
    g_contacts.closed[contact] = false;
    g_contacts.lastChangeMs = atMs;
    if (contact != g_contacts.holding) return SwitchEvent::None;
    g_contacts.holding = -1;
    // Let go late enough, before the main thread's timer came round to it.
    const bool heldLongEnough = atMs - g_contacts.holdSinceMs >= optionInForce(OPTION_HOLD_MS);
    if (heldLongEnough && takeHold()) {
        g_contacts.lastTakenMs = g_contacts.holdSinceMs;
        return pressIfFree();
    }
    // Taken by the timer, or let go too soon: either way the hold is over.
    if (g_switch.holdState.exchange(HOLD_NONE) == HOLD_TAKEN)
        g_contacts.lastTakenMs = g_contacts.holdSinceMs;
    else
        g_contacts.cutShort = contact;
    return SwitchEvent::None;
}

// One closing or opening of a contact; a closing may be a press.
SwitchEvent contactChanged(int contact, bool closing, double atMs) {
    if (!closing) return contactOpened(contact, atMs);
    bool& closed = g_contacts.closed[contact];
    // Held down: the keyboard's own repeat.
    if (closed) return SwitchEvent::None;
    closed = true;
    const bool bounce = atMs - g_contacts.lastChangeMs < BOUNCE_MS;
    g_contacts.lastChangeMs = atMs;
    const int cutShort = std::exchange(g_contacts.cutShort, -1);
    if (bounce && cutShort == contact && g_contacts.holding < 0) {
        // The contacts bounced open: the hold goes on from its first closing.
        g_contacts.holding = contact;
        g_switch.holdState = HOLD_WAITING;
        return SwitchEvent::HoldBegun;
    }
    const bool repeat = atMs - g_contacts.lastTakenMs < optionInForce(OPTION_IGNORE_REPEAT_MS);
    if (bounce || repeat || g_switch.pressInHand == 1) return SwitchEvent::None;
    if (optionInForce(OPTION_HOLD_MS) > 0) {
        // One hold at a time: a second contact closing meanwhile is no press.
        if (g_contacts.holding >= 0) return SwitchEvent::None;
        g_contacts.holding = contact;
        g_contacts.holdSinceMs = atMs;
        g_switch.holdState = HOLD_WAITING;
        return SwitchEvent::HoldBegun;
    }
    const SwitchEvent event = pressIfFree();
    if (event == SwitchEvent::Press) g_contacts.lastTakenMs = atMs;
    return event;
}
} // namespace

const SwitchState& switchState() { return g_switch; }
SwitchState& switchStateForTests() { return g_switch; }

PressState pressState() { return g_pressState; }

void setPressState(PressState state) { g_pressState = state; }

void resetSwitchState() {
    g_pressState = PressState::Idle;
    g_switch.pendingAction = 0;
    g_switch.mouseHookActive = 0;
    g_switch.keyboardHookActive = 0;
    g_switch.farMoveCount = 0;
    g_switch.lastMoveX = 0;
    g_switch.lastMoveY = 0;
    g_switch.stopPending = 0;
    g_switch.pressInHand = 0;
    forgetSwitchContacts();
}

void forgetSwitchContacts() {
    g_contacts = SwitchContacts{};
    g_switch.holdState = HOLD_NONE;
}

bool takeHeldPress() {
    if (!takeHold()) return false;
    return pressIfFree() == SwitchEvent::Press;
}

void endPressInHand() { g_switch.pressInHand = 0; }

void installSwitchHook(Platform& p) {
    const HookKind kind = mouseIsSwitch() ? HookKind::Mouse : HookKind::Keyboard;
    const bool in = p.installHook(kind);
    (kind == HookKind::Mouse ? g_switch.mouseHookActive : g_switch.keyboardHookActive) = in ? 1 : 0;
    if (in) noteSwitchHookIn(p, kind);
}

// Whichever kind is in comes out: a hook left behind would keep swallowing
// the user's keys or clicks while the program says it is disarmed.
void removeSwitchHook(Platform& p) { removeAllSwitchHooks(p); }

void removeAllSwitchHooks(Platform& p) {
    // A hold still waiting would otherwise become a press while disarmed.
    if (g_switch.holdState.exchange(HOLD_NONE) != HOLD_NONE) p.killTimer(TIMER_HOLD);
    p.removeHook(HookKind::Mouse);
    g_switch.mouseHookActive = 0;
    p.removeHook(HookKind::Keyboard);
    g_switch.keyboardHookActive = 0;
}

HookDecision classifyKeyEvent(int code, unsigned message, unsigned vkCode, double atMs, bool ownInput) {
    // The keys the on-screen keyboard types must reach the window with the focus.
    if (code < 0 || ownInput) return {HookResult::PassOn, SwitchEvent::None};
    const bool down = message == MSG_KEYDOWN || message == MSG_SYSKEYDOWN;
    const bool up = message == MSG_KEYUP || message == MSG_SYSKEYUP;
    // Escape is never the switch: it stops, however often it comes.
    if (vkCode == VKEY_ESCAPE) return {HookResult::Discard, down ? SwitchEvent::Escape : SwitchEvent::None};
    if (!down && !up) return {HookResult::Discard, SwitchEvent::None};
    return {HookResult::Discard, contactChanged(static_cast<int>(vkCode % KEY_CONTACTS), down, atMs)};
}

HookDecision classifyMouseEvent(int code, unsigned message, Point pointer, bool ownInput, double atMs) {
    if (code < 0) return {HookResult::PassOn, SwitchEvent::None};
    // The program's own clicks must reach the window under the pointer.
    if (ownInput)
        return {HookResult::PassOn, message == MSG_MOUSEMOVE ? SwitchEvent::Move : SwitchEvent::None};
    switch (message) {
    case MSG_MOUSEMOVE: {
        // The glide's own steps carry the mark, so an unmarked move during
        // it is a hand on the mouse, however small.
        // The panel's stepping aside may echo as a move of its own; no hand made it.
        const bool near =
            isPanelEcho(pointer, atMs) || (g_pressState != PressState::Moving &&
                                           std::abs(pointer.x - g_switch.lastMoveX) <= NEAR_MOVE_LIMIT &&
                                           std::abs(pointer.y - g_switch.lastMoveY) <= NEAR_MOVE_LIMIT);
        if (near) return {HookResult::PassOn, SwitchEvent::Move};
        // Tested before it is raised: the first stop comes with the 11th far
        // move, every later one with the 10th.
        SwitchEvent event = SwitchEvent::Move;
        if (g_switch.farMoveCount == FAR_MOVES_BEFORE_STOP) {
            g_switch.farMoveCount = 0;
            event = SwitchEvent::FarMoveStop;
        }
        ++g_switch.farMoveCount;
        return {HookResult::PassOn, event};
    }
    case MSG_LBUTTONDOWN:
    case MSG_LBUTTONDBLCLK: return {HookResult::Discard, contactChanged(LEFT_BUTTON, true, atMs)};
    case MSG_LBUTTONUP: return {HookResult::Discard, contactChanged(LEFT_BUTTON, false, atMs)};
    case MSG_RBUTTONDOWN: return {HookResult::Discard, contactChanged(RIGHT_BUTTON, true, atMs)};
    case MSG_RBUTTONUP: return {HookResult::Discard, contactChanged(RIGHT_BUTTON, false, atMs)};
    case MSG_MBUTTONDOWN: return {HookResult::Discard, contactChanged(MIDDLE_BUTTON, true, atMs)};
    case MSG_MBUTTONUP: return {HookResult::Discard, contactChanged(MIDDLE_BUTTON, false, atMs)};
    default: return {HookResult::Discard, SwitchEvent::None};
    }
}

void enterIdle() {
    g_pressState = PressState::Idle;
    g_switch.pendingAction = 0;
}

void setPendingAction(int action) { g_switch.pendingAction = action; }

void endMovement() {
    PressState moving = PressState::Moving;
    g_pressState.compare_exchange_strong(moving, PressState::Idle);
    g_switch.pendingAction = 0;
}

void noteMoveTarget(Point pixel) {
    g_switch.lastMoveX = pixel.x;
    g_switch.lastMoveY = pixel.y;
}

void noteStopSeen(SwitchEvent stop) { g_switch.stopPending = static_cast<int>(stop); }

SwitchEvent takeStopSeen() { return static_cast<SwitchEvent>(g_switch.stopPending.exchange(0)); }

void notePanelMoved(Point pointer, Point shift, double atMs) {
    forgetPanelMove();
    g_echo.fromX = pointer.x;
    g_echo.fromY = pointer.y;
    g_echo.echoX = pointer.x + shift.x;
    g_echo.echoY = pointer.y + shift.y;
    g_echo.atMs = atMs;
}

void forgetPanelMove() { g_echo.atMs = -1e18; }

bool panelEchoAwaited(double nowMs) {
    const double since = nowMs - g_echo.atMs;
    return since >= 0 && since <= PANEL_ECHO_MS;
}

bool isPanelEcho(Point reading, double atMs) {
    return panelEchoAwaited(atMs) && reading == Point{g_echo.echoX, g_echo.echoY};
}

Point pointerBeforePanelMove() { return {g_echo.fromX, g_echo.fromY}; }

} // namespace sp
