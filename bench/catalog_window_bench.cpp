// The catalog window with 10000 rows, on Qt's offscreen platform.
//
//   catalog_sort_10000_ms  a header click on a Text column (catalogSortText)
//                          and on a Date column (catalogSortDate): the rows
//                          sorted, the list told and the selection put back
//   catalog_fill_10000_ms  opening a list file of 10000 rows through the
//                          Open command: the file read, the list filled and
//                          painted once
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "catalog/catalog_commands.h"
#include "catalog/catalog_view.h"
#include "catalog/list_file.h"
#include "platform/application.h"
#include "platform/modal.h"
#include "resources/catalog_ids.h"

#include "catalog_bench_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Title, Location, Author (Text), Updated (Date); the texts as a reader's
// shelf holds them.
void fillRows(CatalogList& list) {
    resetCatalog(list);
    list.columns[kColumnAuthor].displayPosition = 2;
    list.columns[kColumnUpdated].displayPosition = 3;
    list.visibleCount = 4;
    buildViewColumns(list);
    const char* words[] = {"ＡＢＣ漫画", "かなカナ", "Book Title", "ｶﾀｶﾅの本", "第3巻", "Zeta"};
    for (int r = 0; r < 10000; ++r) {
        unsigned mix = unsigned(r) * 2654435761u;
        char date[32];
        std::snprintf(date, sizeof date, "%04u/%02u/%02u %02u:%02u", 1990 + mix % 30, 1 + mix / 7 % 12,
                      1 + mix / 11 % 28, mix / 13 % 24, mix / 17 % 60);
        std::string title = std::string(words[mix % 6]) + std::to_string(mix % 9973);
        appendRow(list, r % 3,
                  {title, "/home/reader/本棚/" + title, std::string(words[mix / 5 % 6]) + std::to_string(r), date});
    }
}

void sortBy(benchmark::State& state, int column) {
    BenchCatalogWindow window;
    fillRows(window.catalog.list);
    showWholeCatalog(window.catalog);
    platform::processPendingMessages();
    Clock::duration spent{};
    for (auto _ : state) {
        auto start = Clock::now();
        sortCatalog(window.catalog, column);
        platform::processPendingMessages();
        spent += Clock::now() - start;
    }
    state.counters["catalog_sort_10000_ms"] =
        std::chrono::duration<double, std::milli>(spent).count() / double(state.iterations());
}

void catalogSortText(benchmark::State& state) {
    sortBy(state, 2);
}

void catalogSortDate(benchmark::State& state) {
    sortBy(state, 3);
}

void catalogFill(benchmark::State& state) {
    BenchCatalogWindow window;
    CatalogList list;
    fillRows(list);
    const std::string path = "/tmp/voxa_bench_" + std::to_string(::getpid()) + "_fill.vxl";
    if (!writeListFile(list, path)) state.SkipWithError("could not write the list");
    platform::setModalAnswerer([&](const platform::ModalRequest&) {
        return platform::ModalAnswer{platform::DialogResult::Ok, path, 0};
    });
    Clock::duration spent{};
    for (auto _ : state) {
        window.catalog.list.modified = false;
        auto start = Clock::now();
        runCatalogCommand(window.catalog, listcmd::Open);
        platform::processPendingMessages();
        spent += Clock::now() - start;
        if (window.catalog.list.rows.size() != 10000) state.SkipWithError("the list was not read");
    }
    platform::setModalAnswerer({});
    std::remove(path.c_str());
    state.counters["catalog_fill_10000_ms"] =
        std::chrono::duration<double, std::milli>(spent).count() / double(state.iterations());
}

} // namespace

BENCHMARK(catalogSortText)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(catalogSortDate)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(catalogFill)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    return runBenchmarksWithApplication(argc, argv);
}
