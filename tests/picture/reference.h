// reference.h - slow, literal versions of the scaling engines and the filters,
// written step by step from their rules, to hold the fast code to.
#pragma once

#include <string>

#include "picture/picture_buffer.h"

// Draws like scaleInto; the rectangle must lie on the surface.
void referenceScale(const PictureBuffer& picture, unsigned char* target, int destX, int destY,
                    int destWidth, int destHeight, int destBufferWidth, int destBufferHeight);

void referenceFilter(PictureBuffer& picture, int value);

// The rows of an 8- or 24-bit picture turned or flipped by `value` (1 clockwise,
// 2 anticlockwise, 5 mirrored, 6 upside down) as the table of moves says:
// pixel (x, y), counted from the top-left as the picture is seen, goes to its
// new place. Bottom-up rows without their padding.
std::string referenceTransform(const PictureBuffer& picture, int value);
// The rows of a picture as they are stored, without their padding.
std::string unpaddedRows(const PictureBuffer& picture);
