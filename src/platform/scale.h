// Pixels for a monitor's scale. Every figure the program keeps is in pixels
// of a 96-DPI screen; where a figure meets the system it goes through one of
// these, so 96 DPI gives exactly those figures.
#pragma once

#include "platform/platform.h"

namespace sp {

constexpr int BASE_DPI = 96;

// value * dpi / 96, halves rounded away from zero as MulDiv rounds them; a
// DPI the system could not tell (0 or less) counts as 96.
int scaleToDpi(int value, int dpi);
// A window's layout rectangle, given at 96 DPI: every field scaled alike.
Rect scaleToDpi(const Rect& rect, int dpi);

} // namespace sp
