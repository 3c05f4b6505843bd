// The elimination player at degree 190, about 18,500 steps: opening it on a
// solve, at its last step, and moving to steps spread over the whole run,
// each time made again from the built system.
#include "app/Unit1.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "spread_points.h"

#include <QPushButton>
#include <benchmark/benchmark.h>

namespace {

// Degree 190, the spread points, solved.
void solved(TForm1& form) {
    setUpSpreadPoints(form, 190);
    form.btnGetCoefficients->click();
}

void BM_PlayerOpen(benchmark::State& state) {
    TForm1 form;
    solved(form);
    EliminationPlayer& player = *form.player;
    const auto steps = form.checkView->lastSolve().steps;
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
    EliminationPlayer& player = *form.player;
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
