// Opening point files through the window, as Ctrl+O does: a 1,000-point file,
// the largest table's file, 100,000 rows in least squares, and the
// worst files up to the 64 MB limit, which once froze the window for a
// minute or took gigabytes. Peak memory is the whole process's: run one
// case at a time under /usr/bin/time -v to read it.
#include "app/Unit1.h"
#include "app/point_files.h"
#include "fitting/point_file.h"
#include "peak_memory.h"
#include "toolkit/error_display.h"
#include "toolkit/string_grid.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

struct Quiet { // the refusals would be printed at every iteration
    Quiet() : previous(setErrorPresenter([](const QString&) {})) {}
    ~Quiet() { setErrorPresenter(previous); }
    ErrorPresenter previous;
};

const QTemporaryDir folder;

QString fileOf(const char* name, const std::string& bytes) {
    const QString path = folder.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
}

std::string rows(int count) {
    std::string text = "x,f(x)\n";
    for (int k = 0; k < count; ++k)
        text += std::to_string(k * 0.37) + "," + std::to_string(double(k) * k * 0.0001 - 3) + "\n";
    return text;
}

void BM_ReadPointFile1000(benchmark::State& state) {
    const QString path = fileOf("thousand.csv", rows(1000));
    for (auto _ : state)
        benchmark::DoNotOptimize(PointFiles::read(path, 100'000));
}
BENCHMARK(BM_ReadPointFile1000)->Unit(benchmark::kMillisecond);

void BM_OpenLargestTable(benchmark::State& state) {
    const QString path = fileOf("largest.csv", rows(191));
    TForm1 form;
    for (auto _ : state)
        form.openPoints(path);
}
BENCHMARK(BM_OpenLargestTable)->Unit(benchmark::kMillisecond);

// In least squares the table takes every row of the file, up to a million.
// "peak MB" is the process's peak resident memory less what it held before
// the first open: run the case alone to read it.
void BM_OpenLeastSquaresRows(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString path = fileOf("rows.csv", rows(count));
    TForm1 form;
    form.switchFit(FitKind::leastSquares());
    const double before = peakMegabytes();
    for (auto _ : state)
        form.openPoints(path);
    state.counters["peak MB"] = peakMegabytes() - before;
    if (form.sgdResult->cells().rowCount() != count + 1)
        state.SkipWithError("the rows did not open");
}
BENCHMARK(BM_OpenLeastSquaresRows)
    ->Arg(100000)
    ->Arg(200000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Each is refused; what counts is how soon, and at what cost.
void openWorst(benchmark::State& state, const char* name, const std::string& bytes) {
    const QString path = fileOf(name, bytes);
    Quiet quiet;
    TForm1 form;
    for (auto _ : state)
        form.openPoints(path);
}

constexpr size_t kLimit = kMaxPointFileBytes;

void BM_OpenCommas64MB(benchmark::State& state) {
    openWorst(state, "commas.csv", std::string(kLimit - 1, ','));
}
void BM_OpenNewlines64MB(benchmark::State& state) {
    openWorst(state, "newlines.csv", std::string(kLimit, '\n'));
}
void BM_OpenCommaLines64MB(benchmark::State& state) {
    std::string lines;
    for (size_t k = 0; k < kLimit / 2; ++k)
        lines += ",\n";
    openWorst(state, "comma-lines.csv", lines);
}
void BM_OpenTooManyRows(benchmark::State& state) {
    openWorst(state, "too-many.csv", rows(kMaxLeastSquaresPoints + 1));
}
BENCHMARK(BM_OpenCommas64MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenNewlines64MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCommaLines64MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTooManyRows)->Unit(benchmark::kMillisecond);

} // namespace
