// The panel stepping aside (options.ini `panel_steps_aside`): when the
// pointer comes onto the panel, the panel moves to the other top corner of
// its monitor, so nothing under it is out of reach.
#pragma once

#include "platform/platform.h"

namespace sp {

// Where the panel at `panel` goes for a pointer at `pointer`; false when it
// stays: the pointer is off it, or would be on it in the other corner too.
bool panelStepAsideTo(const Rect& panel, const Rect& monitor, Point pointer, Point& to);
// Moves the panel aside if the option is on and the pointer is on it.
void stepPanelAside(Platform& p, Point pointer);
// The panel back in the top left corner of its monitor, where it starts.
void returnPanelHome(Platform& p);

} // namespace sp
