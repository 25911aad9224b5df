// Adding catalog entries, with the files made in a temporary folder at start.
//
//   statistics_vs_read  collectStatistics over a folder of 500 JPEG pages of
//                       2480 x 3508 (the full scan: sizes, sound or broken,
//                       widths and heights) as a ratio to reading every byte
//                       of the same files, both in the same iteration
//   add_tree_1000_ms    the catalog window's command that adds a folder tree,
//                       on a tree of 1000 folders of 5 small JPEG files, with
//                       every automatic column shown: the walk, the rows and
//                       their statistics, the list and the progress window
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalog/catalog_commands.h"
#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/modal.h"
#include "resources/catalog_ids.h"
#include "sample_book/picture_encoders.h"
#include "sources/entry_statistics.h"

#include "catalog_bench_window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsOf(Clock::duration spent) {
    return std::chrono::duration<double, std::milli>(spent).count();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed at the end.
struct BenchFolder {
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "voxa-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~BenchFolder() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
    fs::path path;
};

// Every byte of every file of `folder`, as a plain reader takes them in.
std::size_t readEveryByte(const std::string& folder, std::vector<char>& buffer) {
    std::size_t total = 0;
    const auto listing = platform::listFolder(folder);
    for (const platform::FolderEntry& entry :
         listing.value_or(std::vector<platform::FolderEntry>{})) {
        int fd = ::open(platform::joinPath(folder, entry.name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            total += std::size_t(got);
        ::close(fd);
    }
    return total;
}

void statisticsVsRead(benchmark::State& state) {
    BenchFolder folder;
    encoders::Picture page = encoders::makePattern(2480, 3508, 3, 19);
    const std::string jpeg = encoders::encodeJpeg(page, 85);
    for (int i = 0; i < 500; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%03d.jpg", i);
        writeBytes(folder.path / name, jpeg);
    }
    const std::string path = folder.path.string();
    std::vector<char> buffer(1 << 20);
    EntryStatistics record;
    readEveryByte(path, buffer); // both start from the page cache
    Clock::duration statistics{}, reading{};
    for (auto _ : state) {
        auto start = Clock::now();
        collectStatistics(path, kFullStatistics, record);
        auto middle = Clock::now();
        benchmark::DoNotOptimize(readEveryByte(path, buffer));
        reading += Clock::now() - middle;
        statistics += middle - start;
        if (record.jpegCount != 500 || record.jpegErrors != 0 || record.midX != 2480)
            state.SkipWithError("the statistics are wrong");
    }
    state.counters["statistics_vs_read"] = millisecondsOf(statistics) / millisecondsOf(reading);
}

// Title, Location and the thirteen automatic columns.
void showAutomaticColumns(CatalogList& list) {
    const int shown[] = {kColumnTitle,     kColumnLocation,    kColumnUpdated,    kColumnAdded,
                         kColumnCdName,    kColumnTotalFiles,  kColumnJpegCount,  kColumnJpegErrors,
                         kColumnTotalSize, kColumnAverageSize, kColumnMedianSize, kColumnAvgX,
                         kColumnAvgY,      kColumnMidX,        kColumnMidY};
    for (CatalogColumn& column : list.columns)
        column.displayPosition = -1;
    for (int p = 0; p < int(std::size(shown)); ++p)
        list.columns[std::size_t(shown[p])].displayPosition = p;
    list.visibleCount = int(std::size(shown));
    buildViewColumns(list);
}

void addTree(benchmark::State& state) {
    BenchFolder folder;
    const std::string small = encoders::encodeJpeg(encoders::makePattern(64, 90, 3, 5), 80);
    for (int group = 0; group < 10; ++group) {
        for (int book = 0; book < 100; ++book) {
            const fs::path books = folder.path / std::to_string(group) / std::to_string(book);
            fs::create_directories(books);
            for (int page = 0; page < 5; ++page)
                writeBytes(books / (std::to_string(page) + ".jpg"), small);
        }
    }
    BenchCatalogWindow under;
    showAutomaticColumns(under.catalog.list);
    const std::string root = folder.path.string();
    platform::setModalAnswerer([&](const platform::ModalRequest&) {
        return platform::ModalAnswer{platform::DialogResult::Ok, root, 0};
    });
    Clock::duration spent{};
    for (auto _ : state) {
        runCatalogCommand(under.catalog, listcmd::DeleteAll);
        platform::processPendingMessages();
        auto start = Clock::now();
        runCatalogCommand(under.catalog, listcmd::AddFolderTree);
        platform::processPendingMessages();
        spent += Clock::now() - start;
        if (under.catalog.list.rows.size() != 1000) state.SkipWithError("the tree was not added");
    }
    platform::setModalAnswerer({});
    state.counters["add_tree_1000_ms"] = millisecondsOf(spent) / double(state.iterations());
}

} // namespace

BENCHMARK(statisticsVsRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(addTree)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    return runBenchmarksWithApplication(argc, argv);
}
