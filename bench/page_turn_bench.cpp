// page_turn_bench.cpp - the next-page step of the whole viewer, in normal and
// two-page mode, with and without read-ahead, on the headless window layer
// at 1920 x 1080. Each figure is a ratio to the JPEG plug-in's decode of the
// same 2480 x 3508 pages in the same run:
//   next_page_readahead_vs_decode_*: one step whose pages were read ahead
//     (the refill that follows it is not part of the step);
//   next_page_plain_vs_decode_*: one step without read-ahead, per page shown.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "sample_book/page_art.h"
#include "sample_book/picture_encoders.h"
#include "settings/settings_file.h"
#include "sources/page_list.h"
#include "viewer/main_window.h"
#include "viewer/navigation.h"
#include "viewer/viewer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kPageCount = 8;

// The sample book's page art at full scan size, as JPEG files in a folder
// that lives for the whole run and is removed at its end.
class Book {
public:
    Book() {
        char pattern[] = "/tmp/voxa-page-turn-XXXXXX";
        root_ = mkdtemp(pattern);
        folder_ = root_ / "book";
        fs::create_directories(folder_);
        for (int n = 1; n <= kPageCount; ++n) {
            const std::string bytes = encoders::encodeJpeg(sample_book::drawPage(2480, 3508, n), 90);
            char name[32];
            std::snprintf(name, sizeof name, "%02d.jpg", n);
            FILE* file = std::fopen((folder_ / name).c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~Book() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& folder() const { return folder_; }

private:
    fs::path root_, folder_;
};

const fs::path& bookFolder() {
    static const Book book;
    return book.folder();
}

void startApplicationOnce() {
    static char name[] = "page_turn_bench";
    static char* argv[] = {name, nullptr};
    if (platform::hasApplication()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::startApplication(1, argv);
}

// The plug-in's decode of the book's pages, one page a call, in turn.
class Decoder {
public:
    Decoder() : pages_(VOXA_PLUGIN_DIR) { pages_.open(bookFolder().string() + "/"); }
    // Seconds for the next page.
    double decodeNext() {
        const auto start = Clock::now();
        pages_.decodeEntry(next_++ % pages_.pageCount);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        platform::freeBlock(pages_.loadedHeader);
        platform::freeBlock(pages_.loadedBits);
        pages_.loadedHeader = pages_.loadedBits = nullptr;
        return seconds;
    }

private:
    PageList pages_;
    int next_ = 0;
};

// A viewer with its windows, its settings file in the book's parent folder,
// the main window's client at 1920 x 1080, and the book open.
class Session {
public:
    Session(int mode, bool readAhead) {
        startApplicationOnce();
        const std::string settings = (bookFolder().parent_path() / "Voxa.ini").string();
        ViewerState state;
        startupDefaults(state);
        state.MODE = mode;
        state.sakiyomi = readAhead ? 1 : 0;
        state.modesizech = 1; // the window stays 1920 x 1080 in normal mode
        saveSettings(state, settingsAt(settings));
        viewer_ = std::make_unique<Viewer>(VOXA_PLUGIN_DIR, settingsAt(settings));
        setViewer(viewer_.get());
        createMainWindow();
        platform::processPendingMessages();
        const platform::WindowId window = viewer_->mainWindow;
        const platform::Rect outer = platform::windowRect(window);
        const platform::Rect client = platform::clientRect(window);
        platform::moveWindow(window, platform::rectAt(0, 0,
                                                      outer.width() - client.width() + 1920,
                                                      outer.height() - client.height() + 1080));
        platform::processPendingMessages();
        openPath(bookFolder().string() + "/");
        platform::processPendingMessages();
    }
    ~Session() {
        platform::destroyWindow(viewer_->mainWindow);
        platform::processPendingMessages();
        setViewer(nullptr);
    }
    Viewer& viewer() { return *viewer_; }

private:
    std::unique_ptr<Viewer> viewer_;
};

void nextPage(benchmark::State& state, int mode, bool readAhead, const char* counter) {
    Session session(mode, readAhead);
    Viewer& v = session.viewer();
    // One step first, so that the read-ahead buffers are full.
    platform::sendCommand(v.mainWindow, cmd::NextPage);
    platform::processPendingMessages();
    Decoder decoder;
    double seconds = 0, decoding = 0;
    long pagesShown = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        platform::sendCommand(v.mainWindow, cmd::NextPage); // laid out and painted
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
        pagesShown += v.layout.shownCount;
        state.PauseTiming();
        platform::processPendingMessages(); // the refill, as the reader reads the page
        decoding += decoder.decodeNext();   // the baseline, under the same load
        state.ResumeTiming();
    }
    const double decode = decoding / static_cast<double>(state.iterations());
    const double perStep = seconds / static_cast<double>(state.iterations());
    const double perPage = seconds / static_cast<double>(pagesShown);
    state.counters[counter] = (readAhead ? perStep : perPage) / decode;
    state.counters["decode_ms"] = decode * 1000;
}

void NextPageReadAheadNormal(benchmark::State& state) {
    nextPage(state, kNormalMode, true, "next_page_readahead_vs_decode_normal");
}
void NextPageReadAheadTwoPage(benchmark::State& state) {
    nextPage(state, kTwoPageMode, true, "next_page_readahead_vs_decode_twopage");
}
void NextPagePlainNormal(benchmark::State& state) {
    nextPage(state, kNormalMode, false, "next_page_plain_vs_decode_normal");
}
void NextPagePlainTwoPage(benchmark::State& state) {
    nextPage(state, kTwoPageMode, false, "next_page_plain_vs_decode_twopage");
}

BENCHMARK(NextPageReadAheadNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(NextPageReadAheadTwoPage)->Unit(benchmark::kMillisecond);
BENCHMARK(NextPagePlainNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(NextPagePlainTwoPage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
