#pragma once
// A temporary folder of the running test's own, removed with everything in it
// when the test ends.
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>

namespace lyr::test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string operator/(const std::string& name) const { return file(name); }
    // How many files and folders it holds.
    std::size_t entries() const {
        return std::size_t(std::distance(std::filesystem::directory_iterator(path_),
                                         std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path path_;
};

}  // namespace lyr::test
