// The control panel's logic: start-up, where its timers go, the start/stop
// button, the hit test, restoring and closing. The window itself is the
// platform's; it calls these from its window procedure.
#pragma once

#include <atomic>

#include "config_window/config_window.h"
#include "platform/platform.h"
#include "platform/scale.h"

namespace sp {

struct PanelState {
    // The latest hit test over the panel found its client area.
    std::atomic<int> pointerOverPanel{0};
    // Every way out leaves through closePanel once.
    std::atomic<int> closed{0};
    // A click on the panel came while the window was on its way out: the
    // next one opens once that one has gone.
    std::atomic<int> openWhenGone{0};
};

const PanelState& panelState();

// What the panel window's size adds to its frame and caption at `dpi`: the
// cells' columns and rows, two pixels (at 96 DPI) less across (the panel has
// always been so).
Size panelCellArea(int dpi = BASE_DPI);
void resetPanelState();

// How long a second copy waits for the first to answer, or to let go.
constexpr int COPY_ANSWER_MS = 2000;
// How long a second copy stays after the running one has shown itself, in
// case that one is ending (a crash, a kill, an exit under way).
constexpr int COPY_OUTLIVE_MS = 1000;

// False when another copy already runs in this session and answers: its
// panel is shown again if minimised, and this copy must end before it
// touches anything. A copy that does not answer, or is ending, is started
// past, and the log says so.
bool startAsOnlyCopy(Platform& p);
// After the panel exists: settings, cell states, the switch hook.
void startUp(Platform& p);
// Once the panel is shown: the crosshair comes up after the start delay.
void armStartDelay(Platform& p);

void onPanelTimer(Platform& p, int timerId);
void onCellCommand(Platform& p, int cellId);
void onPanelHitTest(bool overClientArea);
// `pointerOverPanel` from where the pointer is now: a hit test is only seen
// while the pointer crosses the panel, and may be long past.
void refreshPointerOverPanel(Platform& p);
// A scanned left click on the panel: the configuration window opens and the
// crosshair gives way to it.
void openConfigFromPanel(Platform& p);
// The left or middle button went down on the panel itself: it opens the
// configuration window with the file's settings in force, or, while a window
// is closing, right after it has gone. (The right one opens the program's menu.)
void onPanelMouseButton(Platform& p);
// The configuration window has gone: a click it kept waiting opens the next.
void openWindowKeptWaiting(Platform& p);
// A request from the configuration window: the window's logic carries it
// out, and once the window is destroyed or gone the panel takes its part
// back (the pointer is over it no more; a click kept waiting opens the next).
void onConfigRequest(Platform& p, ConfigRequest request, int value);
void clearPointerOverPanel();
void onPanelRestored(Platform& p);
// Everything the panel started is stopped, once, whichever way out comes
// first (the panel closed, the session ending); the caller destroys the
// window or lets the system end the process.
void closePanel(Platform& p);

} // namespace sp
