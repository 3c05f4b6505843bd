// Benchmarks run offscreen with their own QApplication; errors are printed,
// never shown in a dialog.
#include "toolkit/error_display.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    setErrorPresenter(
        [](const QString& message) { std::fprintf(stderr, "error: %s\n", qPrintable(message)); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
