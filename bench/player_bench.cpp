// The elimination player at degree 190, about 18,500 steps: opening it on a
// solve, at its last step, and moving to steps spread over the whole run,
// each time made again from the built system. And the lesson: at the most
// unknowns exact arithmetic follows, 30, switched from one arithmetic to
// another beside exact, its own steps and every step's digits against exact
// made again; and on the same
// degree-190 system, in its window, a step shown and then the arithmetic
// switched, the step shown again in the new one beside 7-digit chopping;
// and the lesson opened on that system.
#include "app/Unit1.h"
#include "app/elimination_lesson_view.h"
#include "app/elimination_player.h"
#include "app/fit_check_view.h"
#include "exact/elimination_lesson.h"
#include "spread_points.h"

#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
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
    for (int r = 1; r <= EliminationLesson::kMaxExactUnknowns; ++r) {
        for (int c = 1; c <= EliminationLesson::kMaxExactUnknowns + 1; ++c)
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

// "Any arithmetic…" on the degree-190 solve: its system written out, read
// back and reduced in single precision beside double.
void BM_LessonOpenDegree190(benchmark::State& state) {
    TForm1 form;
    solved(form);
    form.player->open();
    for (auto _ : state)
        form.player->anyArithmetic->click();
}

// Steps spread over the run, each shown and then switched to the next
// arithmetic: the switch is what is timed.
void BM_LessonSwitchArithmeticDegree190(benchmark::State& state) {
    TForm1 form;
    solved(form);
    form.player->open();
    form.player->anyArithmetic->click();
    EliminationLessonView& view = *form.player->lesson;
    view.arithmetics[1]->setCurrentIndex(5); // beside: 7-digit chopping, the slowest to follow
    view.digits[1]->setValue(7);
    const int steps = int(view.lesson()->steps());
    const int choices[] = {3, 0, 4, 1}; // 4-digit rounding, single, 4-digit chopping, double
    size_t k = 0, switched = 0;
    for (auto _ : state) {
        state.PauseTiming();
        k = (k + 7919) % size_t(steps);
        view.steps->setCurrentIndex(view.steps->model()->index(int(k), 0));
        state.ResumeTiming();
        view.arithmetics[0]->setCurrentIndex(choices[switched++ % 4]);
    }
    state.counters["steps"] = double(view.lesson()->steps());
}

} // namespace

BENCHMARK(BM_LessonOpenDegree190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LessonSwitchArithmeticDegree190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LessonSwitchArithmetic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerStep)->Unit(benchmark::kMillisecond);
