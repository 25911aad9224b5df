// page_turn_bench.cpp - the next-page step of the whole viewer, in normal and
// two-page mode, with and without read-ahead, on the headless window layer
// at 1920 x 1080. Each figure is a ratio to the JPEG plug-in's decode of the
// same 2480 x 3508 pages in the same run:
//   next_page_readahead_vs_decode_*: one step whose pages were read ahead
//     (the refill that follows it is not part of the step);
//   next_page_plain_vs_decode_*: one step without read-ahead, per page shown;
//   previous_page_cached_vs_decode_*: a previous-page step back to the view
//     just left;
//   rapid_10_next_vs_decode_*: ten next-page commands queued at once, until
//     the last view is painted (with and without read-ahead).
// first_turns_vs_steady is the mean of the first five next-page steps after
// the book is opened over that of steps 20 to 25, default settings; run
// FirstTurns/* each in a process of its own, as a reader's start is:
//   page_turn_bench --benchmark_filter=FirstTurns/Normal
// peak_memory_mb (PeakMemory/*, also alone in its process) is the process's
// peak resident memory after paging a 60-page book 60 steps forward and 10
// back with read-ahead.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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
constexpr int kLongBookPages = 60;

// The sample book's page art at full scan size, as JPEG files in a folder
// that lives for the whole run and is removed at its end.
class Book {
public:
    explicit Book(int pages) : pages_(pages) {
        char pattern[] = "/tmp/voxa-page-turn-XXXXXX";
        root_ = mkdtemp(pattern);
        folder_ = root_ / "book";
        fs::create_directories(folder_);
        // Written by a child process, so that the benchmark's own heap is as
        // fresh as a viewer's that has just started.
        const pid_t writer = fork();
        if (writer == 0) {
            writePages();
            _exit(0);
        }
        int status = 0;
        if (writer < 0) writePages();
        else waitpid(writer, &status, 0);
    }
    ~Book() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    const fs::path& folder() const { return folder_; }

private:
    void writePages() const {
        for (int n = 1; n <= pages_; ++n) {
            const std::string bytes = encoders::encodeJpeg(sample_book::drawPage(2480, 3508, n), 90);
            char name[32];
            std::snprintf(name, sizeof name, "%02d.jpg", n);
            FILE* file = std::fopen((folder_ / name).c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }

    int pages_;
    fs::path root_, folder_;
};

const fs::path& bookFolder() {
    static const Book book(kPageCount);
    return book.folder();
}

// A book as long as a real one, for the memory a long read holds.
const fs::path& longBookFolder() {
    static const Book book(kLongBookPages);
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
    Session(int mode, bool readAhead, const fs::path& book = bookFolder()) {
        startApplicationOnce();
        const std::string settings = (book.parent_path() / "Voxa.ini").string();
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
        openPath(book.string() + "/");
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

void NextPage(benchmark::State& state, int mode, bool readAhead, const char* counter) {
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

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One command run at once, laid out and painted; seconds.
double timedCommand(Viewer& v, int id) {
    const auto start = Clock::now();
    platform::sendCommand(v.mainWindow, id);
    const double seconds = secondsSince(start);
    platform::processPendingMessages();
    return seconds;
}

void FirstTurns(benchmark::State& state, int mode) {
    for (auto _ : state) {
        Session session(mode, false);
        std::vector<double> turns;
        for (int turn = 1; turn <= 25; ++turn)
            turns.push_back(timedCommand(session.viewer(), cmd::NextPage));
        if (std::getenv("VOXA_BENCH_TURNS"))
            for (std::size_t turn = 0; turn < turns.size(); ++turn)
                std::fprintf(stderr, "%.1f%c", turns[turn] * 1000,
                             turn + 1 < turns.size() ? ' ' : '\n');
        double first = 0, steady = 0;
        for (int turn = 0; turn < 5; ++turn)
            first += turns[static_cast<std::size_t>(turn)];
        for (int turn = 19; turn < 25; ++turn)
            steady += turns[static_cast<std::size_t>(turn)];
        state.counters["first_turns_vs_steady"] = (first / 5) / (steady / 6);
        state.counters["first_ms"] = first / 5 * 1000;
        state.counters["steady_ms"] = steady / 6 * 1000;
    }
}

void PreviousPageCached(benchmark::State& state, int mode, const char* counter) {
    Session session(mode, false);
    Viewer& v = session.viewer();
    Decoder decoder;
    double seconds = 0, decoding = 0;
    for (auto _ : state) {
        state.PauseTiming();
        timedCommand(v, cmd::NextPage);
        decoding += decoder.decodeNext();
        state.ResumeTiming();
        seconds += timedCommand(v, cmd::PreviousPage);
    }
    const double decode = decoding / static_cast<double>(state.iterations());
    state.counters[counter] = seconds / static_cast<double>(state.iterations()) / decode;
    state.counters["decode_ms"] = decode * 1000;
}

// Ten next-page commands queued at once, timed until the last of them has
// painted its view: a task queued behind them reads the clock, before the
// read-ahead refill that the last step queues after it. Between two runs
// the reader reads the page: the pages decoded ahead are ready.
void Rapid10Next(benchmark::State& state, int mode, bool readAhead, const char* counter) {
    Session session(mode, readAhead);
    Viewer& v = session.viewer();
    timedCommand(v, cmd::NextPage); // the read-ahead buffers fill
    v.pagesAhead.waitUntilIdle();
    Decoder decoder;
    double seconds = 0, decoding = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        Clock::time_point painted;
        for (int step = 0; step < 10; ++step)
            platform::postCommand(v.mainWindow, cmd::NextPage);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&painted] { painted = Clock::now(); },
            Qt::QueuedConnection);
        while (!platform::queuedCommands(v.mainWindow).empty())
            platform::processPendingMessages();
        platform::processPendingMessages();
        seconds += std::chrono::duration<double>(painted - start).count();
        state.PauseTiming();
        v.pagesAhead.waitUntilIdle(); // the baseline decodes alone
        decoding += decoder.decodeNext();
        state.ResumeTiming();
    }
    const double decode = decoding / static_cast<double>(state.iterations());
    state.counters[counter] = seconds / static_cast<double>(state.iterations()) / decode;
    state.counters["decode_ms"] = decode * 1000;
}

void PeakMemory(benchmark::State& state, int mode) {
    for (auto _ : state) {
        Session session(mode, true, longBookFolder());
        for (int step = 0; step < 60; ++step)
            timedCommand(session.viewer(), cmd::NextPage);
        for (int step = 0; step < 10; ++step)
            timedCommand(session.viewer(), cmd::PreviousPage);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        state.counters["peak_memory_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
    }
}

// First: they measure a start, before the other benchmarks have warmed the process.
BENCHMARK_CAPTURE(FirstTurns, Normal, kNormalMode)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstTurns, TwoPage, kTwoPageMode)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PeakMemory, Normal, kNormalMode)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PeakMemory, TwoPage, kTwoPageMode)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NextPage, ReadAheadNormal, kNormalMode, true,
                  "next_page_readahead_vs_decode_normal")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NextPage, ReadAheadTwoPage, kTwoPageMode, true,
                  "next_page_readahead_vs_decode_twopage")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NextPage, PlainNormal, kNormalMode, false, "next_page_plain_vs_decode_normal")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NextPage, PlainTwoPage, kTwoPageMode, false,
                  "next_page_plain_vs_decode_twopage")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PreviousPageCached, Normal, kNormalMode, "previous_page_cached_vs_decode_normal")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PreviousPageCached, TwoPage, kTwoPageMode,
                  "previous_page_cached_vs_decode_twopage")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Rapid10Next, ReadAheadNormal, kNormalMode, true, "rapid_10_next_vs_decode_normal")
    ->MinTime(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Rapid10Next, ReadAheadTwoPage, kTwoPageMode, true,
                  "rapid_10_next_vs_decode_twopage")->MinTime(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Rapid10Next, PlainNormal, kNormalMode, false, "rapid_10_next_vs_decode_normal")
    ->MinTime(4)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Rapid10Next, PlainTwoPage, kTwoPageMode, false,
                  "rapid_10_next_vs_decode_twopage")->MinTime(4)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
