// The number reader of the external data editor, the five manual operations
// and the resampling of a source, each beside a plain loop doing the same job
// over the same data in the same run, so that every figure reads as a ratio.
//   reader:     a file of 1,048,576 values (about 10 MB), one and eight
//               columns, against reading the same bytes and a plain
//               tokenise-and-std::from_chars loop;
//   operations: 1,048,576 samples against the plain loop of the operation;
//   resampling: 1,048,576 samples from a source at 30 ns onto 10 ns.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "analog/external_form.h"
#include "analog/manual_form.h"
#include "analog/text_source.h"

namespace {

using namespace lyr::analog;
namespace fs = std::filesystem;

constexpr std::size_t kN = 1048576;

// The two source files, written once, removed at exit.
struct SourceFiles {
    SourceFiles() {
        dir = fs::temp_directory_path() / ("lyr-bench-sources-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> level(-1.0, 1.0);
        std::string one, eight;
        char buf[32];
        for (std::size_t i = 0; i < kN; ++i) {
            const int len = std::snprintf(buf, sizeof buf, "%.6f", level(random));
            one.append(buf, len).push_back('\n');
            eight.append(buf, len).push_back(i % 8 == 7 ? '\n' : ',');
        }
        write("one.csv", one);
        write("eight.csv", eight);
    }
    ~SourceFiles() { fs::remove_all(dir); }
    void write(const char* name, const std::string& bytes) {
        std::FILE* f = std::fopen((dir / name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

SourceFiles& files() {
    static SourceFiles f;
    return f;
}

std::vector<double>& values() {
    static std::vector<double> v(kN);
    return v;
}

// Baseline: the file read into memory, then a plain loop that skips
// separators and converts each token with std::from_chars.
void baselineRead(benchmark::State& state, const char* name) {
    const std::string path = files().path(name);
    std::vector<char> bytes(fs::file_size(path));
    auto& v = values();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        const char* p = bytes.data();
        const char* end = p + got;
        std::size_t n = 0;
        while (p < end) {
            if (*p == '\n' || *p == ',') {
                ++p;
                continue;
            }
            auto r = std::from_chars(p, end, v[n++]);
            p = r.ptr;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// Moves at every whole percent of the file.
struct CountingProgress : lyr::document::ReadProgress {
    int moves = 0;
    void setPercent(int) override { ++moves; }
};

void readSource(benchmark::State& state, const char* name, bool twoThreads = true,
                lyr::document::ReadProgress* progress = nullptr) {
    const std::string path = files().path(name);
    auto& v = values();
    for (auto _ : state) {
        std::uint32_t count = 0;
        const auto status = parseTextSource(path, v.data(), count, progress, twoThreads);
        if (status != lyr::document::ReadStatus::Ok || count != kN) state.SkipWithError("not read");
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(path)));
}

void BM_BaselineFromCharsOneColumn(benchmark::State& s) { baselineRead(s, "one.csv"); }
void BM_NumberReaderOneColumn(benchmark::State& s) { readSource(s, "one.csv"); }
// One thread, without and with the progress bar (which hands the blocks over
// in slices of one percent): the progress must cost nothing measurable.
void BM_NumberReaderOneColumnOneThread(benchmark::State& s) { readSource(s, "one.csv", false); }
void BM_NumberReaderOneColumnWithProgress(benchmark::State& s) {
    CountingProgress progress;
    readSource(s, "one.csv", false, &progress);
}
void BM_BaselineFromCharsEightColumns(benchmark::State& s) { baselineRead(s, "eight.csv"); }
void BM_NumberReaderEightColumns(benchmark::State& s) { readSource(s, "eight.csv"); }
BENCHMARK(BM_BaselineFromCharsOneColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberReaderOneColumn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberReaderOneColumnOneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberReaderOneColumnWithProgress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineFromCharsEightColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberReaderEightColumns)->Unit(benchmark::kMillisecond);

// ---- manual operations ------------------------------------------------------

std::vector<double>& samples() {
    static std::vector<double> s = [] {
        std::vector<double> v(kN);
        std::mt19937 random(3);
        std::uniform_real_distribution<double> level(-1.0, 1.0);
        for (double& x : v) x = level(random);
        return v;
    }();
    return s;
}

void operation(benchmark::State& state, ModifyOperation op, double value) {
    auto& x = samples();
    for (auto _ : state) {
        modifySamples(x.data(), kN, op, value);
        // gain and shift are undone so that the values stay in range
        if (op == ModifyOperation::Gain) modifySamples(x.data(), kN, op, 1.0 / value);
        if (op == ModifyOperation::LevelShift) modifySamples(x.data(), kN, op, -value);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}

void BM_BaselineScaleLoop(benchmark::State& state) {
    auto& x = samples();
    double g = 1.0000001;
    for (auto _ : state) {
        benchmark::DoNotOptimize(g);
        for (std::size_t i = 0; i < kN; ++i) x[i] *= g;
        for (std::size_t i = 0; i < kN; ++i) x[i] *= 1.0 / g;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineScaleLoop);
void BM_ManualGain(benchmark::State& s) { operation(s, ModifyOperation::Gain, 1.0000001); }
BENCHMARK(BM_ManualGain);
void BM_ManualLevelShift(benchmark::State& s) { operation(s, ModifyOperation::LevelShift, 0.001); }
BENCHMARK(BM_ManualLevelShift);

void BM_BaselineMeanLoop(benchmark::State& state) {
    auto& x = samples();
    for (auto _ : state) {
        double sum = 0.0;
        for (std::size_t i = 0; i < kN; ++i) sum += x[i];
        const double mean = sum / kN;
        for (std::size_t i = 0; i < kN; ++i) x[i] -= mean;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineMeanLoop);
void BM_ManualDcRemoval(benchmark::State& s) { operation(s, ModifyOperation::DcRemoval, 0.0); }
BENCHMARK(BM_ManualDcRemoval);

void BM_BaselineClampLoop(benchmark::State& state) {
    auto& x = samples();
    double limit = 0.9;
    for (auto _ : state) {
        benchmark::DoNotOptimize(limit);
        for (std::size_t i = 0; i < kN; ++i) x[i] = std::min(x[i], limit);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineClampLoop);
void BM_ManualUpperLimit(benchmark::State& s) { operation(s, ModifyOperation::UpperLimit, 0.9); }
BENCHMARK(BM_ManualUpperLimit);
void BM_ManualLowerLimit(benchmark::State& s) { operation(s, ModifyOperation::LowerLimit, -0.9); }
BENCHMARK(BM_ManualLowerLimit);

// ---- resampling -------------------------------------------------------------

constexpr std::int64_t kInterval = 30, kTs = 10;
constexpr std::uint32_t kSourceCount = static_cast<std::uint32_t>(kN / 3 + 1);

std::vector<double>& segment() {
    static std::vector<double> s(kN);
    return s;
}

// Baseline: the plain loop of the definition, one index division per sample.
void BM_BaselineResampleLoop(benchmark::State& state) {
    const auto& src = samples();
    auto& seg = segment();
    const bool linear = state.range(0) != 0;
    double factor = 0.5, offset = 0.1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(factor);
        for (std::size_t i = 0; i < kN; ++i) {
            const std::int64_t t = static_cast<std::int64_t>(i) * kTs;
            const std::int64_t k = t / kInterval;
            double v = src[k];
            if (linear) v += static_cast<double>(t - k * kInterval) / kInterval * (src[k + 1] - src[k]);
            seg[i] = offset + factor * v;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineResampleLoop)->Arg(0)->Arg(1);

void BM_ResampleSource(benchmark::State& state) {
    auto& seg = segment();
    ResampleParams p{.source = samples().data(),
                     .sourceCount = kSourceCount,
                     .sourceInterval = kInterval,
                     .period = static_cast<std::int64_t>(kN) * kTs,
                     .samplingTime = kTs,
                     .factor = 0.5,
                     .offset = 0.1,
                     .interpolation = state.range(0) ? Interpolation::Linear : Interpolation::None};
    for (auto _ : state) {
        if (!resampleSource(seg.data(), p)) state.SkipWithError("refused");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_ResampleSource)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
