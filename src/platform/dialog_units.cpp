#include "platform/dialog_units.h"

#include <cstdint>

namespace platform {
namespace {

// a x b / c rounded half away from zero, without overflow on the way.
int scaleRounded(int a, int b, int c) {
    const std::int64_t product = std::int64_t(a) * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

int unitsToPixelsX(int units, DialogBaseUnits base) {
    return scaleRounded(units, base.x, 4);
}

int unitsToPixelsY(int units, DialogBaseUnits base) {
    return scaleRounded(units, base.y, 8);
}

Rect unitsToPixels(const UnitRect& rect, DialogBaseUnits base) {
    return Rect{unitsToPixelsX(rect.x, base), unitsToPixelsY(rect.y, base),
                unitsToPixelsX(rect.x + rect.width, base),
                unitsToPixelsY(rect.y + rect.height, base)};
}

DialogBaseUnits baseUnitsOf(int letterAdvance, int lineHeight) {
    // The average of 52 letters, rounded: (advance / 26 + 1) / 2.
    return DialogBaseUnits{(letterAdvance / 26 + 1) / 2, lineHeight};
}

} // namespace platform
