// page_cache.h - processed pictures kept after they left the screen.
//
// A step back to a view just left shows its pictures again without decoding
// or processing them. Each picture is kept under the entry it came from (its
// index and name in the open list) and the options it was processed with;
// a lookup with other options drops every picture processed with them. The
// pictures held stay within a budget of bytes, the oldest going first.
//
// Steps: a picture is kept during a step; once a later step has to decode
// a page, the pictures kept before it began go (dropEarlierSteps), so that
// the page decoded reuses their memory, still warm, instead of fresh memory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "picture/picture_buffer.h"
#include "picture/pipeline.h"

struct PageKey {
    int index = -1;
    std::string name;
    PipelineOptions options;
    bool operator==(const PageKey&) const = default;
};

class PageCache {
public:
    explicit PageCache(std::size_t budgetBytes) : budget_(budgetBytes) {}
    ~PageCache(); // frees what it holds
    PageCache(const PageCache&) = delete;
    PageCache& operator=(const PageCache&) = delete;

    // Takes the picture's blocks over (the buffer is left empty) with the
    // rotation its processing made, in place of any picture kept under the
    // same entry; the oldest pictures go while the budget is exceeded. A
    // picture that does not fit the budget on its own is freed.
    void keep(const PageKey& key, PictureBuffer& picture, int rotation);
    // Hands the blocks of the picture kept under `key` to the caller, who
    // owns them now, and answers its rotation; -1, with `out` untouched, when
    // none is kept. Pictures processed with other options are dropped.
    int take(const PageKey& key, BlockPair& out);
    // True when a picture kept has this header block.
    bool holds(platform::MemoryHandle header) const;
    void clear();
    void setBudget(std::size_t budgetBytes);
    // Pictures kept from now on belong to a new step.
    void beginStep() { ++step_; }
    // Drops the pictures kept before the current step began.
    void dropEarlierSteps();

    std::size_t budget() const { return budget_; }
    std::size_t bytesHeld() const { return held_; }
    std::size_t count() const { return pages_.size(); }

private:
    struct Kept {
        PageKey key;
        BlockPair blocks;
        int rotation = 0;
        std::size_t bytes = 0;
        long step = 0;
    };
    void drop(std::size_t at);
    void trim();

    std::vector<Kept> pages_; // oldest first
    std::size_t budget_;
    std::size_t held_ = 0;
    long step_ = 0;
};
