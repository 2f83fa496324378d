#include "document/waveform_file_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

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

ReplacingFile::~ReplacingFile() { discard(); }

void ReplacingFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool ReplacingFile::create(const std::string& path) {
    discard();
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
    for (int attempt = 0; attempt < 100; ++attempt) {
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
        if (errno != EEXIST) return false;
    }
    return false;
}

bool ReplacingFile::write(const void* data, std::size_t n) {
    if (fd_ < 0) return false;
    std::size_t allowed = n;
    if (g_seam) allowed = std::min(n, g_seam->allowWrite(n));
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < allowed) {
        const ssize_t put = ::write(fd_, p + done, std::min(allowed - done, kMaxChunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) return false;
        done += std::size_t(put);
    }
    return done == n;
}

bool ReplacingFile::commit() {
    if (fd_ < 0) return false;
    if ((g_seam && g_seam->flushFails()) || ::fsync(fd_) != 0) {
        discard();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        discard();
        return false;
    }
    if ((g_seam && g_seam->renameFails()) || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        discard();
        return false;
    }
    // The folder itself is not flushed: should the machine lose power right
    // after this, the rename may be undone, but the folder then holds the
    // previous file whole, never a partial one.
    temp_.clear();
    return true;
}

}  // namespace lyr::document::wavefile
