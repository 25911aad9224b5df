// pdf_book_bench.cpp - PDF books through the viewer's page list and plug-ins:
//   pdf_scan_page_vs_jpeg: loading one scanned page (a 2480 x 3508 JPEG in the
//     PDF) as the viewer does, against libjpeg decoding that JPEG directly;
//   pdf_list_500_ms: milliseconds to list a PDF of 500 scanned pages.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "decode_comparison.h"
#include "sample_book/pdf_writer.h"
#include "sources/page_list.h"

namespace {

namespace fs = std::filesystem;
using namespace decode_comparison;
using Clock = std::chrono::steady_clock;

// A folder for the run's PDF files, removed at the end.
class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/voxa-pdf-bench-XXXXXX";
        root_ = mkdtemp(pattern);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    std::string write(const char* name, const std::string& bytes) const {
        std::string path = (root_ / name).string();
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }

private:
    fs::path root_;
};

const Folder& folder() {
    static const Folder instance;
    return instance;
}

encoders::PdfPage scanOf(const std::string& jpeg) {
    encoders::PdfPage page;
    page.jpeg = jpeg;
    return page;
}

void freeLoaded(PageList& pages) {
    platform::freeBlock(pages.loadedHeader);
    platform::freeBlock(pages.loadedBits);
    pages.loadedHeader = pages.loadedBits = nullptr;
}

void pdfScanPage(benchmark::State& state) {
    static const std::string jpeg = encoders::encodeJpeg(page(), 90);
    static const std::string path = folder().write("scans.pdf", encoders::writePdf({scanOf(jpeg), scanOf(jpeg)}));
    PageList pages(VOXA_PLUGIN_DIR);
    if (!pages.open(path) || !pages.archiveMode) throw std::runtime_error("the PDF did not open as a book");
    freeLoaded(pages);
    Clock::duration throughHost{}, direct{};
    bool hostFirst = false;
    for (auto _ : state) {
        for (int side = 0; side < 2; ++side) {
            auto start = Clock::now();
            if ((side == 0) == hostFirst) {
                if (!pages.decodeEntry(1)) throw std::runtime_error("the page did not load");
                throughHost += Clock::now() - start;
                freeLoaded(pages);
            } else {
                libjpegDecode(jpeg);
                direct += Clock::now() - start;
            }
        }
        hostFirst = !hostFirst;
    }
    state.counters["pdf_scan_page_vs_jpeg"] = double(throughHost.count()) / double(direct.count());
}

void pdfList500(benchmark::State& state) {
    static const std::string path = [] {
        std::vector<encoders::PdfPage> book;
        for (int n = 0; n < 500; ++n)
            book.push_back(scanOf(encoders::encodeJpeg(encoders::makePattern(248, 351, 3, std::uint32_t(n)), 75)));
        return folder().write("book500.pdf", encoders::writePdf(book));
    }();
    PageList pages(VOXA_PLUGIN_DIR);
    std::vector<ArchiveMember> members;
    Clock::duration listing{};
    for (auto _ : state) {
        auto start = Clock::now();
        if (!pages.host.findArchivePlugin(path) || !pages.host.listArchive(path, members, kMaxPages))
            throw std::runtime_error("the PDF did not list");
        listing += Clock::now() - start;
        if (members.size() != 500) throw std::runtime_error("the PDF listed the wrong number of pages");
    }
    state.counters["pdf_list_500_ms"] =
        std::chrono::duration<double, std::milli>(listing).count() / double(state.iterations());
}

} // namespace

BENCHMARK(pdfScanPage)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(pdfList500)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
