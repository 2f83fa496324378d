// Saving and opening a 1,048,576-sample waveform file, each beside a plain
// write or read of the same 9,442,304 bytes in the same run, and the open
// and the read in turns. The plain write
// is flushed to the disk as the save is, so both pay the same for durability.
// At the end the ratios are printed.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "document/waveform_file.h"

namespace {

using namespace lyr::document;
namespace wf = lyr::document::wavefile;

constexpr std::uint32_t kSamples = 1048576;
const std::size_t kFileBytes = wf::currentFileSize(kSamples);

std::string scratch(const char* name) {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("lyr-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return (folder / name).string();
}

CSYNDoc& document() {
    static std::unique_ptr<CSYNDoc> doc = [] {
        std::string message;
        auto d = CSYNDoc::create(message);
        d->newWaveform(10, kSamples);
        for (std::uint32_t i = 0; i < kSamples; ++i) {
            d->analog()[i] = std::sin(i * 0.001);
            for (int k = 0; k < 8; ++k) d->digital(k)[i] = std::uint8_t((i >> k) & 1);
        }
        return d;
    }();
    return *doc;
}

std::vector<std::uint8_t>& plainBytes() {
    static std::vector<std::uint8_t> bytes(kFileBytes, 0x5A);
    return bytes;
}

void plainWrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
    ::fsync(fd);
    ::close(fd);
}

void plainRead(const std::string& path, std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    ::fstat(fd, &st);
    std::size_t done = 0;
    while (done < std::size_t(st.st_size)) {
        const ssize_t n = ::read(fd, bytes.data() + done, std::size_t(st.st_size) - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
    ::close(fd);
}

void BM_PlainWrite(benchmark::State& state) {
    const std::string path = scratch("plain.bin");
    for (auto _ : state) plainWrite(path, plainBytes());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFileBytes));
}

void BM_Save(benchmark::State& state) {
    const std::string path = scratch("saved.lyr");
    CSYNDoc& doc = document();
    const StoredExtras extras;
    for (auto _ : state) {
        const SaveResult r = saveWaveformFile(path, doc, extras);
        if (!r.ok) state.SkipWithError(r.message.c_str());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFileBytes));
}

void BM_PlainRead(benchmark::State& state) {
    const std::string path = scratch("plain.bin");
    plainWrite(path, plainBytes());
    std::vector<std::uint8_t> buffer(kFileBytes);
    for (auto _ : state) {
        plainRead(path, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFileBytes));
}

// The section reader into the caller's buffers (as the editors use it).
void BM_ReadSections(benchmark::State& state) {
    const std::string path = scratch("saved.lyr");
    saveWaveformFile(path, document(), {});
    wf::WaveformFileContents contents;
    for (auto _ : state) {
        const wf::FileResult r = wf::readWaveformFile(path, wf::kFormatVersion, contents);
        if (!r.ok) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(contents.analog.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFileBytes));
}

// A whole open: read and check everything, then import and unpack into the
// document's tracks.
void BM_Open(benchmark::State& state) {
    const std::string path = scratch("saved.lyr");
    saveWaveformFile(path, document(), {});
    std::string message;
    auto doc = CSYNDoc::create(message);
    StoredExtras extras;
    for (auto _ : state) {
        const OpenResult r = openWaveformFile(path, *doc, extras);
        if (!r.ok) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(doc->analog());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFileBytes));
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// The open and the plain read in turns, so that both see the same load on a
// shared machine; "ratio" is the median of the pairs' thread times (kernel
// copies included).
void BM_OpenAgainstRead(benchmark::State& state) {
    const std::string plain = scratch("plain.bin");
    plainWrite(plain, plainBytes());
    const std::string path = scratch("saved.lyr");
    saveWaveformFile(path, document(), {});
    std::vector<std::uint8_t> buffer(kFileBytes);
    std::string message;
    auto doc = CSYNDoc::create(message);
    StoredExtras extras;
    std::vector<double> ratios;
    for (auto _ : state) {
        const double t0 = threadSeconds();
        plainRead(plain, buffer);
        benchmark::DoNotOptimize(buffer.data());
        const double t1 = threadSeconds();
        const OpenResult r = openWaveformFile(path, *doc, extras);
        if (!r.ok) state.SkipWithError(r.message.c_str());
        benchmark::DoNotOptimize(doc->analog());
        const double t2 = threadSeconds();
        if (t1 > t0) ratios.push_back((t2 - t1) / (t1 - t0));
    }
    if (!ratios.empty()) {
        std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
        state.counters["ratio"] = ratios[ratios.size() / 2];
    }
}

// The disk's flush times vary a lot on a shared machine: several short
// repetitions, alternating operation and baseline, compared by their medians.
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_ReadSections)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_OpenAgainstRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Prints the runs as usual and then each operation against its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median of the repetitions where there are several.
        for (const Run& run : runs) {
            const std::string name = run.run_name.str();
            const Times t{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_[name] = t;
            else if (run.run_type == Run::RT_Iteration)
                times_[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        ratio("save", "BM_Save/min_time:0.500/repeats:7", "BM_PlainWrite/min_time:0.500/repeats:7");
        ratio("read sections", "BM_ReadSections/min_time:0.300/repeats:5", "BM_PlainRead/min_time:0.300/repeats:5");
        ratio("open into the document", "BM_Open/min_time:0.300/repeats:5", "BM_PlainRead/min_time:0.300/repeats:5");
    }

private:
    void ratio(const char* what, const std::string& op, const std::string& base) {
        for (const auto& [name, value] : medians_) times_[name] = value;
        const auto a = times_.find(op);
        const auto b = times_.find(base);
        if (a == times_.end() || b == times_.end() || b->second.real <= 0 || b->second.cpu <= 0) return;
        // On a shared machine the wall clock also counts other programs'
        // turns; the thread's own time (kernel copies included) is steadier.
        std::printf("ratio %-24s %.2fx of the plain transfer (thread time %.2fx)\n", what,
                    a->second.real / b->second.real, a->second.cpu / b->second.cpu);
    }
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> times_;
    std::map<std::string, Times> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(scratch("x")).parent_path(), ec);
    return 0;
}
