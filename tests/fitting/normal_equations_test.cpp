#include "fitting/normal_equations.h"

#include "exact/least_squares.h"
#include "fitting/point_table.h"
#include "fitting/reference_elimination.h"
#include "support/solved_grids.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

const Grid kDefaultPoints = {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}};

class NormalEquationsTest : public ::testing::Test, public SolvedGrids {
  protected:
    // The answer grid as the normal equations leave it, before elimination.
    CellTable built(const Grid& rows, int degree) {
        CellTable answers(degree + 2, 2);
        buildNormalEquations(tableOf(2, rows), answers);
        return answers;
    }
    // The message of the error a least-squares solve ends with.
    std::string failure(const Grid& rows, int degree) {
        try {
            solveLeastSquares(rows, degree);
        } catch (const Exception& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(NormalEquationsTest, RowIHoldsTheSumsOfXToTheIPlusJAndOfXToTheITimesFx) {
    EXPECT_EQ(dataRows(built(kDefaultPoints, 3)), (Grid{{"78", "4", "10", "30", "100"},
                                                        {"264", "10", "30", "100", "354"},
                                                        {"952", "30", "100", "354", "1300"},
                                                        {"3552", "100", "354", "1300", "4890"}}));
}

// Sums of many decimals that no double holds: each text is the exact sum,
// correctly rounded to 15 digits.
TEST_F(NormalEquationsTest, EverySumIsTheExactSumToFifteenDigits) {
    Grid rows;
    std::vector<Decimal> xs, ys;
    for (int k = 1; k <= 300; ++k) {
        const std::string x = "0." + std::to_string(1000 + 7 * k), y = std::to_string(k) + ".3";
        rows.push_back({x, y});
        xs.push_back(*exactDecimal(x));
        ys.push_back(*exactDecimal(y));
    }
    const CellTable answers = built(rows, 5);
    for (int i = 0; i <= 5; ++i) {
        mpq_class weighted;
        std::vector<mpq_class> powers(11);
        for (size_t t = 0; t < xs.size(); ++t) {
            mpq_class power = 1;
            for (int k = 0; k <= 10; ++k, power *= xs[t].value()) {
                powers[size_t(k)] += power;
                if (k == i)
                    weighted += power * ys[t].value();
            }
        }
        EXPECT_EQ(answers.cell(0, i + 1), roundedText(weighted)) << "row " << i + 1;
        for (int j = 0; j <= 5; ++j)
            EXPECT_EQ(answers.cell(j + 1, i + 1), roundedText(powers[size_t(i + j)]))
                << "row " << i + 1 << ", column " << j + 1;
    }
}

// The default points at degree 3 in least squares: the exact fit passes
// through them, but the single-precision elimination of the normal
// equations does not find it.
TEST_F(NormalEquationsTest, TheSameEliminationReducesThemAsThroughThePoints) {
    CellTable reference = built(kDefaultPoints, 3);
    referenceEliminate(reference);
    solveLeastSquares(kDefaultPoints, 3);
    EXPECT_EQ(answers, reference) << "one elimination for both fits";
    const Texts values = columnTexts(coefficients, 1);
    const double expected[] = {1.9995, 3.0008, -2.0003, 1.00004};
    for (size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(StrToFloat(values[k]), expected[k], 5e-5) << k;
    EXPECT_EQ(result,
              values[0] + " + " + values[1] + "x^1 + " + values[2] + "x^2 + " + values[3] + "x^3");
}

TEST_F(NormalEquationsTest, ANoiselessQuadraticAtTwentyPointsGivesItsCoefficients) {
    Grid rows;
    for (int x = -9; x <= 10; ++x)
        rows.push_back({std::to_string(x), std::to_string(1 + 2 * x + 3 * x * x)});
    solveLeastSquares(rows, 2);
    const Texts values = columnTexts(coefficients, 1);
    EXPECT_NEAR(StrToFloat(values[0]), 1, 1e-5);
    EXPECT_NEAR(StrToFloat(values[1]), 2, 1e-5);
    EXPECT_NEAR(StrToFloat(values[2]), 3, 1e-5);
}

// A noisy quadratic: the shown fit agrees with the exact one to the 1e-5
// that single precision keeps here.
TEST_F(NormalEquationsTest, ANoisySetAgreesWithItsExactFitToFiveDigits) {
    const Grid rows = {{"-3", "19.1"}, {"-2", "9.2"}, {"-1", "2.9"},  {"0", "1.1"},
                       {"1", "2.8"},   {"2", "9.1"},  {"3.5", "25.3"}};
    solveLeastSquares(rows, 2);
    const Texts values = columnTexts(coefficients, 1);
    // The normal equations 7A + 0.5B + 31.25C = 69.5, 0.5A + 31.25B + 15.875C
    // = 30.95 and 31.25A + 15.875B + 265.0625C = 560.725, solved in fractions
    // and rounded here to 17 digits.
    EXPECT_EQ(dataRows(built(rows, 2)), (Grid{{"69.5", "7", "0.5", "31.25"},
                                              {"30.95", "0.5", "31.25", "15.875"},
                                              {"560.725", "31.25", "15.875", "265.0625"}}));
    const double exact[] = {1.0060073333668191, -0.041348612376790585, 1.9993159351238612};
    for (size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(StrToFloat(values[k]), exact[k], 1e-5 * exact[2]) << k;
}

TEST_F(NormalEquationsTest, BlankRowsAreSkippedAndAnyOtherRowIsAPoint) {
    const Grid withGaps = {{"1", "4"}, {"", ""}, {"2", "8"}, {"  ", ""}, {"3", "20"}, {"4", "46"}};
    EXPECT_EQ(built(withGaps, 3), built(kDefaultPoints, 3));
}

TEST_F(NormalEquationsTest, BadInputIsRefusedBeforeTheAnswerGridChanges) {
    const struct {
        Grid rows;
        int degree;
        std::string message;
    } cases[] = {
        {{{"1", "4"}, {"1", "5"}, {"2", "8"}, {"2", "7"}},
         3,
         "A least-squares fit of degree 3 needs at least 4 points with different x; the table "
         "has 2."},
        {{{"1", "4"}, {"2", ""}, {"3", "20"}}, 1, "Points, row 2, f(x):"},
        {{{"1", "4"}, {"2", "abc"}}, 1, "abc"},
        {{{"1", "1.7e308"}, {"2", "1.7e308"}},
         1,
         "The sum of f(x) over the 2 points is 3.4E308, beyond the range of a double."},
        {{{"1", "4"}, {"2." + std::string(45, '1'), "8"}}, 1, "at most 40 significant digits"},
        {{{"1e10", "1"}, {"2", "1"}, {"3", "1"}},
         2,
         "The sum of x^4 over the 3 points is 1E40, beyond single precision, in which the "
         "elimination runs; x in smaller units or a lower degree keeps it within."},
    };
    for (const auto& [rows, degree, message] : cases) {
        points = tableOf(2, rows);
        CellTable answers(degree + 2, 2);
        answers.setCell(0, 1, "before");
        EXPECT_THROW(buildNormalEquations(points, answers), Exception);
        EXPECT_EQ(answers.cell(0, 1), "before");
        EXPECT_NE(failure(rows, degree).find(message), std::string::npos)
            << failure(rows, degree) << "\nshould say: " << message;
    }
}

// 100,000 points at degree 190 are beyond kMaxSumWork, and degree 22, which
// the rule once refused, is not: refused before a point is read, so the cell
// that is no number goes unnamed, and the refusal comes at once.
TEST_F(NormalEquationsTest, TooMuchWorkIsRefusedBeforeThePointsAreRead) {
    points = CellTable(2, 100'001);
    for (int row = 1; row <= 100'000; ++row) {
        points.setCell(0, row, std::to_string(row));
        points.setCell(1, row, row == 7 ? "seven" : "1");
    }
    CellTable answers(192, 2);
    try {
        buildNormalEquations(points, answers);
        FAIL() << "not refused";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "A least-squares fit of degree 190 over 100000 points takes too "
                                   "long to sum exactly; take fewer points or a lower degree.");
    }
    const SummedPoints& summed = *summedPoints(points, filledRows(points), 190);
    EXPECT_TRUE(summed.tooMuchWork);
    EXPECT_TRUE(summed.rows.empty()) << "nothing read";
    EXPECT_LT(sumWork(100'000, 22), kMaxSumWork) << "about a fifth of a second";
    EXPECT_LT(sumWork(1'000'000, 40), kMaxSumWork);
    EXPECT_LT(sumWork(400, 190), kMaxSumWork) << "the highest degree, over few points";
}

} // namespace
