#include "support/unprivileged.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace testing_support {

namespace {

constexpr uid_t kNobody = 65534;

void handOver(const std::string& folder) {
    namespace fs = std::filesystem;
    ::chown(folder.c_str(), kNobody, kNobody);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        ::chown(entry.path().c_str(), kNobody, kNobody);
}

} // namespace

void runUnprivileged(const std::string& folder, const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    handOver(folder);
    pid_t child = ::fork();
    ASSERT_GE(child, 0) << "fork failed";
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
        body();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged part failed";
}

} // namespace testing_support
