// pdf_writer.h - PDF books written with MuPDF, for the tests, the fuzz seeds,
// the benchmarks and the end-to-end tests.
#pragma once

#include <string>
#include <vector>

#include "sample_book/picture_encoders.h"

namespace encoders {

struct PdfPage {
    double width = 595; // the media box, in points
    double height = 842;
    int rotate = 0;     // the /Rotate entry
    // At most one image, named /Im0 in the page's resources: a JPEG kept as
    // it is (DCTDecode), or RGB pixels (channels 3) compressed with Flate.
    std::string jpeg;
    Picture picture;
    // The content stream; when empty, the image drawn to fill the media box.
    std::string contents;
};

// An empty `userPassword` writes the file unencrypted; otherwise it is
// encrypted with AES-256 and opens only with that password.
std::string writePdf(const std::vector<PdfPage>& pages, const std::string& userPassword = "");

} // namespace encoders
