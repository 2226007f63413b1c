// What the rest of the program may know about the configuration window.
#pragma once

#include <atomic>

namespace sp {

struct ConfigState {
    // 1 while the configuration window exists.
    std::atomic<int> configOpen{0};
};

ConfigState& configState();

} // namespace sp
