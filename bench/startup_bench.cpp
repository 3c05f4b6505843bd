// From nothing to the window's first painted frame, in process: construct
// TForm1 (layout, FormCreate, Generate, the default points), show it, and
// render it once.
#include "app/Unit1.h"

#include <QCoreApplication>
#include <QImage>
#include <benchmark/benchmark.h>

static void BM_WindowToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        TForm1 form;
        form.show();
        QImage frame(form.size(), QImage::Format_ARGB32_Premultiplied);
        form.render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WindowToFirstFrame)->Unit(benchmark::kMillisecond);
