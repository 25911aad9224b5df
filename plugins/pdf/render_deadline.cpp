// render_deadline.cpp - the watch thread.
#include "pdf/render_deadline.h"

#include <atomic>

RenderDeadline::RenderDeadline(fz_cookie& cookie, std::chrono::milliseconds limit)
    : watch_([this, &cookie, limit] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (finished_.wait_for(lock, limit, [this] { return done_; })) return;
          // MuPDF reads the flag as a plain int from the rendering thread; this
          // is the way its documentation gives to stop a render from outside.
          std::atomic_ref<int>(cookie.abort).store(1, std::memory_order_relaxed);
      }) {}

RenderDeadline::~RenderDeadline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    finished_.notify_all();
    watch_.join();
}
