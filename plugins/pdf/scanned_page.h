// scanned_page.h - recognising a scanned page: a content stream that does
// nothing but draw one image, and an image that fills the page upright.
// Plain text work without the PDF library, so it is tested on its own.
#pragma once

#include <cstddef>

// A PDF matrix [a b c d e f]: x' = a x + c y + e, y' = b x + d y + f.
struct PdfMatrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

struct ImageDraw {
    char name[128] = {}; // the image's resource name, without the slash
    PdfMatrix matrix;    // every cm before the Do, concatenated
};

// True when `contents` holds only q, Q, cm with six numbers and exactly one
// Do of a name (whitespace and comments aside), with q and Q balanced. Fills
// `draw` with the name and the matrix in force at the Do.
bool parseSingleImageDraw(const char* contents, size_t size, ImageDraw& draw);

// The rectangle a PDF box or an image covers, in user space.
struct PdfBox {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// True when the image of `pixelWidth` x `pixelHeight`, drawn through
// `matrix` (the unit square in image space), stands upright and unflipped on
// the page and covers `box` to within 1% of its sides, with the proportions
// of its pixels: shown alone, the image then looks as the page does.
bool fillsBoxUpright(const PdfMatrix& matrix, const PdfBox& box, int pixelWidth, int pixelHeight);
