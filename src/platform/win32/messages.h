// Every private message of the program, in one list so that no value is
// used twice: a message posted to the wrong thread must never read as
// another's. WM_TRAY_ICON and WM_TEST_DROP_HOOKS keep their values, which
// the end-to-end driver posts from outside.
#pragma once

#include <windows.h>

namespace sp {

// From the hook thread to the panel.
constexpr UINT WM_SWITCH_EVENT = WM_APP + 1; // wParam: SwitchEvent, lParam: hook generation
constexpr UINT WM_SWITCH_MOVE = WM_APP + 2;  // the pointer moved; one pending at a time
// From one of the program's own windows: one request (wParam: the window's
// OwnWindow in the high word, its request in the low; lParam: its value),
// carried out where the scan, the switch and the crosshair are.
constexpr UINT WM_OWN_WINDOW_REQUEST = WM_APP + 3;
// From a second copy of the program: show the panel if minimised. Any
// answer at all tells that copy this one is alive.
constexpr UINT WM_SHOW_PANEL = WM_APP + 4;
// From the menu's thread: the notification-area icon was clicked; the
// item chosen (wParam, 0 for none); the exit question's answer (wParam 1: yes).
constexpr UINT WM_MENU_OPEN = WM_APP + 5;
constexpr UINT WM_MENU_CHOSEN = WM_APP + 6;
constexpr UINT WM_MENU_ANSWER = WM_APP + 7;
// The notification-area icon's callback to the menu's window: lParam is the
// mouse message.
constexpr UINT WM_TRAY_ICON = WM_APP + 8;
// To one of the program's own windows: the panel's answer (wParam: WindowAnswer).
constexpr UINT WM_OWN_WINDOW_ANSWER = WM_APP + 9;
// To the configuration window: its TIMER_CONFIG to start (wParam: period in ms).
constexpr UINT WM_CONFIG_SET_TIMER = WM_APP + 10;
// To the hook thread: put a hook in or take it out (lParam: the request).
constexpr UINT WM_HOOK_REQUEST = WM_APP + 13;
// Requests to the menu's window, each carrying what it needs on the heap.
constexpr UINT WM_MENU_SHOW = WM_APP + 20;
constexpr UINT WM_MENU_ASK = WM_APP + 21;
constexpr UINT WM_MENU_END = WM_APP + 22;
constexpr UINT WM_MENU_TIP = WM_APP + 23;
constexpr UINT WM_MENU_PAGE = WM_APP + 24;
// The timing build's: takes the hooks out behind the program's back, as the
// system does to a hook that kept it waiting; the watchdog must find out.
constexpr UINT WM_TEST_DROP_HOOKS = WM_APP + 40;
// Looked for and never posted: a look at the queue that finds nothing.
constexpr UINT WM_NEVER_POSTED = WM_APP + 0x3FFF;

} // namespace sp
