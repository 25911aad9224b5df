#include "viewer/reduced_pictures.h"

#include <algorithm>

#include "platform/memory_block.h"
#include "viewer/viewer.h"

namespace {

bool heldByDocument(platform::MemoryHandle header) {
    const OpenDocument& document = viewer().document;
    return header == document.main.headerBlock || header == document.second.headerBlock ||
           header == document.readAhead[0].headerBlock ||
           header == document.readAhead[1].headerBlock;
}

} // namespace

const platform::ReducedPicture* reducedPicture(const PictureBuffer& picture,
                                               platform::Size size) {
    if (!picture.headerBlock || !picture.bitsBlock) return nullptr;
    if (size.width > picture.width || size.height > picture.height) return nullptr;
    std::vector<ReducedEntry>& entries = viewer().reduced;
    for (const ReducedEntry& entry : entries)
        if (entry.header == picture.headerBlock && entry.size == size) return entry.picture.get();
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
