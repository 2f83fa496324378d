// The C++ side of the Python module's benchmark (bench/python_module.py):
// opening a 1,048,576-sample file and a sine edit over all of it, made
// through lyrtool's commands exactly as the module makes them, without
// Python. The script times the same calls from Python and prints the ratios.
// Usage: bench_python_module FILE [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "common.h"
#include "edit_family.h"

namespace {

std::string path;

void BM_Open(benchmark::State& state) {
    for (auto _ : state) {
        lyrtool::OpenedWaveform w;
        if (lyrtool::openWaveform("open", path, w) != lyrtool::kOk) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(w.doc->analog());
    }
}

// One waveform edited again and again, as the script edits its one Waveform.
void BM_EditSine(benchmark::State& state) {
    static lyrtool::OpenedWaveform w;
    const std::vector<std::string> args = {"sine", "--sine-period", "1ms", "--amplitude", "0.5", "--phase", "0",
                                           "--start", "0ns", "--period", "10485760ns", "--mode", "replace"};
    auto edit = [&] {
        lyrtool::ParsedArgs parsed;
        const lyrtool::EditFamily* family = nullptr;
        lyrtool::EditOutcome outcome;
        return lyrtool::parseEdit(args, 0, parsed, family) == lyrtool::kOk &&
               lyrtool::applyEdit(parsed, *family, path, *w.doc, w.extras, outcome) == lyrtool::kOk;
    };
    // The first edit brings the document's edit buffers into memory, as the
    // script's first (untimed) call does.
    if (!w.doc && (lyrtool::openWaveform("open", path, w) != lyrtool::kOk || !edit()))
        return state.SkipWithError("open or edit refused");
    for (auto _ : state)
        if (!edit()) return state.SkipWithError("edit refused");
}

// Single calls, as the script times the module's; it asks for repetitions.
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EditSine)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_python_module FILE [benchmark options]\n");
        return 2;
    }
    path = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
