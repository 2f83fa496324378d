// The bit and hexadecimal readers over files of 1,048,576 entries, against a
// plain block read of the same file that scans every byte; and the serial
// and parallel fills of a full segment, against a plain byte loop writing as
// many bytes. Read the ratios, not the times.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "digital/data_readers.h"
#include "digital/word_fill.h"

namespace {

using namespace lyr::digital;
namespace fs = std::filesystem;

constexpr std::size_t kN = 1048576;

struct Files {
    Files() {
        dir = fs::temp_directory_path() / ("lyr-bench-serial-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        // Bits as a spreadsheet writes them: comma separated, 32 to a line.
        std::string text;
        for (std::size_t i = 0; i < kN; ++i) {
            text += char('0' + ((i * 7 + i / 5) & 1));
            if (i + 1 < kN) text += (i % 32 == 31) ? "\r\n" : ",";
        }
        write(bits = (dir / "bits.csv").string(), text);
        // Words as a hex dump: blank separated, 16 to a line.
        text.clear();
        const char* digits = "0123456789ABCDEF";
        for (std::size_t i = 0; i < kN; ++i) {
            text += digits[(i * 13) & 15];
            text += digits[(i >> 4) & 15];
            if (i + 1 < kN) text += (i % 16 == 15) ? "\r\n" : " ";
        }
        write(words = (dir / "words.txt").string(), text);
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    static void write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    fs::path dir;
    std::string bits, words;
};

Files& files() {
    static Files f;
    return f;
}

// What any reader has to do at least: read the file in the same blocks and
// look at every byte once.
std::size_t readAndScan(const std::string& path, std::vector<char>& block) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::setvbuf(f, nullptr, _IONBF, 0);
    std::size_t separators = 0, got;
    while ((got = std::fread(block.data(), 1, block.size(), f)) > 0)
        separators += static_cast<std::size_t>(std::count(block.data(), block.data() + got, ','));
    std::fclose(f);
    return separators;
}

void BM_BaselineReadAndScanBits(benchmark::State& state) {
    std::vector<char> block(lyr::document::kReadBlockBytes);
    for (auto _ : state) benchmark::DoNotOptimize(readAndScan(files().bits, block));
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().bits)));
}
BENCHMARK(BM_BaselineReadAndScanBits);

void BM_LoadSerialFile(benchmark::State& state) {
    LoadedEntries bits;
    bits.allocate();
    for (auto _ : state) {
        const auto r = loadSerialFile(files().bits, bits, nullptr);
        if (bits.count() != kN || !r.message.empty()) state.SkipWithError("bits not read");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().bits)));
}
BENCHMARK(BM_LoadSerialFile);

// The same with a progress bar that moves at every whole percent: the block
// is handed over in slices, which must cost nothing measurable.
struct CountingProgress : lyr::document::ReadProgress {
    int moves = 0;
    void setPercent(int) override { ++moves; }
};

void BM_LoadSerialFileWithProgress(benchmark::State& state) {
    LoadedEntries bits;
    bits.allocate();
    CountingProgress progress;
    for (auto _ : state) {
        const auto r = loadSerialFile(files().bits, bits, &progress);
        if (bits.count() != kN || !r.message.empty()) state.SkipWithError("bits not read");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().bits)));
}
BENCHMARK(BM_LoadSerialFileWithProgress);

void BM_BaselineReadAndScanWords(benchmark::State& state) {
    std::vector<char> block(lyr::document::kReadBlockBytes);
    for (auto _ : state) benchmark::DoNotOptimize(readAndScan(files().words, block));
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().words)));
}
BENCHMARK(BM_BaselineReadAndScanWords);

void BM_LoadParallelFile(benchmark::State& state) {
    LoadedEntries words;
    words.allocate();
    for (auto _ : state) {
        const auto r = loadParallelFile(files().words, words, nullptr);
        if (words.count() != kN || !r.message.empty()) state.SkipWithError("words not read");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().words)));
}
BENCHMARK(BM_LoadParallelFile);

void BM_LoadParallelFileWithProgress(benchmark::State& state) {
    LoadedEntries words;
    words.allocate();
    CountingProgress progress;
    for (auto _ : state) {
        const auto r = loadParallelFile(files().words, words, &progress);
        if (words.count() != kN || !r.message.empty()) state.SkipWithError("words not read");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(files().words)));
}
BENCHMARK(BM_LoadParallelFileWithProgress);

struct Buffers {
    Buffers() : source(kN), segments(8, std::vector<std::uint8_t>(kN)) {
        for (std::size_t i = 0; i < kN; ++i) source[i] = std::uint8_t(i * 37 + (i >> 9));
        for (int k = 0; k < 8; ++k) out[k] = segments[k].data();
    }
    std::vector<std::uint8_t> source;
    std::vector<std::vector<std::uint8_t>> segments;
    std::uint8_t* out[8];
};

Buffers& buffers() {
    static Buffers b;
    return b;
}

// A full segment written byte by byte from one byte of input each.
void BM_BaselineByteLoop(benchmark::State& state) {
    auto& b = buffers();
    for (auto _ : state) {
        std::uint8_t* dst = b.out[0];
        const std::uint8_t* src = b.source.data();
        for (std::size_t i = 0; i < kN; ++i) dst[i] = src[i] & 1;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_BaselineByteLoop);

// Samples per bit as the argument; the segment is always 1,048,576 samples.
void BM_FillSerial(benchmark::State& state) {
    auto& b = buffers();
    const auto h = static_cast<std::uint64_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fillSerial(b.out[0], b.source.data(), (kN + h - 1) / h, h, kN));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN);
}
BENCHMARK(BM_FillSerial)->Arg(1)->Arg(3)->Arg(10)->Arg(1000);

void BM_BaselineByteLoopEightChannels(benchmark::State& state) {
    auto& b = buffers();
    for (auto _ : state) {
        const std::uint8_t* src = b.source.data();
        for (int k = 0; k < 8; ++k) {
            std::uint8_t* dst = b.out[k];
            for (std::size_t i = 0; i < kN; ++i) dst[i] = (src[i] >> k) & 1;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN * 8);
}
BENCHMARK(BM_BaselineByteLoopEightChannels);

void BM_FillParallel(benchmark::State& state) {
    auto& b = buffers();
    const auto h = static_cast<std::uint64_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fillParallel(b.out, b.source.data(), (kN + h - 1) / h, 1, h, kN));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kN * 8);
}
BENCHMARK(BM_FillParallel)->Arg(1)->Arg(3)->Arg(10)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
