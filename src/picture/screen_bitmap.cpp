#include "picture/screen_bitmap.h"

#include "picture/picture_buffer.h"

void ScreenBitmap::resize(int newWidth, int newHeight) {
    destroy();
    if (newWidth < 1 || newHeight < 1) return;
    const std::int64_t size = rowBytes(newWidth, 24) * newHeight;
    if (size <= 0) return;
    storage_.assign(static_cast<std::size_t>(size), 0);
    width = newWidth;
    height = newHeight;
    bits = storage_.data();
}

void ScreenBitmap::destroy() {
    std::vector<unsigned char>().swap(storage_);
    width = height = 0;
    bits = nullptr;
}

int ScreenBitmap::stride() const {
    return static_cast<int>(rowBytes(width, 24));
}
