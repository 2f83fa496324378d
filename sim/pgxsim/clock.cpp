#include "clock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace pgxsim {

std::int64_t SystemClock::nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void SystemClock::waitMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

namespace {

std::int64_t readValue(int fd) {
    char text[32] = {};
    const ssize_t n = pread(fd, text, sizeof text - 1, 0);
    return n > 0 ? std::strtoll(text, nullptr, 10) : 0;
}

}  // namespace

std::int64_t FileClock::nowNs() {
    const int fd = open(path_.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    flock(fd, LOCK_SH);
    const std::int64_t v = readValue(fd);
    flock(fd, LOCK_UN);
    close(fd);
    return v;
}

void FileClock::waitMs(std::uint32_t ms) {
    const int fd = open(path_.c_str(), O_RDWR | O_CREAT, 0644);
    if (fd < 0) return;
    flock(fd, LOCK_EX);
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%lld\n",
                                     static_cast<long long>(readValue(fd) + std::int64_t{ms} * 1000000));
    if (ftruncate(fd, 0) == 0 && pwrite(fd, text, static_cast<std::size_t>(length), 0) != length) {
        // Nothing else to do: the clock simply did not move.
    }
    flock(fd, LOCK_UN);
    close(fd);
}

}  // namespace pgxsim
