// The options window's logic: opening and closing, what each of its
// controls does to the options in force, and carrying a change out on the
// panel's thread. The window (its thread and controls) is the platform's;
// like the settings window it changes nothing itself: every click is one
// request that the panel's thread carries out with these, and the window
// then shows what came of it.
#pragma once

#include <atomic>

#include "config_window/options_layout.h"
#include "platform/platform.h"
#include "settings/options.h"

namespace sp {

struct OptionsWindowState {
    // The window's language: 1 Spanish, 0 English.
    std::atomic<int> spanish{0};
};
const OptionsWindowState& optionsWindowState();
void resetOptionsWindowState();
TextLanguage optionsWindowLanguage();

// The menu's "More options...": claims the window and asks the platform for
// it; nothing happens while one is open.
void openOptionsWindow(Platform& p);
// The window is gone, or never came.
void optionsWindowGone();

// The options after a click on `control`: a number one step on, held in its
// range; a switch or a choice set; a cell appended to the list or taken out.
OptionValues optionsAfterClick(const OptionValues& values, const OptionsControl& control);

// The options in force from now on, and the panel made to match: its third
// row, the scan over it, and its place when it no longer steps aside.
void applyOptions(Platform& p, const OptionValues& values);
// The same for the file's options, read afresh.
void reloadOptions(Platform& p);

enum class OptionsRequest : int {
    Control, // a control was clicked: its id
    Close,   // "Cancel" or the close box: the file's values come back
    Gone,
};
// Carries one request out, on the panel's thread, and answers the window:
// a change with ShowState, "OK" with CloseNow once saved, or with ReadOnly
// or SaveFailed (the window stays open), a close with CloseNow.
void handleOptionsRequest(Platform& p, OptionsRequest request, int value);

} // namespace sp
