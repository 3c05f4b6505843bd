// The elimination player at degree 190, about 18,500 steps: opening it on a
// solve, at its last step, and moving to steps spread over the whole run,
// each time made again from the built system.
#include "app/Unit1.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"

#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

// Degree 190, points spread evenly over [-1, 1] on 1 + x + x^2, solved.
void solved(TForm1& form) {
    const int degree = 190;
    form.txtDegree->setText(QString::number(degree));
    form.btnGenerate->click();
    for (int k = 0; k <= degree; ++k) {
        const double x = -1.0 + 2.0 * k / degree;
        form.sgdResult->setCell(0, k + 1, FloatToStr(x));
        form.sgdResult->setCell(1, k + 1, FloatToStr(1 + x + x * x));
    }
    form.btnGetCoefficients->click();
}

void BM_PlayerOpen(benchmark::State& state) {
    TForm1 form;
    solved(form);
    EliminationPlayer& player = *form.checkView->player;
    const auto steps = form.checkView->snapshot().steps;
    for (auto _ : state) {
        state.PauseTiming();
        player.follow(nullptr); // as after another solve: nothing worked out yet
        player.follow(steps);
        state.ResumeTiming();
        player.open();
    }
    state.counters["steps"] = double(steps->steps.size());
}

void BM_PlayerStep(benchmark::State& state) {
    TForm1 form;
    solved(form);
    EliminationPlayer& player = *form.checkView->player;
    player.open();
    const size_t count = player.steps()->steps.size();
    size_t k = 0;
    for (auto _ : state) {
        k = (k + 7919) % count; // first to last, in no order
        player.showStep(k);
    }
}

} // namespace

BENCHMARK(BM_PlayerOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerStep)->Unit(benchmark::kMillisecond);
