// The on-screen keyboard as the panel's thread runs it: opened from its
// cell, it takes the switch's presses and its own scan periods while it is
// open, types what its keys send into the window with the focus, and hands
// the scan back to the panel's Keyboard cell when it closes. Its window
// only shows what `keyboardView` says.
#pragma once

#include <string>
#include <vector>

#include "keyboard/layout.h"
#include "platform/platform.h"

namespace sp {

// What the keyboard's window shows, copied for its thread.
struct KeyboardView {
    std::vector<Key> keys;
    // Per key of `keys`.
    std::vector<bool> lit;
    // The window's caption: the lit keys' labels, or the keyboard's name.
    std::string caption;
    int rows = 0;
    int columns = 0;
    // Each key's side at the window's scale, in pixels.
    int keySize = 0;
    // The monitor it docks to, and whether at its top (the caret would be
    // under it at the bottom).
    Rect monitor;
    bool atTop = false;
};
KeyboardView keyboardView();

// Panel's thread only.
bool keyboardOpen();
// The Keyboard cell was pressed: the keyboard opens and its scan starts.
void openKeyboard(Platform& p);
void keyboardPress(Platform& p);
void keyboardTick(Platform& p);
// Escape or a hand move: its scan rests, and it stays open.
void stopKeyboardScan(Platform& p);
// The window's close and its going (requests of the window's own).
void onKeyboardRequest(Platform& p, int request);
// The program closes: the keyboard goes with it, typing nothing more, and
// what it learnt is kept.
void keyboardAtExit(Platform& p);
// Back to how the program starts, nothing kept.
void forgetKeyboard();

} // namespace sp
