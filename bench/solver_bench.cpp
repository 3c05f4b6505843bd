// GetCoefficients on the window at growing degrees, next to its floor: the
// same number of StrToFloat and FloatToStr calls on a flat array of cell
// texts, with no grid. The text round trip is the solver's own cost; the
// ratio between the two shows what the grid and the window add to it.
//
// Each click solves points the exact check has not seen, so it includes the
// whole check; BM_ExactCheck is that check alone, and BM_Solve the solver
// alone on the same tables, without the window. BM_RoundTrip is the cost of
// one value written into a cell and read back, by the solver's shortcut and
// by the text.
//
// BM_SolveFloor is what BM_Solve cannot do without: the same build, the
// same elimination with the same roundings on a flat array of doubles (every
// operand reduced to single precision, every normalised quotient through a
// real 15-digit text round trip), the steps recorded, the back substitution,
// and every final cell formatted once as text. BM_Solve records its steps
// too, as the window's solve does; BM_SolveUnrecorded does not.
//
// BM_LeastSquares is GetCoefficients in least squares, with the check, over
// many points at a low degree.
#include "app/Unit1.h"
#include "fitting/fit_check.h"
#include "fitting/point_file.h"
#include "fitting/point_table.h"
#include "fitting/solve_steps.h"
#include "fitting/solver.h"
#include "peak_memory.h"
#include "spread_points.h"
#include "toolkit/arithmetic.h"
#include "toolkit/conversions.h"
#include "toolkit/round_trip.h"
#include "toolkit/string_grid.h"

#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

void BM_GetCoefficients(benchmark::State& state) {
    TForm1 form;
    setUpSpreadPoints(form, int(state.range(0)));
    // The same number written two ways: the solve is the same, the exact
    // check must start again.
    const std::string fx = form.sgdResult->cells().cell(1, 1);
    bool spaced = false;
    for (auto _ : state) {
        state.PauseTiming();
        spaced = !spaced;
        form.sgdResult->setCell(1, 1, spaced ? " " + fx : fx);
        state.ResumeTiming();
        form.btnGetCoefficients->click();
    }
    if (form.txtResult->text().isEmpty())
        state.SkipWithError("the points did not solve");
}

// Measurements of a quadratic trend with noise, six significant digits
// each, as instruments write them, over x in [0, 10); or, where
// TARVEL_POINTS names a point file, its points (scripts/bench --numpy fits
// the same file with numpy).
void setUpLeastSquares(TForm1& form, int points, int degree) {
    form.switchFit(FitKind::leastSquares());
    form.txtDegree->setText(QString::number(degree));
    form.btnGenerate->click();
    CellTable& table = form.sgdResult->cells();
    if (const char* path = std::getenv("TARVEL_POINTS")) {
        FitKind::leastSquares().putPoints(
            table, readPointsCsv(readPointFileBytes(path), size_t(kMaxLeastSquaresPoints)).points);
        form.sgdResult->sync();
        return;
    }
    table.setRowCount(points + 1);
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 0.05);
    for (int k = 0; k < points; ++k) {
        const double x = 10.0 * k / points;
        table.setCell(0, k + 1, FloatToStr(x, 6));
        table.setCell(1, k + 1, FloatToStr(1 + 2 * x - 0.3 * x * x + noise(random), 6));
    }
    keepOneEmptyRow(table);
    form.sgdResult->sync();
}

void BM_LeastSquares(benchmark::State& state) {
    TForm1 form;
    const double before = peakMegabytes();
    setUpLeastSquares(form, int(state.range(0)), int(state.range(1)));
    const std::string fx = form.sgdResult->cells().cell(1, 1);
    bool spaced = false;
    for (auto _ : state) {
        state.PauseTiming();
        spaced = !spaced; // new points for the check, the same solve
        form.sgdResult->setCell(1, 1, spaced ? " " + fx : fx);
        state.ResumeTiming();
        form.btnGetCoefficients->click();
    }
    state.counters["peak MB"] = peakMegabytes() - before; // the table's own included
    if (form.txtResult->text().isEmpty())
        state.SkipWithError("the points did not solve");
}

void BM_ExactCheck(benchmark::State& state) {
    TForm1 form;
    setUpSpreadPoints(form, int(state.range(0)));
    form.btnGetCoefficients->click();
    const CellTable points = form.sgdResult->cells(), coefficients = form.sdgCoefficients->cells();
    for (auto _ : state) {
        const ExactFit fit(points);
        benchmark::DoNotOptimize(fit.compare(coefficients));
    }
}

void BM_Solve(benchmark::State& state) {
    TForm1 form;
    setUpSpreadPoints(form, int(state.range(0)));
    const CellTable points = form.sgdResult->cells();
    CellTable answers = form.sgdAns1->cells(), coefficients = form.sdgCoefficients->cells();
    SolveSteps steps;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            solveCoefficients(points, answers, coefficients, FitKind::throughPoints(), &steps));
    state.counters["steps"] = double(steps.steps.size());
}

void BM_SolveUnrecorded(benchmark::State& state) {
    TForm1 form;
    setUpSpreadPoints(form, int(state.range(0)));
    const CellTable points = form.sgdResult->cells();
    CellTable answers = form.sgdAns1->cells(), coefficients = form.sdgCoefficients->cells();
    for (auto _ : state)
        benchmark::DoNotOptimize(solveCoefficients(points, answers, coefficients));
}

// The floors' back substitution on the reduced flat array, in single
// precision, each coefficient recorded where `steps` is given; then every
// cell formatted once, as the grid shows it.
void substituteAndFormat(const std::vector<double>& a, int n, std::vector<std::string>& texts,
                         std::vector<SolveStep>* steps) {
    const int cols = n + 1;
    std::vector<double> solution(static_cast<size_t>(n));
    for (int r = n - 1; r >= 0; --r) {
        double s = single(a[size_t(r) * cols]);
        for (int c = n - 1; c > r; --c)
            s = single(s - single(a[size_t(r) * cols + c + 1]) * solution[size_t(c)]);
        solution[size_t(r)] = s;
        if (steps)
            steps->push_back({SolveStep::Kind::substitute, r + 1, 0, s});
    }
    for (size_t k = 0; k < a.size(); ++k)
        texts[k] = FloatToStr(a[k]);
    benchmark::DoNotOptimize(texts.data());
    benchmark::DoNotOptimize(solution.data());
}

void BM_SolveFloor(benchmark::State& state) {
    const int n = int(state.range(0)) + 1, cols = n + 1;
    std::vector<std::string> xs, fxs;
    for (int k = 0; k < n; ++k) {
        const double x = -1.0 + 2.0 * k / (n - 1);
        xs.push_back(FloatToStr(x));
        fxs.push_back(FloatToStr(1 + x + x * x));
    }
    std::vector<std::string> texts(size_t(n) * cols);
    std::vector<double> a(texts.size());
    std::vector<SolveStep> steps;
    for (auto _ : state) {
        steps.clear();
        steps.push_back({SolveStep::Kind::build, 0, 0, 0});
        for (int r = 0; r < n; ++r) { // build: texts, read once
            const double x = single(StrToFloat(xs[size_t(r)]));
            texts[size_t(r) * cols] = fxs[size_t(r)];
            for (int j = 0; j < n; ++j)
                texts[size_t(r) * cols + j + 1] = FloatToStr(std::pow(x, double(j)));
            for (int c = 0; c < cols; ++c)
                a[size_t(r) * cols + c] = StrToFloat(texts[size_t(r) * cols + c]);
        }
        for (int i = 0; i < n; ++i) {
            double* pivotRow = &a[size_t(i) * cols];
            const double pivot = single(pivotRow[i + 1]);
            steps.push_back({SolveStep::Kind::divide, i + 1, i + 1, pivot});
            for (int c = 0; c < cols; ++c)
                pivotRow[c] = StrToFloat(FloatToStr(checkedDivide(pivotRow[c], pivot)));
            for (int r = i + 1; r < n; ++r) {
                double* row = &a[size_t(r) * cols];
                const double factor = single(row[i + 1]);
                steps.push_back({SolveStep::Kind::subtract, r + 1, i + 1, factor});
                for (int c = 0; c < cols; ++c)
                    row[c] = single(single(row[c]) - single(pivotRow[c]) * factor);
            }
        }
        substituteAndFormat(a, n, texts, &steps);
    }
}

// The arithmetic the solve cannot do without, and no more: the system built
// as values, the same elimination with the same roundings on a flat array
// (each quotient as its text would read back, by the same shortcut), the
// back substitution, and every final cell formatted once. BM_Solve is held
// to twice this.
void BM_SolveArithmetic(benchmark::State& state) {
    const int n = int(state.range(0)) + 1, cols = n + 1;
    std::vector<double> xs, fxs;
    for (int k = 0; k < n; ++k) {
        xs.push_back(single(-1.0 + 2.0 * k / (n - 1)));
        fxs.push_back(1 + xs.back() + xs.back() * xs.back());
    }
    std::vector<double> a(size_t(n) * cols), pivotValues(static_cast<size_t>(cols));
    std::vector<std::string> texts(a.size());
    for (auto _ : state) {
        for (int r = 0; r < n; ++r) {
            a[size_t(r) * cols] = fxs[size_t(r)];
            for (int j = 0; j < n; ++j)
                a[size_t(r) * cols + j + 1] = roundTrip(std::pow(xs[size_t(r)], double(j)));
        }
        for (int i = 0; i < n; ++i) {
            double* pivotRow = &a[size_t(i) * cols];
            const double pivot = single(pivotRow[i + 1]);
            for (int c = 0; c < cols; ++c) {
                pivotRow[c] = roundTrip(checkedDivide(pivotRow[c], pivot));
                pivotValues[size_t(c)] = single(pivotRow[c]);
            }
            for (int r = i + 1; r < n; ++r) {
                double* row = &a[size_t(r) * cols];
                const double factor = single(row[i + 1]);
                for (int c = 0; c < cols; ++c)
                    row[c] = single(single(row[c]) - pivotValues[size_t(c)] * factor);
            }
        }
        substituteAndFormat(a, n, texts, nullptr);
    }
}

// Values as the elimination writes them: single precision, of every size it meets.
std::vector<double> singleValues() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-6, 12), unit(-1, 1);
    std::vector<double> values(4096);
    for (double& value : values)
        value = float(unit(random) * std::pow(10.0, exponent(random)));
    return values;
}

void BM_RoundTrip(benchmark::State& state) {
    const std::vector<double> values = singleValues();
    size_t k = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(roundTrip(values[k++ % values.size()]));
}

void BM_RoundTripThroughText(benchmark::State& state) {
    const std::vector<double> values = singleValues();
    size_t k = 0;
    for (auto _ : state) {
        char text[32];
        const char* end = std::to_chars(text, text + sizeof text, values[k++ % values.size()],
                                        std::chars_format::scientific, 14)
                              .ptr;
        double value = 0;
        std::from_chars(text, end, value);
        benchmark::DoNotOptimize(value);
    }
}

} // namespace

BENCHMARK(BM_RoundTrip);
BENCHMARK(BM_RoundTripThroughText);
BENCHMARK(BM_Solve)->Arg(10)->Arg(50)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveUnrecorded)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveFloor)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveArithmetic)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactCheck)->Arg(10)->Arg(50)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetCoefficients)->Arg(10)->Arg(50)->Arg(100)->Arg(190)->Unit(benchmark::kMillisecond);
// The check runs beside the solve on a thread of its own: CPU time is the process's.
BENCHMARK(BM_LeastSquares)
    ->Args({1000, 3})
    ->Args({100000, 10})
    ->Args({200000, 3})
    ->Args({1000000, 3})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
