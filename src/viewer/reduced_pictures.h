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

#include <memory>
#include <thread>

#include "picture/picture_buffer.h"
#include "platform/drawing.h"
#include "platform/geometry.h"

// The picture reduced to `size`, made now when missing; null when `size` is
// not smaller than the picture or it cannot be drawn.
const platform::ReducedPicture* reducedPicture(const PictureBuffer& picture, platform::Size size);
// Two-page mode without the engines: the picture reduced now at the size it
// will be shown at in a spread (`pairs`) or alone.
void prepareReduced(const PictureBuffer& picture, bool pairs);

// prepareReduced on another thread, from construction to destruction; the
// picture's blocks must stay as they are meanwhile.
class BackgroundReduction {
public:
    BackgroundReduction(const PictureBuffer& picture, bool pairs);
    ~BackgroundReduction(); // waits for it and keeps the result
    BackgroundReduction(const BackgroundReduction&) = delete;
    BackgroundReduction& operator=(const BackgroundReduction&) = delete;

private:
    const PictureBuffer& picture_;
    platform::Size size_;
    std::shared_ptr<const platform::ReducedPicture> result_;
    std::thread worker_;
};

// The picture's blocks now hold another picture (or are about to be freed).
void forgetReduced(const PictureBuffer& picture);
// Drops the entries of pictures no buffer of the document holds any more.
void pruneReduced();
