// screen_bitmap.h - the 24-bit surface the scaling engines compose the view in.
//
// Bottom-up rows of rowBytes(width, 24) bytes in plain memory; the window
// layer draws it to the screen.
#pragma once

#include <vector>

struct ScreenBitmap {
    int width = 0;
    int height = 0;
    unsigned char* bits = nullptr; // null while empty

    // A new zero-filled surface of the given size; empty for sizes below 1.
    void resize(int newWidth, int newHeight);
    void destroy();
    int stride() const;

private:
    std::vector<unsigned char> storage_;
};
