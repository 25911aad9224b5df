#include "sources/jpeg_check.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/jpeg_bytes.h"
#include "support/temp_folder.h"

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

// The walk over a file reads windows of it as it goes; it must judge every
// stream exactly as the walk over the whole bytes does.
TEST(CheckJpeg, TheWalkOverAFileAgreesWithTheWalkOverItsBytes) {
    testing_support::TempFolder folder;
    std::mt19937 random(19);
    std::vector<std::string> streams;
    // Segments longer than a window, near the end, and the end itself.
    std::string big = jpegBytes(640, 480, 40000);
    big.insert(2, std::string("\xFF\xE1\x9C\x40", 4) + std::string(40000 - 2, 'e'));
    for (std::size_t cut :
         {big.size(), big.size() - 1, big.size() - 12, std::size_t(40003), std::size_t(40010)})
        streams.push_back(big.substr(0, cut));
    streams.push_back(jpegBytes(8, 8, 16, 9));
    streams.push_back(jpegBytes(8, 8, 70000, 10));
    // Random damage to small and large streams.
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 2 ? jpegBytes(100, 50, random() % 64) : big;
        for (int hits = 1 + int(random() % 4); hits > 0; --hits)
            bytes[random() % bytes.size()] = static_cast<char>(random() % 3 ? 0xFF : random());
        if (random() % 2) bytes.resize(random() % bytes.size());
        streams.push_back(bytes);
    }
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::string path = folder / "page.jpg";
        testing_support::writeFile(path, streams[i]);
        platform::ReadOnlyFile file(path);
        ASSERT_TRUE(file.isOpen());
        int width = -1, height = -1, fileWidth = -1, fileHeight = -1;
        const int expected = check(streams[i], &width, &height);
        EXPECT_EQ(checkJpegFile(file, file.size(), &fileWidth, &fileHeight), expected) << i;
        EXPECT_EQ(fileWidth, width) << i;
        EXPECT_EQ(fileHeight, height) << i;
    }
}

TEST(CheckJpeg, AFileShorterThanItsSizeIsBroken) {
    testing_support::TempFolder folder;
    const std::string bytes = jpegBytes(8, 8);
    testing_support::writeFile(folder / "page.jpg", bytes);
    platform::ReadOnlyFile file(folder / "page.jpg");
    int width = 0, height = 0;
    EXPECT_EQ(checkJpegFile(file, bytes.size() + 100, &width, &height), kJpegBroken);
}
