#include "fitting/solve_steps.h"

#include "fitting/reference_elimination.h"
#include "support/solved_grids.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const Grid kDefaultPoints = {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}};

class SolveStepsTest : public ::testing::Test, public SolvedGrids {
  protected:
    // Solves as the window does, recording; the message of a failure, or "".
    std::string solveRecording(const Grid& rows) {
        try {
            solve(rows, &steps);
        } catch (const Exception& error) {
            return error.what();
        }
        return "";
    }
    Texts captions() const {
        Texts texts;
        for (size_t k = 0; k < steps.steps.size(); ++k)
            texts.push_back(caption(steps, k));
        return texts;
    }

    SolveSteps steps;
};

TEST_F(SolveStepsTest, TheDefaultPointsGiveTheWorkedExamplesStepsInOrder) {
    ASSERT_EQ(solveRecording(kDefaultPoints), "");
    EXPECT_EQ(captions(),
              (Texts{"Build", "Row 1 ÷ 1", "Row 2 − 1 × Row 1", "Row 3 − 1 × Row 1",
                     "Row 4 − 1 × Row 1", "Row 2 ÷ 1", "Row 3 − 2 × Row 2", "Row 4 − 3 × Row 2",
                     "Row 3 ÷ 2", "Row 4 − 6 × Row 3", "Row 4 ÷ 6", "D = 1", "C = 4 − 6 × 1",
                     "B = 4 − 7 × 1 − 3 × -2", "A = 4 − 1 × 1 − 1 × -2 − 1 × 3"}));
    EXPECT_EQ(steps.failure, "");
}

TEST_F(SolveStepsTest, RecordingChangesNothingTheSolveWrites) {
    solve(allOnesPoints(8));
    const CellTable plainAnswers = answers, plainCoefficients = coefficients;
    const std::string plainResult = result;
    ASSERT_EQ(solveRecording(allOnesPoints(8)), "");
    EXPECT_EQ(answers, plainAnswers);
    EXPECT_EQ(coefficients, plainCoefficients);
    EXPECT_EQ(result, plainResult);
}

// Random systems, some of them failing part-way: after every step the
// replayed grid is the step-by-step reference's after as many operations.
TEST_F(SolveStepsTest, EveryStepsSystemIsTheReferencesAfterAsManyOperations) {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> size(2, 7), digit(-9, 9);
    for (int system = 0; system < 60; ++system) {
        Grid rows;
        const int n = size(random);
        for (int k = 0; k < n; ++k)
            rows.push_back(
                {std::to_string(digit(random)) + "." + std::to_string(std::abs(digit(random))),
                 std::to_string(digit(random))});
        solveRecording(rows);
        EXPECT_EQ(dataRows(systemAfter(steps, steps.steps.size() - 1)), dataRows(answers))
            << "system " << system << ": the replay ends where the solve did";
        const CellTable built = builtSystem(steps);
        for (size_t k = 0; k < steps.steps.size(); ++k) {
            if (steps.steps[k].kind == SolveStep::Kind::substitute)
                break;
            CellTable reference = built;
            try {
                referenceEliminate(reference, k);
            } catch (const Exception&) {
            }
            ASSERT_EQ(dataRows(systemAfter(steps, k)), dataRows(reference))
                << "system " << system << ", step " << k << ": " << caption(steps, k);
        }
    }
}

TEST_F(SolveStepsTest, AZeroPivotEndsTheListWithTheMessage) {
    const std::string failure = solveRecording({{"1", "4"}, {"1", "5"}, {"3", "20"}, {"4", "46"}});
    EXPECT_EQ(failure, "Floating point division by zero");
    EXPECT_EQ(steps.failure, failure);
    ASSERT_EQ(steps.steps.size(), 6u);
    EXPECT_EQ(caption(steps, 5), "Row 2 ÷ 0");
    EXPECT_EQ(dataRows(systemAfter(steps, 5)), dataRows(answers)) << "as the failure left it";
}

TEST_F(SolveStepsTest, ABadXEndsTheListAtBuild) {
    EXPECT_NE(solveRecording({{"1", "4"}, {"x", "5"}, {"3", "20"}}), "");
    EXPECT_EQ(captions(), Texts{"Build"});
    EXPECT_EQ(dataRows(systemAfter(steps, 0)), dataRows(answers));
}

} // namespace
