#include "config_window/config_state.h"

namespace sp {

ConfigState& configState() {
    static ConfigState state;
    return state;
}

} // namespace sp
