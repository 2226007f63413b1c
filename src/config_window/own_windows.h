// What every one of the program's own windows shares: whether it is open,
// whether its close has run, whether the pointer is over it, and the steps
// each window takes alike (the claim, the stray request, the answer to a
// request that comes after the close, the window gone). Each window's own
// logic keeps only what its controls change.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct OwnWindowState {
    // 1 from the claim until the window has gone.
    std::atomic<int> open{0};
    // The close has run: what the window still asks to change is void.
    std::atomic<int> closing{0};
    // The pointer is over the window's client area (its hit test writes it).
    std::atomic<int> pointerOver{0};
};
const OwnWindowState& ownWindowState(OwnWindow window);
// Its hit test, or the window's own logic when it knows the pointer left.
void notePointerOver(OwnWindow window, bool over);
void resetOwnWindows();

// Claimed before the window's thread exists, so two quick opens cannot both
// find it closed. False when it is open already or on its way.
bool claimOwnWindow(OwnWindow window);
// The window is gone, or never came: it may be opened again.
void ownWindowGone(OwnWindow window);
// True for a request from a window that is not open: a stray message,
// to be dropped.
bool strayRequest(OwnWindow window);
// True once the close has run, when the request is to be dropped; a window
// that asks to go again missed the answer, and is told again to go.
bool answeredAfterClose(Platform& p, OwnWindow window, bool asksToGo);
// The close: from here on the window's changes are void, `restore` (if
// any) puts the file's values back in force, and the window is told to go.
void closeOwnWindow(Platform& p, OwnWindow window, void (*restore)(Platform&) = nullptr);

// A window with nothing of its own to ask opens and goes with these: its
// requests are only the close and the window gone.
enum PlainRequest : int { PLAIN_CLOSE, PLAIN_GONE };
// Claims and opens it; false when it is open already or on its way.
bool openOwnWindow(Platform& p, OwnWindow window);
void onPlainRequest(Platform& p, OwnWindow window, int request);

// Decided from where the pointer is now, not from the latest hit test: the
// pointer may have left a window straight onto another one.
void refreshPointerOverOwnWindows(Platform& p);
bool pointerOverOwnWindow();
// Any of them open, or on its way.
bool anyOwnWindowOpen();

} // namespace sp
