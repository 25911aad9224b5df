// page_art.h - the pictures of the sample book: a tinted page with a frame and
// a large seven-segment page number, drawn without any font.
#pragma once

#include "sample_book/picture_encoders.h"

namespace sample_book {

// An RGB page of the given size showing `number` in its middle.
encoders::Picture drawPage(int width, int height, int number);

// The page reduced to the 6 x 6 x 6 colour cube: one index per pixel and the
// cube as a 216-entry RGB palette.
void toColourCube(const encoders::Picture& page, std::vector<std::uint8_t>& indices,
                  std::vector<std::uint8_t>& paletteRgb);

} // namespace sample_book
