#include "picture/page_cache.h"

PageCache::~PageCache() {
    clear();
}

void PageCache::drop(std::size_t at) {
    platform::freeBlock(pages_[at].blocks.header);
    platform::freeBlock(pages_[at].blocks.bits);
    held_ -= pages_[at].bytes;
    pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(at));
}

void PageCache::trim() {
    while (held_ > budget_ && !pages_.empty())
        drop(0);
}

void PageCache::keep(const PageKey& key, PictureBuffer& picture, int rotation) {
    if (!picture.owned) return;
    for (std::size_t at = 0; at < pages_.size(); ++at)
        if (pages_[at].key.index == key.index) {
            drop(at);
            break;
        }
    const std::size_t bytes =
        platform::blockSize(picture.headerBlock) + platform::blockSize(picture.bitsBlock);
    if (bytes > budget_) {
        picture.freeBlocks();
        return;
    }
    pages_.push_back({key, {picture.headerBlock, picture.bitsBlock}, rotation, bytes, step_});
    held_ += bytes;
    picture.release();
    picture.freeBlocks(); // forgets the handles; the cache owns the blocks now
    trim();
}

int PageCache::take(const PageKey& key, BlockPair& out) {
    for (std::size_t at = pages_.size(); at-- > 0;)
        if (pages_[at].key.options != key.options) drop(at);
    for (std::size_t at = 0; at < pages_.size(); ++at) {
        if (pages_[at].key != key) continue;
        const Kept kept = pages_[at];
        pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(at));
        held_ -= kept.bytes;
        out = kept.blocks;
        return kept.rotation;
    }
    return -1;
}

bool PageCache::holds(platform::MemoryHandle header) const {
    for (const Kept& kept : pages_)
        if (kept.blocks.header == header) return true;
    return false;
}

void PageCache::clear() {
    while (!pages_.empty())
        drop(pages_.size() - 1);
}

void PageCache::dropEarlierSteps() {
    for (std::size_t at = pages_.size(); at-- > 0;)
        if (pages_[at].step != step_) drop(at);
}

void PageCache::setBudget(std::size_t budgetBytes) {
    budget_ = budgetBytes;
    trim();
}
