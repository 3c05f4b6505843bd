// Hostile input: a 10 MB text pasted into a box or a cell of the point table,
// then one repaint of the window; and the repaint of a grid whose cell holds
// 10 MB. Each was a freeze of seconds before boxes and cells had a limit and
// cells painted only what fits.
#include "app/Unit1.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

#include <string>

namespace {

const QString kTenMegabytes(10'000'000, '7');

// The refusal's message would be printed at every iteration.
struct Quiet {
    Quiet() : previous(setErrorPresenter([](const QString&) {})) {}
    ~Quiet() { setErrorPresenter(previous); }
    ErrorPresenter previous;
};

void BM_PasteIntoBoxThenRepaint(benchmark::State& state) {
    Quiet quiet;
    TForm1 form;
    form.show();
    QApplication::clipboard()->setText(kTenMegabytes);
    for (auto _ : state) {
        form.txtDegree->selectAll();
        form.txtDegree->paste();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
    if (form.txtDegree->text() != "3")
        state.SkipWithError("the paste was let in");
}

void BM_PasteIntoCellThenRepaint(benchmark::State& state) {
    Quiet quiet;
    TForm1 form;
    form.show();
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 1));
    QApplication::clipboard()->setText(kTenMegabytes);
    for (auto _ : state) {
        QTest::keyClick(form.sgdResult, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
    if (form.sgdResult->cells().cell(1, 1) != "4")
        state.SkipWithError("the paste was let in");
}

void BM_RepaintWithAHugeCell(benchmark::State& state) {
    TForm1 form;
    form.show();
    form.sgdResult->setCell(1, 1, std::string(10'000'000, '7'));
    QCoreApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(form.grab());
}

} // namespace

BENCHMARK(BM_PasteIntoBoxThenRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteIntoCellThenRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintWithAHugeCell)->Unit(benchmark::kMillisecond);
