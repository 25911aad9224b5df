// transform.h - quarter turns and flips of 8- and 24-bit pictures.
#pragma once

#include "picture/picture_buffer.h"

// TRANSFORM values.
enum TransformValue {
    kTransformNone = 0,
    kTurnClockwise = 1,
    kTurnAnticlockwise = 2,
    kAutoTurnClockwise = 3,
    kAutoTurnAnticlockwise = 4,
    kMirrorLeftRight = 5,
    kUpsideDown = 6,
};

// Applies the turn or flip of `value`. Values 3 and 4 turn only when the shape
// rule asks: with shapeRule 1 a portrait picture, otherwise a landscape one.
// Returns 1 for a clockwise turn, 2 for an anticlockwise turn, 0 otherwise;
// the turn is reported even when the picture's depth is one turns leave alone.
int applyTransform(PictureBuffer& picture, int value, int shapeRule);
