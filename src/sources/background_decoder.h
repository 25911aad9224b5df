// background_decoder.h - pages decoded on other threads before a step asks for them.
//
// The viewer says which entries of the open list it will want next, nearest
// first (request); a thread per core decodes them, each through a page list and
// plug-in host of its own that hold a copy of the open list (setList), so
// the open list itself is only ever used by the message-loop thread. A step
// then takes its picture (take) instead of decoding it; while the picture is
// being decoded it waits for it. A failed decode is not kept: the step
// decodes the entry again itself and reports the failure as it always does.
//
// The decoded pictures held stay within a count and a byte budget that the
// caller sets with every request; a thread starts a picture only while the
// pictures held and those being decoded are fewer than the count, and their
// bytes, with one more of the size last decoded, fit the byte budget.
//
// Every member is called from the message-loop thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/memory_block.h"
#include "sources/page_list.h"

class BackgroundDecoder {
public:
    explicit BackgroundDecoder(std::string pluginFolder);
    ~BackgroundDecoder(); // stops the threads and frees the pictures held
    BackgroundDecoder(const BackgroundDecoder&) = delete;
    BackgroundDecoder& operator=(const BackgroundDecoder&) = delete;

    // The entries of `pages` are decoded from now on; every picture of an
    // earlier list is dropped.
    void setList(const PageList& pages);
    // The entries wanted next, nearest first, and the budget. Pictures of
    // entries no longer wanted are freed; entries wanted already keep their
    // place and their picture. Starts the threads on the first call.
    void request(const std::vector<int>& entries, std::size_t maxPictures, std::size_t maxBytes);
    // Hands the picture of `index` to the caller, who owns both blocks then,
    // waiting while it is being decoded. False when it is neither decoded nor
    // being decoded, or could not be decoded: the entry is no longer wanted
    // then, and the caller decodes it itself.
    bool take(int index, platform::MemoryHandle& header, platform::MemoryHandle& bits);
    // Nothing is wanted any more; the pictures held are freed.
    void clear();

    std::size_t picturesHeld() const;
    std::size_t bytesHeld() const;
    // Waits until no thread decodes and none would start (tests and benches).
    void waitUntilIdle();

private:
    enum class State { Wanted, Decoding, Decoded, Failed };
    struct Slot {
        int index = 0;
        State state = State::Wanted;
        bool wanted = true; // false: a decode that is no longer wanted, freed when it ends
        platform::MemoryHandle header = nullptr, bits = nullptr;
        std::size_t bytes = 0;
    };
    struct Worker {
        std::unique_ptr<PageList> pages;
        long listGeneration = -1;
        std::thread thread;
    };

    void run(Worker& worker);
    // The next slot a thread may start, or null; the lock is held.
    Slot* nextToStart();
    std::size_t heldLocked() const;
    void freeSlot(Slot& slot);

    std::string pluginFolder_;
    std::vector<std::unique_ptr<Worker>> workers_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Slot>> slots_; // wanted order
    std::shared_ptr<const PageList::Listing> listing_;
    long generation_ = 0;
    std::size_t maxPictures_ = 0, maxBytes_ = 0, lastBytes_ = 0;
    bool stopping_ = false;
};
