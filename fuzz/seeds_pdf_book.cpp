// seeds_pdf_book.cpp - PDF seeds of scanned, drawn, turned and pixel pages.
#include "picture_fuzzing.h"
#include "sample_book/pdf_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    using namespace encoders;
    PdfPage scan;
    scan.width = 60;
    scan.height = 80;
    scan.jpeg = encodeJpeg(makePattern(30, 40, 3), 70);
    PdfPage drawn;
    drawn.contents = "1 0 0 rg 10 10 100 100 re f 0 0 1 RG 5 w 0 0 m 595 842 l S";
    PdfPage turned = scan;
    turned.rotate = 90;
    PdfPage pixels;
    pixels.width = 20;
    pixels.height = 10;
    pixels.picture = makePattern(20, 10, 3);
    return fuzzing::writeSeeds(argv[1], {writePdf({scan, drawn}), writePdf({turned, pixels}), writePdf({scan}, "pw")});
}
