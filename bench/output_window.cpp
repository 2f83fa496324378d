// One poll of the output window (status, repeat count and settings read from
// the simulated unit, state and buttons derived) beside its baseline, the
// same three 6-byte exchanges sent straight through FT_Write/FT_Read:
//   BM_OutputPoll / BM_ThreeRawExchanges
// "period_pct" is one poll's wall-clock time in percent of the 100 ms period.
// The window's whole transfer of 1,048,576 samples through its device worker
// beside the same transfer run on the caller's thread, as lyrtool runs it:
//   BM_TransferThroughWorker / BM_TransferOnCaller
// The simulator is LYR_D2XX_LIBRARY, else libpgxsim.so in the build tree.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_library.h"
#include "device/output_window.h"

namespace {

using namespace lyr::device;

std::string simulatorPath() {
    if (const char* v = std::getenv(kLibraryVariable)) return v;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "libpgxsim.so";
    for (auto dir = exe.parent_path(); !dir.empty() && dir != dir.root_path(); dir = dir.parent_path())
        if (std::filesystem::exists(dir / "libpgxsim.so")) return (dir / "libpgxsim.so").string();
    return "libpgxsim.so";
}

struct IdleTimer : PollTimer {
    void start(int) override {}
    void stop() override {}
};

struct Silent : lyr::Prompter {
    lyr::PromptAnswer ask(const std::string&, lyr::PromptButtons, lyr::PromptIcon) override {
        return lyr::PromptAnswer::Ok;
    }
};

bool bindSimulator(DeviceLibrary& library) {
    unsetenv("PGXSIM_STATE");
    unsetenv("PGXSIM_LOG");
    unsetenv("PGXSIM_FAULT");
    return library.bind(simulatorPath());
}

// Runs the loop body timing it on the wall clock, and reports the share.
template <class Body>
void timedLoop(benchmark::State& state, Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    if (state.iterations() > 0)
        state.counters["period_pct"] = 100.0 * spent.count() / static_cast<double>(state.iterations()) / POLL_INTERVAL_MS;
}

void BM_OutputPoll(benchmark::State& state) {
    DeviceLibrary library;
    IdleTimer timer;
    Silent prompter;
    if (!bindSimulator(library)) {
        state.SkipWithError("libpgxsim.so not found (build target pgxsim or set LYR_D2XX_LIBRARY)");
        return;
    }
    OutputWindowForm form(library.api(), timer, prompter);
    if (!form.open(OutputOpening{}) || !form.deviceOpen()) {
        state.SkipWithError("the simulated unit did not open");
        return;
    }
    timedLoop(state, [&] { form.pollDevice(); });
    if (form.lastStatusKind() != StatusNotSetUp) state.SkipWithError("the poll did not reach the unit");
}
BENCHMARK(BM_OutputPoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ThreeRawExchanges(benchmark::State& state) {
    DeviceLibrary library;
    FT_HANDLE h = nullptr;
    if (!bindSimulator(library) || openDevice(library.api(), nullptr, h) != FT_OK) {
        state.SkipWithError("libpgxsim.so not found (build target pgxsim or set LYR_D2XX_LIBRARY)");
        return;
    }
    const D2xxApi& api = library.api();
    const Frame frames[3] = {readFrame(REG_STATUS), readFrame(REG_REPEAT), readFrame(REG_CONFIG)};
    Frame reply{};
    timedLoop(state, [&] {
        for (const Frame& f : frames) {
            DWORD n = 0;
            api.write(h, const_cast<std::uint8_t*>(f.data()), 6, &n);
            api.read(h, reply.data(), 6, &n);
        }
        benchmark::DoNotOptimize(reply);
    });
    closeDevice(api, h);
}
BENCHMARK(BM_ThreeRawExchanges)->Unit(benchmark::kMicrosecond)->UseRealTime();

constexpr std::uint32_t kN = lyr::document::kMaxSamples;

struct Waveform {
    std::vector<double> analog = std::vector<double>(kN);
    std::vector<std::uint8_t> digital = std::vector<std::uint8_t>(kN);
    OutputOpening opening;
    Waveform() {
        for (std::uint32_t i = 0; i < kN; ++i) {
            analog[i] = 1.1 * std::sin(i * 0.001);
            digital[i] = (i >> 3) & 1;
        }
        opening.hasWaveform = true;
        opening.sampleCount = kN;
        opening.samplingUnits = 1;
        opening.tracks.analog = analog.data();
        opening.tracks.digital[0] = digital.data();
        opening.settings.repeatCount = 1;
    }
};

// The owner's side of the worker: its calls back wait here for this thread.
class CallsBack {
public:
    void push(DeviceExecutor::Task call) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            calls_.push_back(std::move(call));
        }
        ready_.notify_one();
    }
    // Runs the calls back as they come until the form has nothing on its way.
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

void transferBenchmark(benchmark::State& state, bool onWorker) {
    DeviceLibrary library;
    IdleTimer timer;
    Silent prompter;
    if (!bindSimulator(library)) {
        state.SkipWithError("libpgxsim.so not found (build target pgxsim or set LYR_D2XX_LIBRARY)");
        return;
    }
    static Waveform wave;
    CallsBack back;
    DeviceWorker worker([&back](DeviceExecutor::Task call) { back.push(std::move(call)); });
    OutputWindowForm form(library.api(), timer, prompter, nullptr, onWorker ? &worker : nullptr);
    if (!form.open(wave.opening)) {
        state.SkipWithError("the window did not open");
        return;
    }
    back.until(form);
    if (!form.deviceOpen()) {
        state.SkipWithError("the simulated unit did not open");
        return;
    }
    for (auto _ : state) {
        form.transfer();
        back.until(form);
        if (form.progressBytes() != 2 * kN || !form.deviceOpen()) state.SkipWithError("the transfer failed");
    }
    state.SetBytesProcessed(state.iterations() * 2 * static_cast<std::int64_t>(kN));
    form.close();
}

void BM_TransferThroughWorker(benchmark::State& state) { transferBenchmark(state, true); }
void BM_TransferOnCaller(benchmark::State& state) { transferBenchmark(state, false); }
BENCHMARK(BM_TransferOnCaller)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TransferThroughWorker)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TransferOnCaller)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TransferThroughWorker)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
