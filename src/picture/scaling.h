// scaling.h - the scaling engines that draw a picture into a 24-bit surface.
#pragma once

#include "picture/picture_buffer.h"

// Engine values of the reducing choice; the enlarging and mixed choices use
// only 0 (nearest point) and anything else (linear).
enum EngineValue {
    kNearestPoint = 0,
    kLinear = 1,
    kAverage1 = 2,
    kAverage2 = 3,
};

void setEngines(PictureBuffer& picture, int enlarge, int reduce, int mixed);

// Draws the picture scaled into the rectangle (destX, destY, destWidth,
// destHeight) of a bottom-up 24-bit surface destBufferWidth x destBufferHeight
// with rows of rowBytes(destBufferWidth, 24). Only pixels inside both the
// rectangle and the surface are written. 16-bit and unhandled pictures draw
// nothing.
void scaleInto(PictureBuffer& picture, unsigned char* target, int destX, int destY, int destWidth,
               int destHeight, int destBufferWidth, int destBufferHeight);
