// hostile_suite_test.cpp - every hostile file opened through the real loader
// in a child process of its own, as a new user would meet it: each must give
// a picture or the loading error text, and never crash, hang, or ask for
// memory it cannot have.
//
// The child (hostile_loader) runs under an address-space limit of 1.5 GiB,
// and any allocation that fails ends it (see hostile_loader.cpp). Its peak
// memory must stay within the 24-bit size of the picture it shows plus 300
// MiB, or within 300 MiB for a file refused.
//
// Under AddressSanitizer the address-space limit cannot be used (the
// sanitizer reserves terabytes of address space for its shadow), and its
// shadow and quarantine inflate the peak: there the child runs with
// sanitizer options that stand in for the limit instead: one allocation of
// more than 1.5 GiB, or a resident size past 2 GiB, ends it with a report.
// The peak is checked only in the build without the sanitizer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <string>

#include "hostile/hostile_files.h"
#include "support/temp_folder.h"

namespace {

constexpr rlim_t kAddressSpace = rlim_t{3} << 29; // 1.5 GiB
constexpr std::chrono::seconds kTimeout{60};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct Outcome {
    std::string output; // the child's standard output
    int status = 0;     // as waitpid reports it
    bool timedOut = false;
    long peakKiB = 0;
};

// Runs the loader on `path` and waits for it, at most kTimeout.
Outcome runLoader(const std::string& path) {
    Outcome outcome;
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return outcome;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        if (kSanitized) {
            const char* inherited = std::getenv("ASAN_OPTIONS");
            std::string options = inherited ? std::string(inherited) + ":" : std::string();
            options += "allocator_may_return_null=0:max_allocation_size_mb=1536:"
                       "hard_rss_limit_mb=2048:quarantine_size_mb=16";
            ::setenv("ASAN_OPTIONS", options.c_str(), 1);
        } else {
            const rlimit limit{kAddressSpace, kAddressSpace};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        ::execl(VOXA_HOSTILE_LOADER, VOXA_HOSTILE_LOADER, VOXA_PLUGIN_DIR, path.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    char chunk[256];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{out[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, int(left.count())) == 0) {
            outcome.timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        const ssize_t got = ::read(out[0], chunk, sizeof chunk);
        if (got <= 0) break; // the child is done and closed its end
        outcome.output.append(chunk, size_t(got));
    }
    ::close(out[0]);
    rusage usage{};
    ::wait4(child, &outcome.status, 0, &usage);
    outcome.peakKiB = usage.ru_maxrss;
    return outcome;
}

class HostileFiles : public ::testing::TestWithParam<hostile::HostileFile> {};

} // namespace

namespace hostile {
// A file is known by its name in test names and messages.
void PrintTo(const HostileFile& file, std::ostream* out) {
    *out << file.name;
}
} // namespace hostile

TEST_P(HostileFiles, GiveAPictureOrTheErrorTextWithinTheirBudget) {
    const hostile::HostileFile& file = GetParam();
    testing_support::TempFolder folder;
    ASSERT_TRUE(hostile::writeHostileFile(folder.path(), file));
    const Outcome outcome = runLoader(folder / file.name);
    ASSERT_FALSE(outcome.timedOut) << "the loader hung";
    ASSERT_TRUE(WIFEXITED(outcome.status)) << "the loader died of signal " << WTERMSIG(outcome.status);
    ASSERT_EQ(WEXITSTATUS(outcome.status), 0) << "exit status (86: an allocation failed)";
    std::uint64_t budgetMiB = std::uint64_t(file.budgetMiB);
    if (file.width) {
        EXPECT_EQ(outcome.output, "picture " + std::to_string(file.width) + " " +
                                      std::to_string(file.height) + "\n");
        const std::uint64_t stride = (std::uint64_t(file.width) * 3 + 3) & ~std::uint64_t{3};
        budgetMiB += (stride * std::uint64_t(file.height)) >> 20;
    } else {
        EXPECT_EQ(outcome.output, "error " + file.errorText + "\n");
    }
    if (!kSanitized) {
        EXPECT_LE(std::uint64_t(outcome.peakKiB), budgetMiB << 10) << "peak KiB";
    }
}

INSTANTIATE_TEST_SUITE_P(Suite, HostileFiles, ::testing::ValuesIn(hostile::hostileFiles()),
                         [](const ::testing::TestParamInfo<hostile::HostileFile>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
