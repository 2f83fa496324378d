// The output window's device work off the caller's thread: polls and commands
// in order with at most one poll in flight, the transfer's progress and its
// cancellation, and closing while the unit is being written. The executor is
// the inline one, a queue the test runs step by step, or the real worker
// held at a chunk by the test; nothing waits for time.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "device/device_worker.h"
#include "device/output_window.h"
#include "pgxsim/environment.h"
#include "simulated_unit.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::device {
namespace {

class SteppedTimer : public PollTimer {
public:
    void start(int intervalMs) override {
        running = true;
        interval = intervalMs;
    }
    void stop() override { running = false; }
    bool running = false;
    int interval = 0;
};

// The worker's part played by the test: work waits in a queue until run,
// and what it sends back waits until delivered.
class QueuedExecutor : public DeviceExecutor {
public:
    void post(Task work, Task done) override { work_.emplace_back(std::move(work), std::move(done)); }
    void deliver(Task call) override { back_.push_back(std::move(call)); }
    void drain() override {
        while (!work_.empty()) runWork();
    }
    void runWork() {
        auto [work, done] = std::move(work_.front());
        work_.pop_front();
        if (work) work();
        if (done) back_.push_back(std::move(done));
    }
    void deliverAll() {
        while (!back_.empty()) {
            Task call = std::move(back_.front());
            back_.pop_front();
            call();
        }
    }
    void runAll() {
        while (!work_.empty() || !back_.empty()) {
            drain();
            deliverAll();
        }
    }
    std::size_t waiting() const { return work_.size(); }

private:
    std::deque<std::pair<Task, Task>> work_;
    std::deque<Task> back_;
};

// Sampling time 83,886,080 ns: a repeat run lasts minutes on the unit's clock.
constexpr std::int64_t kSlowTs = 83886080;
// Three chunks: 100000, 100000 and 40000 bytes.
constexpr std::uint32_t kSamples = 120000;

class OutputWorker : public ::testing::Test {
protected:
    void SetUp() override { doc_ = test::newDoc(kSlowTs, kSamples); }
    void TearDown() override { form_.reset(); }

    OutputWindowForm& open(DeviceExecutor* executor = nullptr) {
        form_ = std::make_unique<OutputWindowForm>(unit_.api(), timer_, prompter_, nullptr, executor);
        form_->changed = [this] {
            if (form_->transferring() && (progress_.empty() || progress_.back() != form_->progressBytes()))
                progress_.push_back(form_->progressBytes());
            if (onChange) onChange(*form_);
        };
        EXPECT_TRUE(form_->open(openingFor(*doc_, {}, {}, "test.lyr")));
        return *form_;
    }
    void fault(const char* text) { unit_.model.setFaults(pgxsim::parseFaults(text)); }
    std::string lastMessage() const { return prompter_.asked.empty() ? "" : prompter_.asked.back().text; }
    long eventCount(const std::string& prefix) const {
        return std::count_if(unit_.model.events.begin(), unit_.model.events.end(),
                             [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }

    test::SimulatedUnit unit_;
    SteppedTimer timer_;
    test::ScriptedPrompter prompter_;
    std::unique_ptr<document::CSYNDoc> doc_;
    QueuedExecutor queue_;  // outlives the form, which waits for it when it goes
    std::unique_ptr<OutputWindowForm> form_;
    std::vector<std::uint32_t> progress_;
    std::function<void(OutputWindowForm&)> onChange;
};

TEST_F(OutputWorker, TransferShowsItsProgressAndTheUnitHoldsTheData) {
    for (std::uint32_t i = 0; i < kSamples; ++i) doc_->analog()[i] = (i % 2000) / 1000.0 - 1.0;
    OutputWindowForm& f = open();
    unit_.forget();
    f.transfer();
    EXPECT_EQ(progress_, (std::vector<std::uint32_t>{0, 100000, 200000, 240000}));
    EXPECT_EQ(std::tuple(f.progressBytes(), f.progressTotal(), f.transferring()), std::tuple(240000u, 240000u, false));
    EXPECT_TRUE(prompter_.asked.empty()) << lastMessage();
    f.timerTick();
    EXPECT_EQ(f.statusLine(), "PGX-500 レディ");
    // What the unit holds is what the protocol builds from the document.
    std::vector<std::uint16_t> words(kSamples);
    SampleTracks tracks = openingFor(*doc_, {}, {}, "").tracks;
    buildSampleWords(tracks, kSamples, 12, Calibration{7000.0, 8000.0}, words.data());
    const pgxsim::DeviceRecord& r = unit_.model.record(0);
    EXPECT_EQ(r.loadedWords, kSamples);
    EXPECT_TRUE(std::equal(words.begin(), words.end(), r.samples));
    EXPECT_EQ(r.registers[REG_DATA_VALID], 1);
}

// "中止" after chunk k: the load stops before the next chunk, register 9 is
// never set, and the next poll shows the unit as not set up. After the last
// chunk there is nothing left to stop.
TEST_F(OutputWorker, CancelStopsBetweenChunksAndLeavesTheUnitNotSetUp) {
    struct Case {
        std::uint32_t cancelAt;  // bytes sent when "中止" is pressed
        long chunks;
        const char* message;
        const char* status;
    };
    const Case cases[] = {
        {100000, 1, kTransferCancelledMessage, "PGX-500 未設定"},
        {200000, 2, kTransferCancelledMessage, "PGX-500 未設定"},
        {240000, 3, "", "PGX-500 レディ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cancelAt);
        OutputWindowForm& f = open();
        prompter_.asked.clear();
        unit_.forget();
        onChange = [&](OutputWindowForm& form) {
            if (form.transferring() && form.progressBytes() == c.cancelAt) form.cancelTransfer();
        };
        f.transfer();
        onChange = nullptr;
        EXPECT_EQ(lastMessage(), c.message);
        EXPECT_EQ(eventCount("RAW"), c.chunks);
        EXPECT_EQ(eventCount("W9=0001"), c.message[0] ? 0 : 1);
        EXPECT_FALSE(f.transferring() || f.cancelRequested());
        f.timerTick();
        EXPECT_EQ(f.statusLine(), c.status);
        EXPECT_TRUE(f.buttons().transferEnabled);
        // The unit takes the next transfer whole.
        f.transfer();
        f.timerTick();
        EXPECT_EQ(f.statusLine(), "PGX-500 レディ");
        EXPECT_EQ(unit_.model.record(0).loadedWords, kSamples);
        form_.reset();
    }
}

TEST_F(OutputWorker, AFailedStopHasItsMessage) {
    OutputWindowForm& f = open();
    f.transfer();
    f.timerTick();
    f.startStop();
    f.timerTick();
    ASSERT_EQ(std::tuple(f.statusLine(), f.buttons().startLabelIsStart), std::tuple("PGX-500 動作中", false));
    fault("timeout");
    f.startStop();
    EXPECT_EQ(lastMessage(), kStopFailedMessage);
    EXPECT_FALSE(f.deviceOpen());
}

// The window's calls return without touching the library; the work runs when
// the executor gets to it, one poll at a time, and the period starts again
// from the end of each poll.
TEST_F(OutputWorker, OnePollInFlightAndNothingBlocksTheCaller) {
    QueuedExecutor& worker = queue_;
    OutputWindowForm& f = open(&worker);
    EXPECT_TRUE(unit_.model.calls.empty());
    EXPECT_EQ(f.statusLine(), "");
    worker.runAll();
    EXPECT_EQ(f.statusLine(), "PGX-500 未設定");
    ASSERT_TRUE(timer_.running);

    f.timerTick();
    f.timerTick();
    f.pollDevice();
    EXPECT_EQ(worker.waiting(), 1u);
    EXPECT_FALSE(timer_.running);  // until the poll is back
    worker.runAll();
    EXPECT_EQ(std::tuple(timer_.running, timer_.interval), std::tuple(true, POLL_INTERVAL_MS));

    // A silent unit: every read waits out its timeout on the worker's side.
    fault("timeout");
    unit_.forget();
    f.timerTick();
    EXPECT_TRUE(unit_.model.calls.empty());
    worker.runAll();
    EXPECT_EQ(f.statusLine(), "PGX-500 未接続");
}

// A command asked for while a poll is out waits behind it; the poll's result
// does not overwrite the command's status, and the command's end starts the timer.
TEST_F(OutputWorker, ACommandQueuesBehindThePollInFlight) {
    QueuedExecutor& worker = queue_;
    OutputWindowForm& f = open(&worker);
    worker.runAll();
    f.timerTick();
    f.transfer();
    EXPECT_EQ(f.statusLine(), "PGX-500 転送中");
    EXPECT_FALSE(f.buttons().transferEnabled || f.buttons().startStopEnabled || f.buttons().forceStopEnabled);
    worker.runWork();  // the poll
    worker.deliverAll();
    EXPECT_EQ(f.statusLine(), "PGX-500 転送中");
    EXPECT_FALSE(timer_.running);
    f.transfer();  // a second click does nothing while the first runs
    worker.runAll();
    EXPECT_EQ(progress_.back(), 2 * kSamples);
    EXPECT_EQ(eventCount("W0=0010"), 1);
    EXPECT_TRUE(timer_.running);
    f.timerTick();
    worker.runAll();
    EXPECT_EQ(f.statusLine(), "PGX-500 レディ");
}

// A unit that stops answering for 20 polls: each poll shows it as not
// connected and lets it go; the first poll after it answers again shows its
// state, reached through a fresh handle.
TEST_F(OutputWorker, ASilentUnitIsNotConnectedUntilItAnswersAgain) {
    QueuedExecutor& worker = queue_;
    OutputWindowForm& f = open(&worker);
    worker.runAll();
    f.transfer();
    worker.runAll();
    f.timerTick();
    worker.runAll();
    ASSERT_EQ(f.statusLine(), "PGX-500 レディ");
    fault("timeout");
    unit_.forget();
    for (int poll = 0; poll < 20; ++poll) {
        f.timerTick();
        EXPECT_EQ(worker.waiting(), 1u);
        worker.runAll();
        EXPECT_EQ(f.statusLine(), "PGX-500 未接続") << poll;
        EXPECT_EQ(f.buttons(), (ButtonState{true, false, false, false})) << poll;
        EXPECT_FALSE(f.deviceSettingsShown() || f.deviceOpen());
        EXPECT_TRUE(timer_.running);
    }
    EXPECT_EQ(std::count(unit_.model.calls.begin(), unit_.model.calls.end(), "FT_Close"), 20);
    unit_.model.setFaults({});
    f.timerTick();
    worker.runAll();
    EXPECT_EQ(std::tuple(f.statusLine(), f.version()), std::tuple("PGX-500 レディ", "Ver.3"));
    EXPECT_TRUE(f.deviceSettingsShown() && f.buttons().transferEnabled);
}

// The real worker, held by the test in the middle of the second chunk:
// closing the window lets that chunk finish, sends nothing more, closes the
// handle and drops the results still on their way.
TEST_F(OutputWorker, ClosingDuringATransferWaitsForTheChunkInFlight) {
    struct Hold {
        std::mutex mutex;
        std::condition_variable cv;
        int chunks = 0;
        bool inFlight = false, released = false;
    };
    static Hold* hold = nullptr;
    static pgxsim::Model* model = nullptr;
    Hold h;
    hold = &h;
    model = &unit_.model;
    // The library as the worker sees it: FT_Write of the second chunk waits
    // until the test lets it go.
    D2xxApi api = unit_.api();
    api.write = [](FT_HANDLE handle, void* buffer, DWORD n, DWORD* written) -> FT_STATUS {
        if (n == 2 * MAX_CHUNK_WORDS) {
            std::unique_lock<std::mutex> lock(hold->mutex);
            if (++hold->chunks == 2) {
                hold->inFlight = true;
                hold->cv.notify_all();
                hold->cv.wait(lock, [] { return hold->released; });
            }
        }
        return model->write(handle, buffer, n, written);
    };
    // Calls back wait here until the test takes them.
    std::mutex backMutex;
    std::deque<DeviceExecutor::Task> back;
    auto takeBack = [&] {
        std::deque<DeviceExecutor::Task> calls;
        {
            std::lock_guard<std::mutex> lock(backMutex);
            calls.swap(back);
        }
        for (auto& c : calls) c();
        return !calls.empty();
    };
    DeviceWorker thread([&](DeviceExecutor::Task call) {
        std::lock_guard<std::mutex> lock(backMutex);
        back.push_back(std::move(call));
    });
    // Waiting for the worker lets the held chunk go first, as the unit would.
    struct Releasing : DeviceExecutor {
        DeviceWorker& worker;
        explicit Releasing(DeviceWorker& w) : worker(w) {}
        void post(Task work, Task done) override { worker.post(std::move(work), std::move(done)); }
        void deliver(Task call) override { worker.deliver(std::move(call)); }
        void drain() override {
            {
                std::lock_guard<std::mutex> lock(hold->mutex);
                hold->released = true;
            }
            hold->cv.notify_all();
            worker.drain();
        }
    } executor(thread);

    auto f = std::make_unique<OutputWindowForm>(api, timer_, prompter_, nullptr, &executor);
    int changes = 0;
    f->changed = [&] { ++changes; };
    ASSERT_TRUE(f->open(openingFor(*doc_, {}, {}, "test.lyr")));
    thread.drain();
    takeBack();
    ASSERT_EQ(f->statusLine(), "PGX-500 未設定");
    f->transfer();
    // The first half comes back and posts the samples; the worker then
    // stops in the second chunk.
    thread.drain();
    ASSERT_TRUE(takeBack());
    {
        std::unique_lock<std::mutex> lock(h.mutex);
        h.cv.wait(lock, [&] { return h.inFlight; });
    }
    unit_.forget();
    f->close();
    EXPECT_FALSE(f->deviceOpen() || timer_.running || f->transferring());
    // The held chunk went out whole, then only the handle was closed.
    ASSERT_EQ(unit_.model.traffic.size(), 2u);
    EXPECT_EQ(std::tuple(unit_.model.traffic[0].tag, unit_.model.traffic[0].bytes.size()),
              std::tuple('W', std::size_t{2 * MAX_CHUNK_WORDS}));
    EXPECT_EQ(unit_.model.traffic[1].tag, 'C');
    EXPECT_EQ(unit_.model.record(0).registers[REG_DATA_VALID], 0);
    const int before = changes;
    takeBack();
    EXPECT_EQ(changes, before);
    EXPECT_TRUE(prompter_.asked.empty()) << lastMessage();
    f.reset();
    EXPECT_EQ(unit_.model.traffic.size(), 2u);
    hold = nullptr;
    model = nullptr;
}

// The worker's calls back, taken on the test's thread as they come.
class CallsBack {
public:
    void push(DeviceExecutor::Task call) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(std::move(call));
        }
        ready_.notify_one();
    }
    void until(const OutputWindowForm& form) {
        while (form.busy() || form.transferring()) {
            std::unique_lock<std::mutex> lock(mutex_);
            ready_.wait(lock, [this] { return !calls_.empty(); });
            DeviceExecutor::Task call = std::move(calls_.front());
            calls_.pop_front();
            lock.unlock();
            call();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<DeviceExecutor::Task> calls_;
};

// What reaches the unit through the worker is, byte for byte, what the
// synchronous upload sends (lyrtool's path).
TEST_F(OutputWorker, TheWorkerSendsWhatTheSynchronousUploadSends) {
    for (std::uint32_t i = 0; i < kSamples; ++i) doc_->analog()[i] = (i % 3000) / 1500.0 - 1.0;
    ASSERT_TRUE(doc_->setAnalogResolution(11));
    auto traffic = [this] {
        std::vector<std::pair<char, std::vector<std::uint8_t>>> t;
        for (const auto& e : unit_.model.traffic) t.emplace_back(e.tag, e.bytes);
        return t;
    };
    FT_HANDLE h = unit_.open();
    std::vector<std::uint16_t> words(kSamples);
    ASSERT_EQ(uploadWaveform(unit_.api(), h, doc_->outputSettings(), kSamples, doc_->samplingUnits(),
                             openingFor(*doc_, {}, {}, "").tracks, 11, words.data()),
              FT_OK);
    const auto synchronous = traffic();
    closeDevice(unit_.api(), h);

    CallsBack back;
    DeviceWorker worker([&back](DeviceExecutor::Task call) { back.push(std::move(call)); });
    OutputWindowForm f(unit_.api(), timer_, prompter_, nullptr, &worker);
    ASSERT_TRUE(f.open(openingFor(*doc_, {}, {}, "test.lyr")));
    back.until(f);
    unit_.forget();
    f.transfer();
    back.until(f);
    EXPECT_EQ(f.progressBytes(), 2 * kSamples);
    EXPECT_TRUE(prompter_.asked.empty()) << lastMessage();
    EXPECT_EQ(traffic(), synchronous);
    f.close();
}

TEST(DeviceWorkerThread, RunsWorkInOrderAndSendsEachResultBack) {
    std::mutex m;
    std::vector<std::string> seen;
    std::deque<DeviceExecutor::Task> back;
    {
        DeviceWorker worker([&](DeviceExecutor::Task call) {
            std::lock_guard<std::mutex> lock(m);
            back.push_back(std::move(call));
        });
        for (int i = 0; i < 3; ++i) {
            worker.post(
                [&, i] {
                    std::lock_guard<std::mutex> lock(m);
                    seen.push_back("work" + std::to_string(i));
                },
                [&, i] { seen.push_back("done" + std::to_string(i)); });
        }
        worker.drain();
        EXPECT_EQ(seen, (std::vector<std::string>{"work0", "work1", "work2"}));
        // Posted before the worker ends: run by it before it goes.
        worker.post([&] { seen.push_back("last"); }, nullptr);
    }
    for (auto& call : back) call();
    EXPECT_EQ(seen, (std::vector<std::string>{"work0", "work1", "work2", "last", "done0", "done1", "done2"}));
}

}  // namespace
}  // namespace lyr::device
