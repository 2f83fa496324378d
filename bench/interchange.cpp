// Export of 1,048,576 samples to each format, against writing the same bytes,
// already formatted, to the same place: plainly (write and close) and through
// the replacing writer the export uses (flushed to the disk and renamed). Read
// the ratios, not the times.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/waveform_file_io.h"
#include "interchange/export.h"

namespace {

namespace ic = lyr::interchange;
namespace fs = std::filesystem;

constexpr std::uint32_t kN = 1048576;

struct Track {
    Track() : analog(kN), channels(8, std::vector<std::uint8_t>(kN)) {
        dir = fs::temp_directory_path() / ("lyr-bench-interchange-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        // a quantised sine (a waveform as the device plays it) and channels at eight rates
        for (std::uint32_t i = 0; i < kN; ++i) {
            analog[i] = std::round(std::sin(i * 0.0007) * 8191.0) / 8191.0;
            for (std::size_t k = 0; k < 8; ++k) channels[k][i] = std::uint8_t((i >> (k + 3)) & 1);
        }
        for (std::size_t k = 0; k < 8; ++k) samples.channels[k] = channels[k].data();
        samples.analog = analog.data();
        samples.count = kN;
        samples.samplingTime = 10;
    }
    ~Track() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    // The bytes one export writes.
    const std::string& bytes(const ic::ExportOptions& o) {
        std::string& b = formatted[static_cast<int>(o.format) * 2 + static_cast<int>(o.content)];
        if (b.empty()) {
            const std::string p = path("formatted");
            ic::exportSamples(p, samples, o);
            std::ifstream in(p, std::ios::binary);
            b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return b;
    }
    std::vector<double> analog;
    std::vector<std::vector<std::uint8_t>> channels;
    ic::Samples samples;
    fs::path dir;
    std::string formatted[8];
};

Track& track() {
    static Track t;
    return t;
}

ic::ExportOptions optionsOf(std::int64_t i) {
    static const ic::ExportOptions all[] = {{ic::Format::Csv},
                                            {ic::Format::Wav},
                                            {ic::Format::Wav, ic::Content::Analog, ic::WavSamples::Pcm16},
                                            {ic::Format::Npy},
                                            {ic::Format::Npy, ic::Content::Digital},
                                            {ic::Format::Vcd}};
    return all[i];
}
const char* kNames[] = {"csv", "wav float", "wav pcm16", "npy analog", "npy digital", "vcd"};

void BM_Export(benchmark::State& state) {
    const ic::ExportOptions o = optionsOf(state.range(0));
    const std::string out = track().path("out");
    for (auto _ : state)
        if (!ic::exportSamples(out, track().samples, o).ok) state.SkipWithError("not written");
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(state.iterations() * std::int64_t(track().bytes(o).size()));
}

// Write and close, 1 MiB at a time.
void BM_BaselinePlainWrite(benchmark::State& state) {
    const std::string& bytes = track().bytes(optionsOf(state.range(0)));
    const std::string out = track().path("plain");
    for (auto _ : state) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (std::size_t at = 0; at < bytes.size(); at += 1 << 20)
            if (::write(fd, bytes.data() + at, std::min<std::size_t>(1 << 20, bytes.size() - at)) < 0)
                state.SkipWithError("write");
        ::close(fd);
    }
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}

// The same through the replacing writer: the durability every export has.
void BM_BaselineReplacingWrite(benchmark::State& state) {
    const std::string& bytes = track().bytes(optionsOf(state.range(0)));
    const std::string out = track().path("replaced");
    for (auto _ : state) {
        lyr::document::wavefile::ReplacingFile f;
        if (!f.create(out) || !f.write(bytes.data(), bytes.size()) || !f.commit()) state.SkipWithError("write");
    }
    state.SetLabel(kNames[state.range(0)]);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}

BENCHMARK(BM_Export)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselinePlainWrite)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BaselineReplacingWrite)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
