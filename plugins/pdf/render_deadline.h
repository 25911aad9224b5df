// render_deadline.h - a watch that asks MuPDF to abandon a render that takes
// too long, so a hostile or absurdly complex page cannot hold the viewer.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <mupdf/fitz.h>

// While it lives, a thread waits `limit` and then sets the cookie's abort
// flag, which the PDF interpreter and the draw device check as they go. The
// destructor stops the thread at once when the render ended in time.
class RenderDeadline {
public:
    RenderDeadline(fz_cookie& cookie, std::chrono::milliseconds limit);
    ~RenderDeadline();
    RenderDeadline(const RenderDeadline&) = delete;
    RenderDeadline& operator=(const RenderDeadline&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread watch_;
};
