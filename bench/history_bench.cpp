// Undo's memory over a full stack of least-squares steps at 100,000 points:
// a point edited, then the points solved, fifty times over, each step kept.
// Every edit changes the points, so each of those states keeps its table;
// the solves between them keep the same points and the exact fit shares
// them. "growth MB" is the process's peak resident memory over the steps,
// less what it held with the table and its first solve.
#include "app/Unit1.h"
#include "fitting/fit_kind.h"
#include "peak_memory.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"

#include <QPushButton>
#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_UndoStackOfLeastSquaresSteps(benchmark::State& state) {
    const int points = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        TForm1 form;
        form.switchFit(FitKind::leastSquares());
        CellTable& table = form.sgdResult->cells();
        table.setRowCount(points + 2);
        for (int k = 1; k <= points; ++k) {
            table.setCell(0, k, FloatToStr(k * 0.001, 6));
            table.setCell(1, k, FloatToStr(1 + k * 0.002 - k * 1e-9 * k, 6));
        }
        form.sgdResult->sync();
        form.btnGetCoefficients->click();
        const double before = peakMegabytes();
        state.ResumeTiming();
        for (int step = 0; step < 50; ++step) {
            QAbstractItemModel& model = *form.sgdResult->model();
            model.setData(model.index(step + 1, 1), QString::number(step));
            form.btnGetCoefficients->click();
        }
        state.counters["growth MB"] = peakMegabytes() - before;
    }
}
BENCHMARK(BM_UndoStackOfLeastSquaresSteps)
    ->Arg(100'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
