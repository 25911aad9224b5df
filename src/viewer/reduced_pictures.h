// reduced_pictures.h - the platform-stretched forms of the pictures on
// screen and read ahead.
//
// Without the engines the platform stretches the pictures. A reduction of a
// page is costly, so it is made once per picture and displayed size and kept
// while the picture stays in a buffer: paints draw it as it is, and a page
// read ahead is reduced with the read-ahead, at the size it will be shown at.
// Entries are keyed by the picture's header block; a buffer that receives a
// new picture forgets the entry of its blocks first.
#pragma once

#include "picture/picture_buffer.h"
#include "platform/drawing.h"
#include "platform/geometry.h"

// The picture reduced to `size`, made now when missing; null when `size` is
// not a reduction of it or it cannot be drawn.
const platform::ReducedPicture* reducedPicture(const PictureBuffer& picture, platform::Size size);
// The picture's blocks now hold another picture (or are about to be freed).
void forgetReduced(const PictureBuffer& picture);
// Drops the entries of pictures no buffer of the document holds any more.
void pruneReduced();
