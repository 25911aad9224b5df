// page_art.cpp - gradient, frame and seven-segment digits.
#include "sample_book/page_art.h"

#include <algorithm>
#include <string>

namespace sample_book {

namespace {

void fillRect(encoders::Picture& p, int x0, int y0, int x1, int y1, std::uint8_t r, std::uint8_t g,
              std::uint8_t b) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, p.width), y1 = std::min(y1, p.height);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* px = p.pixels.data() + (size_t(y) * size_t(p.width) + size_t(x0)) * 3;
        for (int x = x0; x < x1; ++x, px += 3) px[0] = r, px[1] = g, px[2] = b;
    }
}

// Segments a to g of each digit, as bits 0 to 6.
const std::uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void drawDigit(encoders::Picture& p, int digit, int left, int top, int w, int h) {
    int t = std::max(w / 6, 2);
    int mid = top + h / 2;
    struct Box { int x0, y0, x1, y1; };
    const Box boxes[7] = {
        {left, top, left + w, top + t},                  // a: top
        {left + w - t, top, left + w, mid},              // b: upper right
        {left + w - t, mid, left + w, top + h},          // c: lower right
        {left, top + h - t, left + w, top + h},          // d: bottom
        {left, mid, left + t, top + h},                  // e: lower left
        {left, top, left + t, mid},                      // f: upper left
        {left, mid - t / 2, left + w, mid + t - t / 2},  // g: middle
    };
    for (int s = 0; s < 7; ++s)
        if (kSegments[digit] & (1 << s)) fillRect(p, boxes[s].x0, boxes[s].y0, boxes[s].x1, boxes[s].y1, 20, 20, 40);
}

} // namespace

encoders::Picture drawPage(int width, int height, int number) {
    encoders::Picture p{width, height, 3, {}};
    p.pixels.resize(size_t(width) * size_t(height) * 3);
    int tint = (number * 47) % 120;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* px = p.pixels.data() + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x, px += 3) {
            px[0] = std::uint8_t(255 - tint / 2 - y * 40 / height);
            px[1] = std::uint8_t(235 - (x * 30 / width));
            px[2] = std::uint8_t(200 + tint / 3 - y * 20 / height);
        }
    }
    int border = std::max(width, height) / 60;
    fillRect(p, border, border, width - border, 2 * border, 90, 60, 40);
    fillRect(p, border, height - 2 * border, width - border, height - border, 90, 60, 40);
    fillRect(p, border, border, 2 * border, height - border, 90, 60, 40);
    fillRect(p, width - 2 * border, border, width - border, height - border, 90, 60, 40);

    std::string digits = std::to_string(number);
    int digitHeight = std::min(height * 2 / 5, width * 2 / int(digits.size() * 2 + 1));
    int digitWidth = digitHeight / 2;
    int gap = digitWidth / 3;
    int total = int(digits.size()) * digitWidth + int(digits.size() - 1) * gap;
    int left = (width - total) / 2, top = (height - digitHeight) / 2;
    for (char c : digits) {
        drawDigit(p, c - '0', left, top, digitWidth, digitHeight);
        left += digitWidth + gap;
    }
    return p;
}

void toColourCube(const encoders::Picture& page, std::vector<std::uint8_t>& indices,
                  std::vector<std::uint8_t>& paletteRgb) {
    paletteRgb.clear();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                paletteRgb.insert(paletteRgb.end(), {std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51)});
    indices.resize(size_t(page.width) * size_t(page.height));
    const std::uint8_t* px = page.pixels.data();
    for (size_t i = 0; i < indices.size(); ++i, px += 3)
        indices[i] = std::uint8_t((px[0] + 25) / 51 * 36 + (px[1] + 25) / 51 * 6 + (px[2] + 25) / 51);
}

} // namespace sample_book
