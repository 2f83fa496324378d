#include "document/waveform_file_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace lyr::document::wavefile {

namespace {

IoSeam* g_seam = nullptr;

// One read or write call moves at most this much; Linux caps a call near 2 GB.
constexpr std::size_t kMaxChunk = std::size_t(1) << 30;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Writes all n bytes at the file's position; false on any failure.
bool writeAll(int fd, const std::uint8_t* p, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t put = ::write(fd, p + done, std::min(n - done, kMaxChunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) return false;
        done += std::size_t(put);
    }
    return true;
}

// Copies everything from one file to another; the number of bytes copied,
// or nothing when a call failed.
bool copyAll(int from, int to, std::uint64_t& copied) {
    std::vector<std::uint8_t> buffer(std::size_t(1) << 20);
    copied = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!writeAll(to, buffer.data(), std::size_t(got))) return false;
        copied += std::uint64_t(got);
    }
}

std::string temporaryFolder() {
    std::error_code ec;
    const auto folder = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : folder.string();
}

}  // namespace

IoSeam* installIoSeam(IoSeam* seam) {
    IoSeam* previous = g_seam;
    g_seam = seam;
    return previous;
}

bool MemorySource::readExact(void* buffer, std::size_t n) {
    const std::size_t left = size_ - pos_;
    const std::size_t got = std::min(n, left);
    if (got > 0) std::memcpy(buffer, data_ + pos_, got);
    pos_ += got;
    return got == n;
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool InputFile::open(const std::string& path) {
    if (path.empty()) return false;
    // Non-blocking so that a named pipe cannot hang the program; only
    // regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = std::uint64_t(st.st_size);
    return true;
}

bool InputFile::readExact(void* buffer, std::size_t n) {
    if (fd_ < 0) return false;
    std::size_t want = n;
    if (g_seam) want = std::min(n, g_seam->allowRead(n));
    auto* p = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < want) {
        const ssize_t got = ::read(fd_, p + done, std::min(want - done, kMaxChunk));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;  // the file ended early
        done += std::size_t(got);
    }
    return done == n;
}

ReplacingFile::~ReplacingFile() { abandon(); }

bool ReplacingFile::abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    bool intact = true;
    if (!copy_.empty()) {
        // Only a target whose old bytes are back lets the copy go.
        if (restoreOldBytes()) {
            ::unlink(copy_.c_str());
        } else {
            keptCopy_ = copy_;
            intact = false;
        }
        copy_.clear();
    }
    return intact;
}

bool ReplacingFile::restoreOldBytes() {
    if (g_seam && g_seam->restoreFails()) return false;
    const int from = ::open(copy_.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return false;
    const int to = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    std::uint64_t copied = 0;
    const bool ok = to >= 0 && copyAll(from, to, copied) && copied == oldSize_ &&
                    ::ftruncate(to, off_t(oldSize_)) == 0 && ::fsync(to) == 0;
    ::close(from);
    return to >= 0 && ::close(to) == 0 && ok;
}

bool ReplacingFile::startInPlace() {
    const int from = ::open(target_.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return false;
    struct stat st {};
    std::string name = temporaryFolder() + "/lyr-saved-XXXXXX";
    const int to = ::fstat(from, &st) == 0 ? ::mkostemp(name.data(), O_CLOEXEC) : -1;
    std::uint64_t copied = 0;
    bool ok = to >= 0 && copyAll(from, to, copied) && copied == std::uint64_t(st.st_size) &&
              !(g_seam && g_seam->backupFails()) && ::fsync(to) == 0;
    ::close(from);
    if (to >= 0) {
        ok = ::close(to) == 0 && ok;
        if (!ok) ::unlink(name.c_str());
    }
    if (!ok) return false;
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        ::unlink(name.c_str());
        return false;
    }
    fd_ = fd;
    copy_ = std::move(name);
    oldSize_ = copied;
    inPlace_ = true;
    return true;
}

bool ReplacingFile::create(const std::string& path) {
    abandon();
    inPlace_ = false;
    keptCopy_.clear();
    written_ = 0;
    if (path.empty()) return false;
    target_ = path;
    // Saving through a link replaces the file it names, not the link.
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) target_ = resolved;
    }
    mode_t mode = 0666;  // narrowed by the umask for a new file
    bool replacing = false;
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        // A file this user may not write is refused as the old in-place
        // write would have been.
        if (!S_ISREG(st.st_mode) || ::access(target_.c_str(), W_OK) != 0) return false;
        mode = st.st_mode & 07777;
        replacing = true;
    }
    // A short name, so that a target whose name is near the length limit
    // still gets its temporary file.
    const std::string base = folderOf(target_) + "/.~lyr" + std::to_string(::getpid()) + "-";
    const bool refused = g_seam && g_seam->folderRefusesNewFile();
    for (int attempt = 0; attempt < 100 && !refused; ++attempt) {
        std::string name = base + std::to_string(attempt) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(name);
            if (replacing) {
                // The replaced file keeps its permissions and, where allowed, its owner.
                ::fchmod(fd_, mode);
                if (::fchown(fd_, st.st_uid, st.st_gid) != 0) { /* not allowed: keep ours */ }
            }
            return true;
        }
        if (errno != EEXIST) break;
    }
    // The folder takes no new file: a writable file that exists can still be
    // rewritten where it is.
    return replacing && startInPlace();
}

bool ReplacingFile::write(const void* data, std::size_t n) {
    if (fd_ < 0) return false;
    std::size_t allowed = n;
    if (g_seam) allowed = std::min(n, g_seam->allowWrite(n));
    if (!writeAll(fd_, static_cast<const std::uint8_t*>(data), allowed)) return false;
    written_ += allowed;
    return allowed == n;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) return false;
    // In place, a shorter new file must not keep the tail of the old one.
    if ((inPlace_ && ::ftruncate(fd_, off_t(written_)) != 0) || (g_seam && g_seam->flushFails()) ||
        ::fsync(fd_) != 0) {
        abandon();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        abandon();
        return false;
    }
    if (inPlace_) {
        ::unlink(copy_.c_str());
        copy_.clear();
        return true;
    }
    if ((g_seam && g_seam->renameFails()) || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        abandon();
        return false;
    }
    temp_.clear();
    // The file is complete under its name already; flushing the folder keeps
    // the rename through a power loss. Some file systems refuse to flush a
    // folder, which changes nothing about the saved file.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace lyr::document::wavefile
