// The catalog's list file against plain file I/O of the same bytes, and find
// and replace over every cell of a large catalog.
//
//   listfile_io_vs_plain  writeListFile + readListFile of 10000 rows of 26
//                         columns, divided by writing and reading the same
//                         bytes as one block (both written durably, by
//                         writeFileAtomically, so the ratio is the format's
//                         own cost: encoding, conversion, the model)
//   search_all_ms         matchText on every cell with every folding option
//   replace_all_ms        replaceInText on every cell
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "catalog/list_file.h"
#include "platform/file_system.h"
#include "platform/text_match.h"

namespace {

using Clock = std::chrono::steady_clock;

CatalogList bigCatalog() {
    CatalogList list;
    resetCatalog(list);
    list.visibleCount = kColumnCount;
    for (int id = 0; id < kColumnCount; ++id) list.columns[id].displayPosition = id;
    buildViewColumns(list);
    const char* words[] = {"ＡＢＣ漫画", "かなカナ", "Book Title", "ｶﾀｶﾅの本", "第3巻", "/home/reader/本棚/"};
    for (int r = 0; r < 10000; ++r) {
        std::vector<std::string> cells;
        for (int p = 0; p < kColumnCount; ++p)
            cells.push_back(std::string(words[(r + p) % 6]) + std::to_string(r * 31 + p) + words[p % 6]);
        appendRow(list, r % 3, std::move(cells));
    }
    return list;
}

std::string benchPath(const char* name) {
    return "/tmp/voxa_bench_" + std::to_string(::getpid()) + "_" + name;
}

void listFileIo(benchmark::State& state) {
    CatalogList list = bigCatalog();
    std::string bytes = listFileBytes(list);
    std::string listPath = benchPath("list.vxl"), plainPath = benchPath("plain.bin");
    Clock::duration throughList{}, plain{};
    for (auto _ : state) {
        auto start = Clock::now();
        CatalogList back;
        if (!writeListFile(list, listPath) || !readListFile(back, listPath)) state.SkipWithError("list file failed");
        throughList += Clock::now() - start;
        start = Clock::now();
        std::optional<std::string> read;
        if (!platform::writeFileAtomically(plainPath, bytes) || !(read = platform::readFile(plainPath)))
            state.SkipWithError("plain I/O failed");
        benchmark::DoNotOptimize(read->data());
        plain += Clock::now() - start;
    }
    std::remove(listPath.c_str());
    std::remove(plainPath.c_str());
    state.counters["listfile_io_vs_plain"] = double(throughList.count()) / double(plain.count());
}

constexpr unsigned kAllFolding = platform::kMatchIgnoreCase | platform::kMatchIgnoreWidth |
                                 platform::kMatchIgnoreKanaType | platform::kMatchIgnoreNonSpace;

void searchAll(benchmark::State& state) {
    CatalogList list = bigCatalog();
    Clock::duration spent{};
    int matches = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (const CatalogRow& row : list.rows)
            for (std::string_view cell : row.cells) matches += platform::matchText("ｶﾅかな", cell, kAllFolding);
        spent += Clock::now() - start;
    }
    benchmark::DoNotOptimize(matches);
    state.counters["search_all_ms"] = std::chrono::duration<double, std::milli>(spent).count() / double(state.iterations());
}

void replaceAll(benchmark::State& state) {
    CatalogList list = bigCatalog();
    Clock::duration spent{};
    for (auto _ : state) {
        CatalogList copy = list;
        auto start = Clock::now();
        int rows = 0;
        std::string text;
        for (CatalogRow& row : copy.rows) {
            bool rowReplaced = false;
            for (std::size_t p = 0; p < row.cells.size(); ++p) {
                const bool replaced =
                    platform::replaceInText("abc", row.cells[p], "エービーシー", kAllFolding, text);
                if (replaced) row.cells.set(p, text);
                rowReplaced |= replaced;
            }
            rows += rowReplaced;
        }
        spent += Clock::now() - start;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["replace_all_ms"] = std::chrono::duration<double, std::milli>(spent).count() / double(state.iterations());
}

} // namespace

BENCHMARK(listFileIo)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(searchAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(replaceAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
