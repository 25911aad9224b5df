#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

TEST(SharedLibrary, LoadsFindsAndUnloads) {
    LibraryHandle library = loadLibrary("libm.so.6");
    ASSERT_NE(library, nullptr);
    auto cosine = reinterpret_cast<double (*)(double)>(findFunction(library, "cos"));
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(findFunction(library, "NoSuchFunction"), nullptr);
    freeLibrary(library);
}

TEST(SharedLibrary, MissingOrBrokenLibrariesGiveNull) {
    EXPECT_EQ(loadLibrary("/nonexistent/plugin.spi"), nullptr);
    EXPECT_EQ(loadLibrary("/etc/hostname"), nullptr);
    EXPECT_EQ(findFunction(nullptr, "cos"), nullptr);
    freeLibrary(nullptr);
}
