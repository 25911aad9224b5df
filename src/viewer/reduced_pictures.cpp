#include "viewer/reduced_pictures.h"

#include <algorithm>
#include <optional>

#include "platform/memory_block.h"
#include "viewer/layout_math.h"
#include "viewer/viewer.h"

namespace {

bool heldByDocument(platform::MemoryHandle header) {
    const Viewer& v = viewer();
    const OpenDocument& document = v.document;
    return header == document.main.headerBlock || header == document.second.headerBlock ||
           header == document.readAhead[0].headerBlock ||
           header == document.readAhead[1].headerBlock || v.keptPages.holds(header);
}

// The size the picture will have in two-page mode, in a spread or alone; an
// empty size when the picture is not drawn by a reduction there.
platform::Size likelySize(const PictureBuffer& picture, bool pairs) {
    const Viewer& v = viewer();
    if (v.normalMode() || v.settings.modes[kTwoPageMode].engine) return {};
    const platform::Rect client = platform::clientRect(v.mainWindow);
    const platform::Size size{picture.width, picture.height};
    std::optional<platform::Size> partner;
    if (pairs) partner = size;
    const platform::Size placed =
        placeTwoPage({client.width(), client.height()}, size, partner, v.settings.picturemode,
                     v.settings.RightorLeft != 0)
            .first;
    if (placed.width > size.width || placed.height > size.height) return {};
    return placed;
}

const ReducedEntry* findEntry(const PictureBuffer& picture, platform::Size size) {
    for (const ReducedEntry& entry : viewer().reduced)
        if (entry.header == picture.headerBlock && entry.size == size) return &entry;
    return nullptr;
}

} // namespace

const platform::ReducedPicture* reducedPicture(const PictureBuffer& picture,
                                               platform::Size size) {
    if (!picture.headerBlock || !picture.bitsBlock) return nullptr;
    if (size.width > picture.width || size.height > picture.height) return nullptr;
    // At its own size the picture is drawn as it is, only where it is seen:
    // a copy of all of it would cost 4 bytes a pixel of a picture of any size.
    if (size.width == picture.width && size.height == picture.height) return nullptr;
    if (const ReducedEntry* entry = findEntry(picture, size)) return entry->picture.get();
    std::vector<ReducedEntry>& entries = viewer().reduced;
    auto made = platform::reducePicture(
        platform::lockBlock(picture.headerBlock), platform::blockSize(picture.headerBlock),
        platform::lockBlock(picture.bitsBlock), platform::blockSize(picture.bitsBlock), size);
    if (!made) return nullptr;
    entries.push_back({picture.headerBlock, size, std::move(made)});
    return entries.back().picture.get();
}

void forgetReduced(const PictureBuffer& picture) {
    if (!picture.headerBlock) return;
    std::erase_if(viewer().reduced,
                  [&](const ReducedEntry& entry) { return entry.header == picture.headerBlock; });
}

void pruneReduced() {
    std::erase_if(viewer().reduced,
                  [](const ReducedEntry& entry) { return !heldByDocument(entry.header); });
}

void prepareReduced(const PictureBuffer& picture, bool pairs) {
    const platform::Size size = likelySize(picture, pairs);
    if (size.width > 0) reducedPicture(picture, size);
}

BackgroundReduction::BackgroundReduction(const PictureBuffer& picture, bool pairs)
    : picture_(picture), size_(likelySize(picture, pairs)) {
    if (size_.width <= 0 || !picture.headerBlock || !picture.bitsBlock ||
        findEntry(picture, size_))
        return;
    const unsigned char* header = platform::lockBlock(picture.headerBlock);
    const unsigned char* bits = platform::lockBlock(picture.bitsBlock);
    const std::size_t headerSize = platform::blockSize(picture.headerBlock);
    const std::size_t bitsSize = platform::blockSize(picture.bitsBlock);
    try {
        worker_ = std::thread([this, header, headerSize, bits, bitsSize] {
            // One thread: the other core decodes meanwhile.
            result_ = platform::reducePicture(header, headerSize, bits, bitsSize, size_, 1);
        });
    } catch (...) {
        // Without a thread the picture is reduced when it is first drawn.
    }
}

BackgroundReduction::~BackgroundReduction() {
    if (!worker_.joinable()) return;
    worker_.join();
    if (result_) viewer().reduced.push_back({picture_.headerBlock, size_, std::move(result_)});
}
