#include "plot/fit_bands.h"

#include "plot/chart_view.h"
#include "plot/function_plot.h"
#include "support/tarvel_test.h"

#include <QChart>
#include <QCoreApplication>

#include <cmath>

namespace {

// The line y = 1/6 + x/2 fitted to (0, 0), (1, 1), (2, 1): s² = 1/6 with one
// degree of freedom; in t = x - 1 the normal matrix is diag(3, 2).
BandBasis lineBasis() {
    return {std::sqrt(1.0 / 6), 1, 1, 1, {1.0 / 3, 0, 0, 0.5}};
}

class FitBandsOnAChart : public TarvelTest {};

TEST_F(FitBandsOnAChart, DrawSurroundsTheCurveWithBothBandsAndSaysWhichIsWhich) {
    ChartView view{new QChart, nullptr};
    view.resize(553, 337);
    view.show();
    const CellTable coefficients = tableOf(2, {{"A", "0.166666666666667"}, {"B", "0.5"}});
    std::string rx, rfx;
    const BandBasis basis = lineBasis();
    drawFunction(*view.chart(), "0", "2", "0.5", coefficients, 1, rx, rfx, nullptr, false, &basis);
    QCoreApplication::processEvents();
    const FitBands* bands = FitBands::of(*view.chart());
    ASSERT_NE(bands, nullptr);
    const FitBands::Edges& edges = bands->edges();
    ASSERT_EQ(edges.positions.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        const double fitted = 1.0 / 6 + 0.25 * double(k);
        EXPECT_NEAR(edges.confidenceLow[k] + edges.confidenceHigh[k], 2 * fitted, 1e-12);
        EXPECT_LT(edges.predictionLow[k], edges.confidenceLow[k]);
        EXPECT_GT(edges.predictionHigh[k], edges.confidenceHigh[k]);
    }
    EXPECT_LT(edges.confidenceHigh[2] - edges.confidenceLow[2],
              edges.confidenceHigh[0] - edges.confidenceLow[0])
        << "narrowest at the points' middle";
    EXPECT_EQ(bands->legend(), "- - 95 % confidence band   · · 95 % prediction band");
    drawFunction(*view.chart(), "0", "2", "0.5", coefficients, 1, rx, rfx);
    EXPECT_EQ(FitBands::of(*view.chart()), nullptr) << "a Draw without bands removes them";
}

} // namespace
