// Draw of 1,000 to 100,000 samples: the handler alone, and the handler until
// the chart's first frame is rendered offscreen; next to the floor, the same
// number of poly evaluations and FloatToStr/StrToFloat round trips of x and
// f(x) with no widgets. BM_DrawWithPoints is the same Draw with 100,000
// points of the table marked over the line in least squares, stems and all.
// BM_ZoomStepWithBands zooms a least-squares curve of 100,000 samples with
// both bands around it.
#include "app/Unit1.h"
#include "model/evaluation.h"
#include "plot/chart_view.h"
#include "plot/fit_bands.h"
#include "toolkit/conversions.h"
#include "toolkit/string_grid.h"

#include <QChart>
#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <functional>

namespace {

// The default polynomial, drawn over [0, 1] in `samples` samples.
void setUp(TForm1& form, long samples) {
    const char* values[] = {"2", "3", "-2", "1"};
    for (int i = 0; i < 4; ++i)
        form.sdgCoefficients->setCell(1, i + 1, values[i]);
    form.txtMin->setText("0");
    form.txtMax->setText("1");
    form.txtStep->setText(QString::fromStdString(FloatToStr(1.0 / double(samples - 1))));
}

// What the event loop does after a click: Qt Charts hands the previous
// Draw's chart items to deleteLater.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_Draw(benchmark::State& state) {
    TForm1 form;
    setUp(form, state.range(0));
    for (auto _ : state) {
        form.btnDraw->click();
        settle();
    }
}

// 100,000 points on and around the curve, in least squares.
void setUpPoints(TForm1& form) {
    form.switchFit(FitKind::leastSquares());
    CellTable& table = form.sgdResult->cells();
    table.setRowCount(100'001);
    for (int k = 0; k < 100'000; ++k) {
        const double x = k / 100'000.0;
        table.setCell(0, k + 1, FloatToStr(x));
        table.setCell(1, k + 1, FloatToStr(2 + 3 * x - 2 * x * x + x * x * x + (k % 7) * 0.01));
    }
    form.sgdResult->sync();
}

void drawToFirstFrame(benchmark::State& state, TForm1& form) {
    form.Chart1->resize(553, 337);
    QImage frame(form.Chart1->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        form.btnDraw->click();
        QPainter painter(&frame);
        form.Chart1->render(&painter);
        painter.end();
        settle();
    }
}

void BM_DrawToFirstFrame(benchmark::State& state) {
    TForm1 form;
    setUp(form, state.range(0));
    drawToFirstFrame(state, form);
}

void BM_DrawWithPoints(benchmark::State& state) {
    TForm1 form;
    setUpPoints(form);
    setUp(form, state.range(0));
    for (auto _ : state) {
        form.btnDraw->click();
        settle();
    }
}

void BM_DrawWithPointsToFirstFrame(benchmark::State& state) {
    TForm1 form;
    setUpPoints(form);
    setUp(form, state.range(0));
    drawToFirstFrame(state, form);
}

// 100,000 samples drawn, then one step of exploring and the frame it shows;
// with `bands`, of the least-squares fit of setUpPoints.
void exploreStep(benchmark::State& state, QSize size,
                 const std::function<void(QChart&, bool)>& step, bool bands = false) {
    TForm1 form;
    if (bands) {
        setUpPoints(form);
        form.btnGetCoefficients->click();
    }
    setUp(form, 100000);
    form.Chart1->resize(size);
    form.btnDraw->click();
    settle();
    if (bands && !FitBands::of(*form.Chart1->chart()))
        state.SkipWithError("Draw drew no bands");
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    bool forth = true;
    for (auto _ : state) {
        step(*form.Chart1->chart(), forth = !forth);
        QPainter painter(&frame);
        form.Chart1->render(&painter);
    }
}

void BM_ZoomStep(benchmark::State& state) {
    exploreStep(state, {553, 337}, [](QChart& chart, bool in) { chart.zoom(in ? 1.25 : 0.8); });
}

void BM_ZoomStepWithBands(benchmark::State& state) {
    exploreStep(
        state, {553, 337}, [](QChart& chart, bool in) { chart.zoom(in ? 1.25 : 0.8); }, true);
}

void BM_PanStep(benchmark::State& state) {
    exploreStep(state, {553, 337},
                [](QChart& chart, bool right) { chart.scroll(right ? 20 : -20, 0); });
}

void BM_Repaint1600x1000(benchmark::State& state) {
    exploreStep(state, {1600, 1000}, [](QChart&, bool) {});
}

void BM_DrawFloor(benchmark::State& state) {
    const std::vector<double> coefficients = {2, 3, -2, 1};
    const long samples = state.range(0);
    const double step = 1.0 / double(samples - 1);
    for (auto _ : state) {
        double x = 0, sum = 0;
        for (long k = 0; k < samples; ++k, x += step) {
            const double sampleX = StrToFloat(FloatToStr(x));
            sum += StrToFloat(FloatToStr(poly(sampleX, 3, coefficients.data())));
        }
        benchmark::DoNotOptimize(sum);
    }
}

} // namespace

BENCHMARK(BM_Draw)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStepWithBands)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint1600x1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawToFirstFrame)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWithPoints)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWithPointsToFirstFrame)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
