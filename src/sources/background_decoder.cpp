#include "sources/background_decoder.h"

#include <algorithm>
#include <utility>

namespace {

// A thread per core, at most four: while a step waits for its page, the
// message-loop thread sleeps and every core decodes.
std::size_t threadCount() {
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
}

} // namespace

BackgroundDecoder::BackgroundDecoder(std::string pluginFolder)
    : pluginFolder_(std::move(pluginFolder)) {}

BackgroundDecoder::~BackgroundDecoder() {
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (auto& worker : workers_)
        worker->thread.join();
    for (auto& slot : slots_)
        freeSlot(*slot);
}

void BackgroundDecoder::freeSlot(Slot& slot) {
    platform::freeBlock(slot.header);
    platform::freeBlock(slot.bits);
    slot.header = slot.bits = nullptr;
    slot.bytes = 0;
}

void BackgroundDecoder::setList(const PageList& pages) {
    auto listing = std::make_shared<const PageList::Listing>(pages.listing());
    std::vector<std::unique_ptr<Slot>> dropped;
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        listing_ = std::move(listing);
        ++generation_;
        // A decode under way ends on its own and is freed then.
        for (auto& slot : slots_) {
            slot->wanted = false;
            if (slot->state != State::Decoding) dropped.push_back(std::move(slot));
        }
        std::erase(slots_, nullptr);
    }
    for (auto& slot : dropped)
        freeSlot(*slot);
}

void BackgroundDecoder::request(const std::vector<int>& entries, std::size_t maxPictures,
                                std::size_t maxBytes) {
    std::vector<std::unique_ptr<Slot>> dropped;
    {
        const std::lock_guard<std::mutex> hold(mutex_);
        const int count = listing_ ? listing_->pageCount : 0;
        std::vector<std::unique_ptr<Slot>> slots;
        for (int index : entries) {
            if (index < 0 || index >= count) continue;
            const auto same = [&](const std::unique_ptr<Slot>& slot) {
                return slot && slot->wanted && slot->index == index;
            };
            if (std::any_of(slots.begin(), slots.end(), same)) continue;
            const auto found = std::find_if(slots_.begin(), slots_.end(), same);
            if (found != slots_.end()) {
                slots.push_back(std::move(*found));
            } else {
                slots.push_back(std::make_unique<Slot>());
                slots.back()->index = index;
            }
        }
        for (auto& slot : slots_) {
            if (!slot) continue;
            slot->wanted = false;
            if (slot->state == State::Decoding)
                slots.push_back(std::move(slot));
            else
                dropped.push_back(std::move(slot));
        }
        slots_ = std::move(slots);
        maxPictures_ = maxPictures;
        maxBytes_ = maxBytes;
        if (workers_.empty() && listing_ && !slots_.empty()) {
            // Every list loads its plug-ins before any thread calls one.
            for (std::size_t n = threadCount(); n > 0; --n) {
                workers_.push_back(std::make_unique<Worker>());
                workers_.back()->pages = std::make_unique<PageList>(pluginFolder_);
            }
            for (auto& worker : workers_)
                worker->thread = std::thread([this, &w = *worker] { run(w); });
        }
    }
    changed_.notify_all();
    for (auto& slot : dropped)
        freeSlot(*slot);
}

bool BackgroundDecoder::take(int index, platform::MemoryHandle& header,
                             platform::MemoryHandle& bits) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const auto found = std::find_if(slots_.begin(), slots_.end(), [&](const auto& slot) {
            return slot->wanted && slot->index == index;
        });
        if (found == slots_.end()) return false;
        Slot& slot = **found;
        if (slot.state == State::Decoding) {
            changed_.wait(lock);
            continue;
        }
        const bool decoded = slot.state == State::Decoded;
        header = std::exchange(slot.header, nullptr);
        bits = std::exchange(slot.bits, nullptr);
        slots_.erase(found);
        lock.unlock();
        changed_.notify_all(); // room for another picture
        return decoded;
    }
}

void BackgroundDecoder::clear() {
    request({}, 0, 0);
}

std::size_t BackgroundDecoder::picturesHeld() const {
    const std::lock_guard<std::mutex> hold(mutex_);
    return static_cast<std::size_t>(std::count_if(
        slots_.begin(), slots_.end(), [](const auto& slot) { return slot->state == State::Decoded; }));
}

std::size_t BackgroundDecoder::bytesHeld() const {
    const std::lock_guard<std::mutex> hold(mutex_);
    return heldLocked();
}

std::size_t BackgroundDecoder::heldLocked() const {
    std::size_t bytes = 0;
    for (const auto& slot : slots_)
        bytes += slot->bytes;
    return bytes;
}

void BackgroundDecoder::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] {
        const bool decoding = std::any_of(slots_.begin(), slots_.end(), [](const auto& slot) {
            return slot->state == State::Decoding;
        });
        return workers_.empty() || (!decoding && !nextToStart());
    });
}

BackgroundDecoder::Slot* BackgroundDecoder::nextToStart() {
    std::size_t busy = 0, decoding = 0;
    for (const auto& slot : slots_) {
        if (slot->state == State::Decoded || slot->state == State::Decoding) ++busy;
        if (slot->state == State::Decoding) ++decoding;
    }
    if (busy >= maxPictures_) return nullptr;
    if (heldLocked() + (decoding + 1) * lastBytes_ > maxBytes_) return nullptr;
    for (auto& slot : slots_)
        if (slot->wanted && slot->state == State::Wanted) return slot.get();
    return nullptr;
}

void BackgroundDecoder::run(Worker& worker) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        Slot* slot = nullptr;
        changed_.wait(lock, [&] { return stopping_ || (slot = nextToStart()) != nullptr; });
        if (stopping_) return;
        slot->state = State::Decoding;
        const int index = slot->index;
        const long generation = generation_;
        const std::shared_ptr<const PageList::Listing> listing = listing_;
        lock.unlock();

        PageList& pages = *worker.pages;
        if (worker.listGeneration != generation) {
            pages.adoptListing(*listing);
            worker.listGeneration = generation;
        }
        const bool decoded = pages.decodeEntry(index) != 0;
        Slot result;
        if (decoded) {
            result.header = std::exchange(pages.loadedHeader, nullptr);
            result.bits = std::exchange(pages.loadedBits, nullptr);
            result.bytes = platform::blockSize(result.header) + platform::blockSize(result.bits);
        }

        lock.lock();
        // A slot being decoded is never removed by the other members.
        if (slot->wanted && generation == generation_) {
            slot->state = decoded ? State::Decoded : State::Failed;
            slot->header = result.header;
            slot->bits = result.bits;
            slot->bytes = result.bytes;
            if (decoded) lastBytes_ = result.bytes;
        } else {
            freeSlot(result);
            std::erase_if(slots_, [&](const auto& kept) { return kept.get() == slot; });
        }
        changed_.notify_all();
    }
}
