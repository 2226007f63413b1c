// What the rest of the program may know about the configuration window.
// The panel's thread writes these as it carries out the window's requests
// (the hit test's flag excepted, which the window writes); the window shows
// them and the clicks read them.
#pragma once

#include <atomic>

#include "platform/platform.h"

namespace sp {

struct ConfigState {
    // Shown state of the left, double, right, middle and drag toggles.
    std::atomic<int> clickChecks[5] = {0, 0, 0, 0, 0};
    std::atomic<int> colourDialogOpen{0};
    // Shown state of the help-box and sound toggles and of the device pair
    // (1 mouse, 0 keyboard).
    std::atomic<int> helpCheck{0};
    std::atomic<int> soundCheck{0};
    std::atomic<int> deviceCheck{0};
    // The window's language, fixed as it opens: 1 English, 0 Spanish.
    std::atomic<int> english{0};
    // The panel stopped the scan as it opened the window (the keyboard was
    // not the switch); otherwise the window brings the crosshair back.
    std::atomic<int> scanStoppedForConfig{0};
    // The colour dialog's memory for the whole run: the colour is kept by
    // the panel's thread, the custom colours only by the window's.
    std::atomic<Colour> lastChosenColour{0};
    Colour customColours[16] = {};
};

const ConfigState& configState();
void resetConfigState();
// Whether the panel stopped the scan as it opened the window.
void noteScanStoppedForConfig(bool stopped);
// The window's thread keeps the colour dialog's custom colours for the next time.
void keepCustomColour(int index, Colour colour);

} // namespace sp
