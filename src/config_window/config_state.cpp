#include "config_window/config_state.h"

namespace sp {

ConfigState& configState() {
    static ConfigState state;
    return state;
}

void resetConfigState() {
    ConfigState& c = configState();
    for (auto& check : c.clickChecks) check = 0;
    c.colourDialogOpen = 0;
    c.helpCheck = 0;
    c.soundCheck = 0;
    c.deviceCheck = 0;
    c.english = 0;
    c.scanStoppedForConfig = 0;
    c.lastChosenColour = 0;
    for (Colour& colour : c.customColours) colour = 0;
}

} // namespace sp
