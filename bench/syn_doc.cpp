// Snapshot + commit and undo of a full-length waveform against plain block
// copies of the same bytes (the baseline measured in the same run).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "document/syn_doc.h"

using namespace lyr::document;

namespace {

std::unique_ptr<CSYNDoc> fullDoc() {
    std::string message;
    auto doc = CSYNDoc::create(message);
    doc->newWaveform(10, kMaxSamples);
    return doc;
}

// Baseline: the two block copies an analog edit needs (track -> snapshot ->
// undo), done with memcpy on separate buffers.
void BM_Baseline_TwoAnalogCopies(benchmark::State& state) {
    std::vector<double> a(kMaxSamples, 0.5), b(kMaxSamples), c(kMaxSamples);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kMaxSamples * sizeof(double));
        std::memcpy(c.data(), b.data(), kMaxSamples * sizeof(double));
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_TwoAnalogCopies);

void BM_AnalogSnapshotAndCommit(benchmark::State& state) {
    auto doc = fullDoc();
    for (auto _ : state) {
        doc->takeAnalogSnapshot();
        doc->commitAnalogEdit();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AnalogSnapshotAndCommit);

// Baseline for an all-channel digital edit: 2 x 8 channel copies.
void BM_Baseline_SixteenChannelCopies(benchmark::State& state) {
    std::vector<std::uint8_t> a(8 * kMaxSamples, 1), b(8 * kMaxSamples), c(8 * kMaxSamples);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        std::memcpy(c.data(), b.data(), b.size());
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_SixteenChannelCopies);

void BM_AllChannelSnapshotAndCommit(benchmark::State& state) {
    auto doc = fullDoc();
    for (auto _ : state) {
        doc->takeDigitalSnapshot(AllChannels);
        doc->commitDigitalEdit(AllChannels, true);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AllChannelSnapshotAndCommit);

// Baseline for invert: the three passes over one channel it needs
// (snapshot, the change, undo copy) as plain copies.
void BM_Baseline_ThreeChannelCopies(benchmark::State& state) {
    std::vector<std::uint8_t> a(kMaxSamples, 1), b(kMaxSamples), c(kMaxSamples);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        std::memcpy(a.data(), b.data(), a.size());
        std::memcpy(c.data(), b.data(), a.size());
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Baseline_ThreeChannelCopies);

void BM_InvertChannel(benchmark::State& state) {
    auto doc = fullDoc();
    for (auto _ : state) {
        doc->invertChannel(3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InvertChannel);

}  // namespace

BENCHMARK_MAIN();
