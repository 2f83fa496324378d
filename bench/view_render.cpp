// Full render of the waveform view at 1,600 x 900 over a full-capacity
// waveform, against filling and copying an image of the same size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>

#include "document/syn_doc.h"
#include "view/ui/syn_view.h"

namespace {

struct Setup {
    std::unique_ptr<lyr::document::CSYNDoc> doc;
    std::unique_ptr<lyr::view::CSYNView> view;
    Setup() {
        std::string message;
        doc = lyr::document::CSYNDoc::create(message);
        doc->newWaveform(100, 1048576);
        for (std::uint32_t i = 0; i < 1048576; ++i) {
            doc->analog()[i] = 0.9 * std::sin(i * 0.0003);
            for (int k = 0; k < 8; ++k) doc->digital(k)[i] = static_cast<std::uint8_t>((i >> (k + 6)) & 1);
        }
        view = std::make_unique<lyr::view::CSYNView>(*doc);
        view->resize(1600, 900);
        view->resetView();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

// Baseline: fill an image of the view's size and draw it into another.
void BM_ImageFillAndCopy(benchmark::State& state) {
    QImage a(1600, 900, QImage::Format_RGB32);
    QImage b(1600, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        a.fill(QColor(127, 127, 127));
        QPainter p(&b);
        p.drawImage(0, 0, a);
        benchmark::DoNotOptimize(b.constBits());
    }
}
BENCHMARK(BM_ImageFillAndCopy)->Unit(benchmark::kMicrosecond);

void BM_FullRenderWholeView(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        s.view->refreshView();
        benchmark::DoNotOptimize(s.view->image().constBits());
    }
}
BENCHMARK(BM_FullRenderWholeView)->Unit(benchmark::kMicrosecond);

void BM_FullRenderStandardZoom(benchmark::State& state) {
    Setup& s = setup();
    s.view->setCursorIndex(500000);
    s.view->runCommand(lyr::view::ViewCommand::StandardZoom);
    for (auto _ : state) {
        s.view->refreshView();
        benchmark::DoNotOptimize(s.view->image().constBits());
    }
    s.view->runCommand(lyr::view::ViewCommand::WholeView);
}
BENCHMARK(BM_FullRenderStandardZoom)->Unit(benchmark::kMicrosecond);

// A cursor step: the three-column repaint.
void BM_CursorStep(benchmark::State& state) {
    Setup& s = setup();
    std::uint32_t c = 1000;
    for (auto _ : state) {
        s.view->setCursorIndex(c);
        c = (c + 700) % 1000000;
    }
}
BENCHMARK(BM_CursorStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
