// The elimination player at degree 190, about 18,500 steps: opening it on a
// solve, at its last step, and moving to steps spread over the whole run,
// each time made again from the built system. And the lesson at its largest,
// 12 unknowns, switched from one arithmetic to another: its own steps and
// every step's system made again in both, beside exact.
#include "app/Unit1.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "exact/elimination_lesson.h"
#include "spread_points.h"

#include <QPushButton>
#include <benchmark/benchmark.h>

#include <string>

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

void BM_LessonSwitchArithmetic(benchmark::State& state) {
    std::string system;
    for (int r = 1; r <= EliminationLesson::kMaxUnknowns; ++r) {
        for (int c = 1; c <= EliminationLesson::kMaxUnknowns + 1; ++c)
            system += std::to_string(1.0 / (r + c)) + " ";
        system += "\n";
    }
    EliminationLesson lesson(system);
    const Arithmetic arithmetics[] = {{Arithmetic::Kind::decimal, 4, false},
                                      {Arithmetic::Kind::doubles},
                                      {Arithmetic::Kind::singles},
                                      {Arithmetic::Kind::decimal, 7, true}};
    size_t k = 0;
    for (auto _ : state)
        lesson.choose(arithmetics[k++ % 4], Arithmetic{}, Pivoting::partial);
    state.counters["steps"] = double(lesson.steps());
}

} // namespace

BENCHMARK(BM_LessonSwitchArithmetic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerStep)->Unit(benchmark::kMillisecond);
