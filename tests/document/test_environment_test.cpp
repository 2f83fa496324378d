// ctest hands every test program all the variables its list sets, not only
// the first one (a list value once reached the tests cut to its first entry).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(TestEnvironment, EveryVariableOfTheListReachesTheTest) {
    if (!std::getenv("LYR_CTEST")) GTEST_SKIP() << "not run through ctest";
    const struct {
        const char* name;
        std::string expected;
    } variables[] = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"LYR_BINARY_DIR", LYR_BINARY_DIR},
    };
    for (const auto& v : variables) {
        const char* value = std::getenv(v.name);
        ASSERT_NE(value, nullptr) << v.name;
        EXPECT_EQ(value, v.expected) << v.name;
    }
}

}  // namespace
