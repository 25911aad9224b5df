// dialog_units.h - the one rule that turns dialog units into pixels.
//
// A dialog unit is a quarter of the dialog font's average character width
// across and an eighth of its height down, so a template laid out for one
// font keeps its proportions in another. Every dialog the window layer
// builds, and every page inside one, is placed by this rule.
#pragma once

#include "platform/dialog_template.h"
#include "platform/geometry.h"

namespace platform {

// The font's measures in pixels: `x` the average width of the 52 letters
// A-Z a-z (rounded), `y` the line height.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// Horizontal and vertical units to pixels, each rounded to the nearest pixel.
int unitsToPixelsX(int units, DialogBaseUnits base);
int unitsToPixelsY(int units, DialogBaseUnits base);

// Left, top, right and bottom are each mapped, so neighbouring controls stay
// neighbours whatever the rounding.
Rect unitsToPixels(const UnitRect& rect, DialogBaseUnits base);

// The base units of a font whose 52 letters measure `letterAdvance` pixels
// together and whose lines are `lineHeight` pixels apart.
DialogBaseUnits baseUnitsOf(int letterAdvance, int lineHeight);

} // namespace platform
