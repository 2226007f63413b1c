// config.ini or options.ini held open past the start-up wait by another
// program (a backup or sync tool, an editor, a virus scanner): the program
// starts on the defaults, tries the file again from a panel timer, and once
// it can be read takes it as start-up would have, switch and all. Without
// this the user's own switch would be gone for the whole session.
#pragma once

#include "platform/platform.h"

namespace sp {

// Often at first, when a scanner or a sync is most likely to let go, then
// seldom: a file held for a minute is held by something slow.
constexpr int HELD_FILE_RETRY_MS = 500;
constexpr int HELD_FILE_SLOW_RETRY_MS = 10000;
constexpr int HELD_FILE_FAST_FOR_MS = 60000;

// At the end of start-up: the timer starts if a file was held.
void watchHeldFiles(Platform& p);
// TIMER_HELD_FILES: one try at each file still held.
void heldFilesTick(Platform& p);
void resetHeldFilesState();

} // namespace sp
