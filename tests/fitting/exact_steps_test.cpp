#include "fitting/exact_steps.h"

#include "support/solved_grids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(ExactSteps, TheDefaultPointsLoseNoDigit) {
    const SolveSteps steps = recordedSteps({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    const ExactSteps exact = exactSteps(steps);
    EXPECT_EQ(exact.unavailable, "");
    EXPECT_FALSE(exact.worst);
    ASSERT_EQ(exact.steps.size(), steps.steps.size());
    const StepAudit& divide = exact.steps[8]; // Row 3 ÷ 2: 4, 0, 0, 1, 6
    ASSERT_EQ(divide.cells.size(), 5u);
    EXPECT_EQ(divide.cells[0].where, "Answer");
    EXPECT_EQ(divide.cells[4].exact, "6");
    EXPECT_EQ(exact.steps.back().cells.at(0).exact, "2") << "A, by back substitution";
    EXPECT_EQ(worstStepText(steps, exact), "No step lost a digit of single precision.");
}

// x = 1 .. 10 of the polynomial with every coefficient 1, at degree 9.
TEST(ExactSteps, HighPowersMarkTheStepsThatLoseDigitsAndNameTheWorst) {
    const SolveSteps steps = recordedSteps(allOnesPoints(10));
    const ExactSteps exact = exactSteps(steps);
    ASSERT_TRUE(exact.worst);
    EXPECT_EQ(exact.mostLost, kSingleDigits);
    int marked = 0;
    for (const StepAudit& step : exact.steps)
        for (const CellAudit& cell : step.cells)
            marked += cell.off;
    EXPECT_GT(marked, 10);
    EXPECT_EQ(exact.steps[0].fewestKept, kSingleDigits) << "Build itself is exact";
    const std::string worst = worstStepText(steps, exact);
    EXPECT_EQ(worst, "step " + std::to_string(*exact.worst + 1) + ", " +
                         caption(steps, *exact.worst) + ": 7 digits lost");
    for (size_t k = 0; k < *exact.worst; ++k)
        EXPECT_LT(kSingleDigits - exact.steps[k].fewestKept, exact.mostLost)
            << "the worst is the first to lose that many";
}

// Points x = 1.11, 1.12, ..., f(x) = k: as many as there are unknowns.
Grid closePoints(int count) {
    Grid rows;
    for (int k = 1; k <= count; ++k)
        rows.push_back({"1." + std::to_string(10 + k), std::to_string(k)});
    return rows;
}

TEST(ExactSteps, BigSystemsSaySoInsteadOfWaiting) {
    const ExactSteps exact = exactSteps(recordedSteps(closePoints(kMaxExactUnknowns + 1)));
    EXPECT_EQ(exact.unavailable, "Exact values are worked out for systems of up to 30 "
                                 "unknowns; this one has 31.");
    EXPECT_FALSE(exact.worst);
    EXPECT_EQ(exactSteps(recordedSteps(closePoints(kMaxExactUnknowns))).unavailable, "")
        << "30 unknowns are worked out";
}

TEST(ExactSteps, LeastSquaresKeepsItsExactSumsUpToThirtyUnknowns) {
    for (const int unknowns : {kMaxExactUnknowns, kMaxExactUnknowns + 1}) {
        SolvedGrids grids;
        Grid rows = closePoints(unknowns + 5);
        rows.push_back({"", ""});
        SolveSteps steps;
        try {
            grids.solveLeastSquares(rows, unknowns - 1, &steps);
        } catch (const Exception&) {
            // single precision may stop; the steps stand
        }
        EXPECT_EQ(exactSteps(steps).unavailable.empty(), unknowns <= kMaxExactUnknowns)
            << unknowns << " unknowns: " << exactSteps(steps).unavailable;
    }
}

// A cell strays, and is tinted, where it stands further from its exact value
// than the check allows: 1E-5, relative. Over many solves, every cell near
// that line falls on its side of it.
TEST(ExactSteps, ACellStraysExactlyWhereTheCheckWouldCallItOff) {
    int below = 0, above = 0;
    for (int degree = 4; degree <= 9; ++degree)
        for (int shift = 0; shift < 30; ++shift) {
            Grid rows;
            for (int k = 0; k <= degree; ++k)
                rows.push_back({std::to_string(shift + 3 * k + 1), std::to_string((k * 7) % 5)});
            const SolveSteps steps = recordedSteps(rows);
            for (const StepAudit& step : exactSteps(steps).steps)
                for (const CellAudit& cell : step.cells) {
                    const double exact = std::stod(cell.exact), single = std::stod(cell.single);
                    if (exact == 0)
                        continue;
                    const double relative = std::abs(single - exact) / std::abs(exact);
                    if (relative > 0.5e-5 && relative < 0.99e-5) {
                        ++below;
                        EXPECT_FALSE(cell.off) << cell.single << " against " << cell.exact;
                    } else if (relative > 1.01e-5 && relative < 2e-5) {
                        ++above;
                        EXPECT_TRUE(cell.off) << cell.single << " against " << cell.exact;
                    }
                }
        }
    EXPECT_GT(below, 0) << "no cell came near the line from below";
    EXPECT_GT(above, 0) << "no cell came near the line from above";
}

} // namespace

namespace {

// Least squares replays its normal equations against their exact sums.
TEST(ExactSteps, LeastSquaresFollowsTheExactNormalEquations) {
    CellTable points = tableOf(2, {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}, {"", ""}});
    CellTable answers(5, 2),
        coefficients = tableOf(2, {{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}});
    SolveSteps steps;
    solveCoefficients(points, answers, coefficients, FitKind::leastSquares(), &steps);
    const ExactSteps exact = exactSteps(steps);
    EXPECT_EQ(exact.unavailable, "");
    ASSERT_EQ(exact.steps[0].cells.size(), 20u) << "the normal equations, built";
    EXPECT_EQ(exact.steps[0].cells[0].exact, "78");
    EXPECT_EQ(exact.steps.back().cells.at(0).exact, "2") << "A of the exact fit";
    EXPECT_GE(exact.mostLost, 3) << "what the check's tooltip reports, step by step";
}

} // namespace
