#include "support/scratch_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <system_error>

namespace lyr::test {

ScratchDir::ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("lyr-") + (info ? info->name() : "test");
    for (char& c : name)
        if (c == '/') c = '_';
    std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    EXPECT_FALSE(path_.empty()) << "no temporary folder";
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace lyr::test
