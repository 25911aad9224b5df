#include "sources/jpeg_check.h"

#include <gtest/gtest.h>

#include "jpeg_bytes.h"

using testing_support::jpegBytes;

namespace {

int check(const std::string& bytes, int* width = nullptr, int* height = nullptr) {
    int w = -1, h = -1;
    int result =
        checkJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &w, &h);
    if (width) *width = w;
    if (height) *height = h;
    return result;
}

} // namespace

TEST(CheckJpeg, ReadsTheFrameSizeOfBaselineAndProgressivePictures) {
    int width = 0, height = 0;
    EXPECT_EQ(check(jpegBytes(640, 480), &width, &height), kJpegWellFormed);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(check(jpegBytes(2480, 3508, 16, 0, true), &width, &height), kJpegWellFormed);
    EXPECT_EQ(width, 2480);
    EXPECT_EQ(height, 3508);
}

TEST(CheckJpeg, ToleratesUpToNineBytesAfterTheEnd) {
    for (std::size_t trailing = 1; trailing <= 9; ++trailing)
        EXPECT_EQ(check(jpegBytes(8, 8, 16, trailing)), kJpegWellFormed) << trailing;
    EXPECT_EQ(check(jpegBytes(8, 8, 16, 10)), kJpegBroken);
    std::string endsInFf = jpegBytes(8, 8);
    endsInFf.back() = '\x00';
    endsInFf[endsInFf.size() - 2] = '\xFF';
    EXPECT_EQ(check(endsInFf), kJpegBroken);
}

TEST(CheckJpeg, TruncationsAndWrongStarts) {
    std::string whole = jpegBytes(100, 50, 40);
    int width = 0, height = 0;
    // Cut inside the entropy data: broken, but the frame was read.
    EXPECT_EQ(check(whole.substr(0, whole.size() - 20), &width, &height), kJpegBroken);
    EXPECT_EQ(width, 100);
    // Every cut is judged without reading past the data.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        int result = check(whole.substr(0, cut));
        EXPECT_TRUE(result == kJpegBroken || (cut < 2 && result == kNotJpeg)) << cut;
    }
    EXPECT_EQ(check("GIF89a"), kNotJpeg);
    EXPECT_EQ(check(std::string("\xFF\xD8\xFF", 3)), kJpegBroken);
    // A segment that is not followed by a marker.
    std::string noMarker = std::string("\xFF\xD8\xFF\xE0\x00\x04..Z junk after", 20);
    EXPECT_EQ(check(noMarker), kNotJpeg);
}

TEST(CheckJpeg, FillBytesRestartMarkersAndLengthsPastTheEnd) {
    std::string filled = jpegBytes(8, 8);
    filled.insert(2, "\xFF\xFF\xFF");
    filled.insert(2, std::string("\xFF\xD0", 2));
    EXPECT_EQ(check(filled), kJpegWellFormed);
    std::string longSegment = std::string("\xFF\xD8\xFF\xE1\xFF\xFF", 6) + std::string(20, 'x');
    EXPECT_EQ(check(longSegment), kJpegBroken);
}
