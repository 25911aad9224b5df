// reference.h - slow, literal versions of the scaling engines and the filters,
// written step by step from their rules, to hold the fast code to.
#pragma once

#include "picture/picture_buffer.h"

// Draws like scaleInto; the rectangle must lie on the surface.
void referenceScale(const PictureBuffer& picture, unsigned char* target, int destX, int destY,
                    int destWidth, int destHeight, int destBufferWidth, int destBufferHeight);

void referenceFilter(PictureBuffer& picture, int value);
