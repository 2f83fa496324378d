#include "support/scratch_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <system_error>

namespace lyr::test {

ScratchFolder::ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("lyr-") + (info ? info->name() : "test");
    for (char& c : name)
        if (c == '/') c = '_';
    std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) path_ = pattern;
    EXPECT_FALSE(path_.empty()) << "no temporary folder";
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    // A test may have taken the owner's rights away to see a write fail.
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

}  // namespace lyr::test
