// The elimination of the largest fit's system, through 191 points at
// degree 190 as Build writes it, in each arithmetic's machine words: the
// system rounded in, and its 18,145 steps. What a lesson does each time
// its arithmetic is switched.
#include "exact/row_reduction.h"
#include "toolkit/conversions.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

AugmentedMatrix fitSystem() {
    constexpr int degree = 190;
    AugmentedMatrix system;
    for (int k = 0; k <= degree; ++k) {
        const double x = -1.0 + 2.0 * k / degree;
        std::vector<mpq_class> row;
        for (int j = 0; j <= degree; ++j)
            row.push_back(*readNumber(FloatToStr(std::pow(x, j))));
        row.push_back(*readNumber(FloatToStr(1 + x + x * x)));
        system.push_back(std::move(row));
    }
    return system;
}

const Arithmetic kArithmetics[] = {{Arithmetic::Kind::singles},
                                   {Arithmetic::Kind::doubles},
                                   {Arithmetic::Kind::decimal, 4, false},
                                   {Arithmetic::Kind::decimal, 7, true},
                                   {Arithmetic::Kind::decimal, 15, false}};

void BM_RoundIn(benchmark::State& state) {
    const AugmentedMatrix system = fitSystem();
    const Arithmetic& arithmetic = kArithmetics[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(RowReduction(system, arithmetic));
    state.SetLabel(arithmetic.name());
}

void BM_Eliminate(benchmark::State& state) {
    const Arithmetic& arithmetic = kArithmetics[state.range(0)];
    const RowReduction system(fitSystem(), arithmetic);
    for (auto _ : state) {
        state.PauseTiming();
        RowReduction reduced = system;
        state.ResumeTiming();
        benchmark::DoNotOptimize(eliminate(reduced, Pivoting::none));
    }
    state.SetLabel(arithmetic.name());
}

} // namespace

BENCHMARK(BM_RoundIn)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Eliminate)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
