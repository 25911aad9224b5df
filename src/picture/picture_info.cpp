#include "picture/picture_info.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

#include "platform/file_system.h"
#include "sources/entry_statistics.h"

namespace {

// printf into a string; the texts here are short but their names are not.
template <typename... Args>
std::string format(const char* pattern, Args... args) {
    const int length = std::snprintf(nullptr, 0, pattern, args...);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, args...);
    text.pop_back();
    return text;
}

// A file's size as the texts print it: the low 32 bits, read as signed.
int printedSize(std::uint64_t size) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(size));
}

// The file information rows: an archive's member, found or not, and a
// folder's file, found or not.
constexpr const char* kArchiveFound = "＊書庫ファイル\r\n"
                                      "・ファイル名(A)\r\n\t%s\r\n"
                                      "・ファイルサイズ(A)\r\n\t%d byte\r\n"
                                      "・更新日時(A)\r\n\t%s\r\n"
                                      "・ファイル名\r\n\t%s\r\n"
                                      "・ファイルサイズ\r\n\t%d byte\r\n";
constexpr const char* kArchiveMissing = "＊書庫ファイル\r\n"
                                        "・ファイル名\r\n\t%s\r\n"
                                        "ファイル情報取得失敗\r\n";
constexpr const char* kFileFound = "・ファイル名\r\n\t%s\r\n"
                                   "・場所\r\n\t%s\r\n"
                                   "・ファイルサイズ\r\n\t%d byte\r\n"
                                   "・更新日時\r\n\t%s\r\n";
constexpr const char* kFileMissing = "・ファイル名\r\n\t%s\r\n"
                                     "・場所\r\n\t%s\r\n"
                                     "ファイル情報取得失敗\r\n";

struct FileFacts {
    std::uint64_t size = 0;
    std::time_t modified = 0;
};

std::optional<FileFacts> factsOf(const std::string& path) {
    if (platform::pathKind(path) != platform::PathKind::File) return std::nullopt;
    const std::optional<std::uint64_t> size = platform::fileSize(path);
    const std::optional<std::time_t> modified = platform::lastWriteTime(path);
    if (!size || !modified) return std::nullopt;
    return FileFacts{*size, *modified};
}

} // namespace

int countColours(const PictureBuffer& picture) {
    if (picture.bitCount != 24 || !picture.isHandled()) return 0;
    const unsigned char* rows = platform::lockBlock(picture.bitsBlock);
    std::vector<std::uint64_t> seen(std::size_t{1} << 18); // 2^24 bits
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        const unsigned char* pixel = rows + std::size_t(y) * picture.stride;
        for (int x = 0; x < picture.width; ++x, pixel += 3) {
            const std::uint32_t key = std::uint32_t(pixel[2]) << 16 | pixel[1] << 8 | pixel[0];
            std::uint64_t& word = seen[key >> 6];
            const std::uint64_t bit = std::uint64_t{1} << (key & 63);
            if (word & bit) continue;
            word |= bit;
            ++count;
        }
    }
    return count;
}

std::string pictureInfoText(const PictureBuffer& picture) {
    std::string text = format("・画像情報\r\n\t%d x %d %d bit\r\n", picture.width, picture.height,
                              picture.bitCount);
    if (picture.bitCount == 24 && picture.isHandled())
        text += format("・現在使われてる色数 \r\n\t%d\r\n", countColours(picture));
    return text;
}

std::string shownSizeText(int width, int height) {
    return format("・現在のサイズ\r\n\t%d x %d\r\n", width, height);
}

std::string fileInfoText(const PageList& pages, int index) {
    const bool known = index >= 0 && index < static_cast<int>(pages.entries.size());
    const std::string name = known ? pages.entries[index] : std::string();
    if (pages.archiveMode) {
        const std::optional<FileFacts> archive = factsOf(pages.archivePath);
        if (!archive) return format(kArchiveMissing, pages.archivePath.c_str());
        const int memberSize =
            known && index < static_cast<int>(pages.entrySize.size()) ? pages.entrySize[index] : 0;
        return format(kArchiveFound, pages.archivePath.c_str(), printedSize(archive->size),
                      dateText(archive->modified).c_str(), name.c_str(), memberSize);
    }
    const std::optional<FileFacts> file =
        known ? factsOf(platform::joinPath(pages.folder, name)) : std::nullopt;
    if (!file) return format(kFileMissing, name.c_str(), pages.folder.c_str());
    return format(kFileFound, name.c_str(), pages.folder.c_str(), printedSize(file->size),
                  dateText(file->modified).c_str());
}
