// sample_book_main.cpp - writes <folder>/book/01.jpg ... 12.png and
// <folder>/book.cbz with the same pages, so a new reader has something to open.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sample_book/archive_writer.h"
#include "sample_book/page_art.h"
#include "sample_book/picture_encoders.h"

namespace {

struct PageShape {
    const char* format;
    int width;
    int height;
};

// Portraits throughout, page 6 a landscape two-page picture, page 9 square;
// the formats rotate so every plug-in and the built-in BMP reader get pages.
const PageShape kPages[] = {
    {"jpg", 1240, 1754}, {"png", 1240, 1754}, {"gif", 1240, 1754},  {"webp", 1240, 1754},
    {"bmp", 1240, 1754}, {"jpg", 2480, 1754}, {"png", 1240, 1754},  {"jpg", 1240, 1754},
    {"webp", 1240, 1240}, {"gif", 1240, 1754}, {"bmp", 1240, 1754}, {"png", 1240, 1754},
};

std::string encodePage(const PageShape& shape, const encoders::Picture& page) {
    std::string format = shape.format;
    if (format == "jpg") return encoders::encodeJpeg(page, 88);
    if (format == "png") return encoders::encodePng(page);
    if (format == "webp") return encoders::encodeWebp(page, false, 85);
    if (format == "bmp") return encoders::encodeBmp(page);
    std::vector<std::uint8_t> indices, palette;
    sample_book::toColourCube(page, indices, palette);
    return encoders::encodeGif(page.width, page.height, indices, palette);
}

bool save(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    std::filesystem::path root = argv[1];
    std::filesystem::path folder = root / "book";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    encoders::ArchiveMembers members;
    int number = 1;
    for (const PageShape& shape : kPages) {
        char name[32];
        std::snprintf(name, sizeof name, "%02d.%s", number, shape.format);
        std::string bytes = encodePage(shape, sample_book::drawPage(shape.width, shape.height, number));
        if (!save(folder / name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
            return 1;
        }
        members.emplace_back(name, std::move(bytes));
        ++number;
    }
    if (!save(root / "book.cbz", encoders::writeArchive(encoders::ArchiveFormat::Zip, members))) {
        std::fprintf(stderr, "cannot write %s\n", (root / "book.cbz").c_str());
        return 1;
    }
    return 0;
}
