#include "device/device_worker.h"

namespace lyr::device {

void InlineExecutor::post(Task work, Task done) {
    if (work) work();
    if (done) done();
}

DeviceWorker::DeviceWorker(std::function<void(Task)> toOwner)
    : toOwner_(std::move(toOwner)), thread_([this] { run(); }) {}

DeviceWorker::~DeviceWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DeviceWorker::post(Task work, Task done) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.emplace_back(std::move(work), std::move(done));
    }
    wake_.notify_one();
}

void DeviceWorker::drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void DeviceWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and nothing left to do
        auto [work, done] = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        if (work) work();
        if (done) toOwner_(std::move(done));
        lock.lock();
        busy_ = false;
        if (queue_.empty()) idle_.notify_all();
    }
}

}  // namespace lyr::device
