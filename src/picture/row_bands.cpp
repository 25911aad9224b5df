#include "picture/row_bands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

constexpr int kMaxBands = 64;
constexpr int kMaxThreads = 4;

int coreCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// Threads that wait for band work between calls: starting a thread for each
// call costs about as much as a small picture operation takes. One call's
// bands at a time; a call that finds the workers busy (another thread's
// picture) runs its bands on its own thread.
class Workers {
public:
    static Workers& get() {
        // Never destroyed: the workers wait on it until the process ends.
        static Workers* const workers = new Workers;
        return *workers;
    }

    // Runs take() on the calling thread and on up to `helpers` workers, and
    // returns once every one of them has come back from it.
    void run(const std::function<void()>& take, int helpers) {
        std::unique_lock<std::mutex> busy(callLock_, std::try_to_lock);
        int woken = 0; // workers asked to help; read here, outside the lock
        if (busy) {
            std::lock_guard<std::mutex> hold(lock_);
            while (static_cast<int>(threads_.size()) < helpers) {
                try {
                    threads_.emplace_back([this] { serve(); });
                } catch (const std::system_error&) {
                    break; // no more threads to be had: fewer helpers
                }
            }
            job_ = &take;
            wanted_ = std::min(helpers, static_cast<int>(threads_.size()));
            active_ = woken = wanted_;
            ++generation_;
        }
        if (woken > 0) wake_.notify_all();
        take();
        if (!busy) return;
        std::unique_lock<std::mutex> hold(lock_);
        done_.wait(hold, [this] { return active_ == 0; });
        job_ = nullptr;
    }

private:
    void serve() {
        std::uint64_t seen = 0;
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
            wake_.wait(hold, [&] { return generation_ != seen && wanted_ > 0; });
            seen = generation_;
            --wanted_;
            const std::function<void()>* job = job_;
            hold.unlock();
            (*job)();
            hold.lock();
            if (--active_ == 0) done_.notify_one();
        }
    }

    std::mutex callLock_;
    std::mutex lock_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void()>* job_ = nullptr;
    std::uint64_t generation_ = 0;
    int wanted_ = 0, active_ = 0;
};

} // namespace

std::vector<int> rowBandEdges(int rows, std::int64_t bytes) {
    if (rows <= 0) return {};
    const std::int64_t wanted =
        coreCount() < 2 || bytes < kBandMinBytes
            ? 1
            : std::min<std::int64_t>(bytes / (kBandMinBytes / 4), kMaxBands);
    const int bands = static_cast<int>(std::min<std::int64_t>(wanted, rows));
    std::vector<int> edges(bands + 1);
    for (int b = 0; b <= bands; ++b)
        edges[b] = static_cast<int>(std::int64_t{rows} * b / bands);
    return edges;
}

void forEachRowBand(const std::vector<int>& edges, const std::function<void(int, int)>& work) {
    const int bands = static_cast<int>(edges.size()) - 1;
    if (bands <= 0) return;
    std::atomic<int> next{0};
    const std::function<void()> take = [&] {
        for (int b; (b = next.fetch_add(1, std::memory_order_relaxed)) < bands;)
            work(edges[b], edges[b + 1]);
    };
    const int threads = std::min({coreCount(), bands, kMaxThreads});
    if (threads <= 1)
        take();
    else
        Workers::get().run(take, threads - 1);
}
