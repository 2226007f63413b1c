#include "platform/scale.h"

#include <cstdint>

namespace sp {

int scaleToDpi(int value, int dpi) {
    if (dpi <= 0 || dpi == BASE_DPI) return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = BASE_DPI / 2;
    return static_cast<int>(product >= 0 ? (product + half) / BASE_DPI : (product - half) / BASE_DPI);
}

Rect scaleToDpi(const Rect& rect, int dpi) {
    return {scaleToDpi(rect.left, dpi), scaleToDpi(rect.top, dpi), scaleToDpi(rect.width, dpi),
            scaleToDpi(rect.height, dpi)};
}

} // namespace sp
