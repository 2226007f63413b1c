// The switch: which hook watches it and what each hook event means. What a
// press then does is the press handler's (app/press.h).
//
// The hook procedures run on a thread of their own and only classify: what
// the hook returns and which reaction, if any, the main thread should run.
// Every reaction runs on the main thread.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct SwitchState {
    std::atomic<int> pendingAction;
    std::atomic<int> mouseHookActive;
    std::atomic<int> keyboardHookActive;
    std::atomic<int> farMoveCount;
    std::atomic<int> lastMoveX;
    std::atomic<int> lastMoveY;
    // A stop the hook has seen and the main thread not yet acted on: a
    // SwitchEvent, or 0. It lets the stop overtake presses still queued.
    std::atomic<int> stopPending;
    // 1 from when the hook passes a press on until the main thread is done
    // with it; a press that comes meanwhile is dropped, not queued.
    std::atomic<int> pressInHand;
    // A closing waiting out hold_ms: HOLD_NONE, HOLD_WAITING, or HOLD_TAKEN
    // once the hold timer or the release has made it a press.
    std::atomic<int> holdState;
};

enum HoldState : int { HOLD_NONE, HOLD_WAITING, HOLD_TAKEN };

// What the next press does: at Idle it starts a scan, while Scanning it
// takes the lit cell, while Moving it ends the movement or point scan under
// way. Set on the main thread; the hook reads it without a lock.
enum class PressState : int { Idle, Scanning, Moving };
PressState pressState();
void setPressState(PressState state);

const SwitchState& switchState();
void resetSwitchState();

// Installs the hook that `switchDevice` names; removes it again.
void installSwitchHook(Platform& p);
void removeSwitchHook(Platform& p);
// Both kinds out, whichever is in (closing the panel).
void removeAllSwitchHooks(Platform& p);

// What a hook procedure decides for one event.
enum class HookResult { PassOn, Discard };
// HoldBegun: the switch closed and waits out hold_ms before it is a press.
enum class SwitchEvent { None, Press, Escape, Move, FarMoveStop, HoldBegun };
struct HookDecision {
    HookResult result;
    SwitchEvent event;
};

// Windows message values the hooks see.
constexpr unsigned MSG_KEYDOWN = 0x0100;
constexpr unsigned MSG_KEYUP = 0x0101;
constexpr unsigned MSG_SYSKEYDOWN = 0x0104;
constexpr unsigned MSG_SYSKEYUP = 0x0105;
constexpr unsigned MSG_MOUSEMOVE = 0x0200;
constexpr unsigned MSG_LBUTTONDOWN = 0x0201;
constexpr unsigned MSG_LBUTTONUP = 0x0202;
constexpr unsigned MSG_LBUTTONDBLCLK = 0x0203;
constexpr unsigned MSG_RBUTTONDOWN = 0x0204;
constexpr unsigned MSG_RBUTTONUP = 0x0205;
constexpr unsigned MSG_MBUTTONDOWN = 0x0207;
constexpr unsigned MSG_MBUTTONUP = 0x0208;
constexpr unsigned VKEY_ESCAPE = 0x1B;
// Input that carries no mark of the program's own: farther than this from
// the last movement target, on either axis, a mouse move was made by hand.
// While the program glides the pointer, every such move was.
constexpr int NEAR_MOVE_LIMIT = 20;
// The far move that finds this many before it stops the mouse switch.
constexpr int FAR_MOVES_BEFORE_STOP = 10;
// A closure of the switch this soon after its last closing or opening is
// the contacts bouncing, not a press. Measured switches mostly settle within
// 10 ms and worn ones within about 20 ms, while a person's release and
// press again takes well over 100 ms; 30 ms covers the first and never
// comes near the second.
constexpr double BOUNCE_MS = 30.0;

// Keyboard hook: code < 0 is passed on, everything else is discarded;
// key-downs other than Escape are presses, but not the repeats of a key
// held down, a closure within BOUNCE_MS of the switch's last change, one
// while an earlier press is still in hand, or one within ignore_repeat_ms of
// the last press taken. With hold_ms set a closure only begins a hold, and
// is a press once held that long: at its release if that comes late enough,
// or when the main thread's hold timer finds it still waiting
// (takeHeldPress), whichever is first. `atMs` is when the event came
// (Platform::nowMs). Hook thread only, as is the mouse hook's.
// ownInput: the key carries the program's own mark.
HookDecision classifyKeyEvent(int code, unsigned message, unsigned vkCode, double atMs,
                              bool ownInput = false);
// Mouse hook: moves pass on (and count far moves), button-downs are presses,
// every other mouse event is discarded. `pointer` is where the pointer is;
// `ownInput` says the program itself sent the event: it passes on untouched,
// and its moves only take the crosshair along.
// A button press follows the same rules as a key's.
HookDecision classifyMouseEvent(int code, unsigned message, Point pointer, bool ownInput, double atMs);
// Hook thread: the hook has just gone in, and what it saw of the switch
// before is past; a key held across the gap counts once more.
void forgetSwitchContacts();
// Main thread, when the hold timer fires: true if the closing that began
// the hold is still down and so becomes a press now.
bool takeHeldPress();
// The press the hook passed on is over (acted on, or void): the switch
// takes the next one.
void endPressInHand();

// The stop leaves the press handler Idle, with no action pending.
void enterIdle();
// The action a press took from the lit cell, for its movement or click.
void setPendingAction(int action);
// A movement, scroll or point scan is over: Moving becomes Idle, and no
// action is pending.
void endMovement();
// Where the program last put the pointer: a hand move is told from it.
void noteMoveTarget(Point pixel);

// Hook thread: a stop was seen, before its message is posted.
void noteStopSeen(SwitchEvent stop);
// Main thread: the stop the hook has seen and not yet had acted on, or
// None; it is taken, so it acts once.
SwitchEvent takeStopSeen();

// The panel stepping aside moves the window under the pointer, and a system
// may then report the pointer moved with it (Wine does, within a few
// milliseconds, until the pointer is moved again). Such a reading is an
// echo, neither a hand move nor a place the pointer went, so the program's
// own idea of where it is holds.
constexpr double PANEL_ECHO_MS = 250;
// How often the program looks for an echo while one may still come: how
// long a reader may see one before it is put right.
constexpr int PANEL_ECHO_CHECK_MS = 5;
// The panel has just moved by `shift`, with the pointer at `pointer`.
void notePanelMoved(Point pointer, Point shift, double atMs);
void forgetPanelMove();
// Whether an echo of the panel's last move may still come.
bool panelEchoAwaited(double nowMs);
// Whether a reading taken at `atMs` is the echo of the panel's last move:
// where the pointer was, shifted by exactly that move, soon after it. Any
// thread.
bool isPanelEcho(Point reading, double atMs);
// Where the pointer was when the panel last moved.
Point pointerBeforePanelMove();

} // namespace sp
