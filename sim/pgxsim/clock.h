#pragma once
// The simulated unit's sense of time. A repeat run ends after its playing
// time on this clock, and a read that waits for a reply that does not come
// waits on it, so a test that drives the clock never waits for real time.
#include <cstdint>
#include <string>

namespace pgxsim {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowNs() = 0;
    // A read waiting out its timeout.
    virtual void waitMs(std::uint32_t ms) = 0;
};

// Wall-clock time, so that separate processes sharing one state file agree.
class SystemClock final : public Clock {
public:
    std::int64_t nowNs() override;
    void waitMs(std::uint32_t ms) override;
};

// Time that moves only when told to; a wait moves it by the wait.
class ManualClock final : public Clock {
public:
    std::int64_t nowNs() override { return now_; }
    void waitMs(std::uint32_t ms) override { now_ += std::int64_t{ms} * 1000000; }
    void advanceNs(std::int64_t ns) { now_ += ns; }
    void setNs(std::int64_t ns) { now_ = ns; }

private:
    std::int64_t now_ = 0;
};

// Time kept as decimal nanoseconds in a file that tests write, shared by every
// process that names it; a wait adds to it. A missing or unreadable file is 0.
class FileClock final : public Clock {
public:
    explicit FileClock(std::string path) : path_(std::move(path)) {}
    std::int64_t nowNs() override;
    void waitMs(std::uint32_t ms) override;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace pgxsim
