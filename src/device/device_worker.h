#pragma once
// Where the device work of the output window runs. A D2XX call can block for
// the library's read or write timeout, so the window hands its device work to
// an executor: the inline one runs it at once on the caller's thread (tests,
// lyrtool-style synchronous use), DeviceWorker runs it on a thread of its own
// that alone touches the unit, and hands the results back to the caller's
// thread through a delivery function (a queued call in the widget layer).
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace lyr::device {

class DeviceExecutor {
public:
    using Task = std::function<void()>;
    virtual ~DeviceExecutor() = default;
    // Runs work on the device side, in the order posted; then done on the
    // posting thread. Work may call deliver() to send calls back meanwhile.
    virtual void post(Task work, Task done) = 0;
    // From inside work: runs call on the posting thread, in order.
    virtual void deliver(Task call) = 0;
    // Returns once every work posted so far has run; the done calls that are
    // still on their way come later (or never, when their receiver is gone).
    virtual void drain() = 0;
};

// Everything at once, on the caller's thread.
class InlineExecutor final : public DeviceExecutor {
public:
    void post(Task work, Task done) override;
    void deliver(Task call) override { call(); }
    void drain() override {}
};

class DeviceWorker final : public DeviceExecutor {
public:
    // toOwner queues a call to the owner's thread; it is called from the worker.
    explicit DeviceWorker(std::function<void(Task)> toOwner);
    // Finishes the work already posted, then ends the thread.
    ~DeviceWorker() override;
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    void post(Task work, Task done) override;
    void deliver(Task call) override { toOwner_(std::move(call)); }
    void drain() override;

private:
    void run();

    std::function<void(Task)> toOwner_;
    std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::pair<Task, Task>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace lyr::device
