// The panel stepping aside (options.ini `panel_steps_aside`): when the
// pointer comes onto the panel, the panel moves to the other top corner of
// its monitor, so nothing under it is out of reach.
#pragma once

#include "platform/platform.h"

namespace sp {

// Where the panel at `panel` goes for a pointer at `pointer`; false when it
// stays: the pointer is off it, or would be on it in the other corner too.
bool panelStepAsideTo(const Rect& panel, const Rect& monitor, Point pointer, Point& to);
// Moves the panel aside if the option is on and the pointer is on it, once
// for each time the pointer comes onto it. True if it moved.
bool stepPanelAside(Platform& p, Point pointer);
// The main thread's pause after a step: an echo is put right as it comes.
void pauseMendingPanelEcho(Platform& p, int ms);
// TIMER_PANEL_ECHO, soon after a step and again until no echo can come: a
// reading of the pointer moved with the panel is put right at once, with
// a keyboard switch too, whose hook sees no moves.
void panelEchoTick(Platform& p);
void resetStepAsideState();
// Every place that learns where the pointer went comes through here: the
// panel steps aside if the pointer came onto it, the crosshair follows,
// then the pause that also paces pointer movement.
void moveCrosshair(Platform& p, Point pointer);
// The panel back in the top left corner of its monitor, where it starts.
void returnPanelHome(Platform& p);

} // namespace sp
