#include "picture/transform.h"

#include <cstring>

namespace {

enum class Move { Clockwise, Anticlockwise, Mirror, UpsideDown };

// Rebuilds the picture with every pixel moved. Positions in the table below
// are counted from the top-left corner as the picture is seen, while rows are
// stored bottom-up, so the loops work in stored coordinates: with row r
// counted from the bottom, the seen row is h - 1 - r.
void move(PictureBuffer& picture, Move how) {
    if (!picture.isHandled() || (picture.bitCount != 8 && picture.bitCount != 24)) return;
    const int w = picture.width, h = picture.height;
    const bool turn = how == Move::Clockwise || how == Move::Anticlockwise;
    const int nw = turn ? h : w, nh = turn ? w : h;
    BlockPair out = picture.allocateLike(nw, nh);
    if (!out.header) return;
    const int bpp = picture.bitCount / 8;
    const int srcStride = picture.stride;
    const auto dstStride = rowBytes(nw, picture.bitCount);
    const unsigned char* src = platform::lockBlock(picture.bitsBlock);
    unsigned char* dst = platform::lockBlock(out.bits);
    for (int r = 0; r < h; ++r) {
        const unsigned char* s = src + std::int64_t{r} * srcStride;
        for (int x = 0; x < w; ++x) {
            // Stored destination column and row of stored source pixel (x, r).
            int dx = x, dr = r;
            switch (how) {
            case Move::Clockwise: // seen (x, y) -> (h-1-y, x); y = h-1-r
                dx = r;
                dr = nh - 1 - x;
                break;
            case Move::Anticlockwise: // seen (x, y) -> (y, w-1-x)
                dx = h - 1 - r;
                dr = x;
                break;
            case Move::Mirror:
                dx = w - 1 - x;
                break;
            case Move::UpsideDown:
                dr = h - 1 - r;
                break;
            }
            std::memcpy(dst + dr * dstStride + std::int64_t{dx} * bpp, s + std::int64_t{x} * bpp,
                        bpp);
        }
    }
    picture.replaceBlocks(out);
}

} // namespace

int applyTransform(PictureBuffer& picture, int value, int shapeRule) {
    int turn = 0;
    switch (value) {
    case kTurnClockwise:
        turn = 1;
        break;
    case kTurnAnticlockwise:
        turn = 2;
        break;
    case kAutoTurnClockwise:
    case kAutoTurnAnticlockwise: {
        const bool wanted =
            shapeRule == 1 ? picture.width < picture.height : picture.width > picture.height;
        if (wanted) turn = value == kAutoTurnClockwise ? 1 : 2;
        break;
    }
    case kMirrorLeftRight:
        move(picture, Move::Mirror);
        return 0;
    case kUpsideDown:
        move(picture, Move::UpsideDown);
        return 0;
    default:
        return 0;
    }
    if (turn) move(picture, turn == 1 ? Move::Clockwise : Move::Anticlockwise);
    return turn;
}
