#include "fitting/solver.h"

#include "fitting/reference_elimination.h"
#include "model/coefficient_template.h"
#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The solver on the window's three tables as they stand at start: the
// degree-3 template and the four default points.
class Solver : public ::testing::Test {
  protected:
    void SetUp() override {
        generate("3");
        setPoints({{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    }
    void setPoints(const Grid& rows) {
        for (size_t r = 0; r < rows.size(); ++r) {
            points.setCell(0, int(r) + 1, rows[r][0]);
            points.setCell(1, int(r) + 1, rows[r][1]);
        }
    }
    void generate(const char* degree) {
        FitKind::throughPoints().sizeTable(
            points, generateTemplate(degree, letters, coefficientTable, answerTable).degree);
    }
    // GetCoefficients: the Result text on success, the message on failure.
    void solve() {
        try {
            resultText = solveCoefficients(points, answerTable, coefficientTable);
        } catch (const Exception& error) {
            errors.push_back(error.what());
        }
    }
    Grid answer() const { return dataRows(answerTable); }
    Texts coefficients() const { return columnTexts(coefficientTable, 1); }
    std::string result() const { return resultText; }

    CellTable points{2, 2}, coefficientTable{2, 2}, answerTable{2, 2};
    std::vector<std::string> letters;
    std::string resultText;
    Texts errors;
};

TEST_F(Solver, BuildsTheSystemOfTheDefaultPoints) {
    buildSystem(points, answerTable);
    EXPECT_EQ(answer(), (Grid{{"4", "1", "1", "1", "1"},
                              {"8", "1", "2", "4", "8"},
                              {"20", "1", "3", "9", "27"},
                              {"46", "1", "4", "16", "64"}}));
}

TEST_F(Solver, SolvesTheDefaultPointsAndShowsTheReducedSystem) {
    solve();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(answer(), (Grid{{"4", "1", "1", "1", "1"},
                              {"4", "0", "1", "3", "7"},
                              {"4", "0", "0", "1", "6"},
                              {"1", "0", "0", "0", "1"}}));
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(result(), "2 + 3x^1 + -2x^2 + 1x^3");
    EXPECT_EQ(rowTexts(answerTable, 0), (Texts{"Answer", "A", "B", "C", "D"}));
}

TEST_F(Solver, ARepeatedClickGivesTheSameGrids) {
    solve();
    const Grid first = answer();
    answerTable.setRowCount(9);
    solve();
    EXPECT_EQ(answer(), first);
    EXPECT_EQ(answerTable.rowCount(), 5);
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
}

TEST_F(Solver, ShowsSinglePrecisionResultsWithFifteenDigits) {
    generate("2");
    setPoints({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    buildSystem(points, answerTable);
    EXPECT_EQ(answer(),
              (Grid{{"0.1", "1", "0", "0"}, {"1.1", "1", "1", "1"}, {"4.1", "1", "2", "4"}}));
    solve();
    EXPECT_EQ(answer(), (Grid{{"0.1", "1", "0", "0"}, {"1", "0", "1", "1"}, {"1", "0", "0", "1"}}));
    EXPECT_EQ(coefficients(), (Texts{"0.100000001490116", "0", "1"}));
    EXPECT_EQ(result(), "0.100000001490116 + 0x^1 + 1x^2");
}

TEST_F(Solver, ReducesXToSinglePrecisionBeforeThePowers) {
    setPoints({{"0.1", "1"}, {"1E-50", "1"}});
    buildSystem(points, answerTable);
    EXPECT_EQ(answerTable.cell(1, 1), "1");
    EXPECT_EQ(answerTable.cell(2, 1), "0.100000001490116");
    EXPECT_EQ(answerTable.cell(3, 1), "0.0100000002980232");
    EXPECT_EQ(rowTexts(answerTable, 2), (Texts{"1", "1", "0", "0", "0"})) << "1E-50 is zero";
}

TEST_F(Solver, CopiesTheFxTextVerbatimUntilEliminationRewritesIt) {
    setPoints({{"1", "4.0"}});
    buildSystem(points, answerTable);
    EXPECT_EQ(answerTable.cell(0, 1), "4.0");
    solve();
    EXPECT_EQ(answerTable.cell(0, 1), "4");
}

TEST_F(Solver, NormalisesByThePivotAsRead) {
    // A pivot whose text is no single-precision value leaves no exact 1.
    answerTable.setColCount(2);
    answerTable.setCell(0, 1, "0.2");
    answerTable.setCell(1, 1, "0.1");
    eliminate(answerTable);
    EXPECT_EQ(rowTexts(answerTable, 1), (Texts{"1.99999997019768", "0.999999985098839"}));
}

// Failures end the click where they stand; the coefficients and the result
// text keep what they had.
class SolverFailure : public Solver {
  protected:
    void SetUp() override {
        Solver::SetUp();
        solve(); // a first, good solve to keep
        ASSERT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
    }
    void expectOnlyError(const std::string& message) {
        EXPECT_EQ(errors, Texts{message});
        EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
        EXPECT_EQ(result(), "2 + 3x^1 + -2x^2 + 1x^3");
    }
};

TEST_F(SolverFailure, ADuplicateXStopsAtAZeroPivot) {
    setPoints({{"1", "4"}, {"1", "5"}});
    solve();
    expectOnlyError("Floating point division by zero");
    EXPECT_EQ(answer(), (Grid{{"4", "1", "1", "1", "1"},
                              {"1", "0", "0", "0", "0"},
                              {"16", "0", "2", "8", "26"},
                              {"42", "0", "3", "15", "63"}}));
}

TEST_F(SolverFailure, ABlankRowStopsTheBuildAtThatRow) {
    setPoints({{"1", "4"}, {"2", "8"}, {"", "20"}});
    solve();
    expectOnlyError("Points, row 3, x: '\u2068\u2069' is not a valid floating point value");
    EXPECT_EQ(answer(),
              (Grid{{"4", "1", "1", "1", "1"}, {"8", "1", "2", "4", "8"}, {"20", "", "", "", ""}}));
}

TEST_F(SolverFailure, ABadFirstXLeavesOnlyItsFxInTheClearedGrid) {
    setPoints({{"one", "4"}});
    solve();
    expectOnlyError("Points, row 1, x: '\u2068one\u2069' is not a valid floating point value");
    EXPECT_EQ(answer(), (Grid{{"4", "", "", "", ""}})) << "nothing of the last solve is left";
}

TEST_F(SolverFailure, ANonNumericFxFailsAtItsFirstRead) {
    setPoints({{"1", "4"}, {"2", "8"}, {"3", "abc"}});
    solve();
    expectOnlyError("Points, row 3, f(x): '\u2068abc\u2069' is not a valid floating point value");
    EXPECT_EQ(answer()[1], (Texts{"4", "0", "1", "3", "7"})) << "pivot 1 reached row 2";
    EXPECT_EQ(answer()[2], (Texts{"abc", "1", "3", "9", "27"}));
}

TEST_F(SolverFailure, ANonNumericFirstFxFailsWhileNormalisingRowOne) {
    setPoints({{"1", "four"}});
    solve();
    expectOnlyError("Points, row 1, f(x): '\u2068four\u2069' is not a valid floating point value");
    EXPECT_EQ(answer()[0], (Texts{"four", "1", "1", "1", "1"}));
}

// The largest double, 1.7976931348623157E308, is a number, but its 15-digit
// text once row 1 is normalised, 1.79769313486232E308, is beyond a double:
// the cell holds that text, and the read of it names the cell, as the
// step-by-step elimination would.
TEST_F(SolverFailure, AValueWrittenBeyondADoubleFailsWhereItIsReadNamingItsCell) {
    setPoints({{"1", "1.7976931348623157E308"}, {"2", "8"}, {"3", "20"}, {"4", "46"}});
    CellTable expected = answerTable;
    solve();
    expectOnlyError("Answer, row 1, Answer: '\u20681.79769313486232E308\u2069' is beyond the "
                    "range of a double");
    EXPECT_EQ(answer()[0], (Texts{"1.79769313486232E308", "1", "1", "1", "1"}));
    buildSystem(points, expected);
    try {
        referenceEliminate(expected);
    } catch (const Exception&) {
    }
    EXPECT_EQ(dataRows(answerTable), dataRows(expected))
        << "as the text-by-text elimination leaves it";
}

TEST_F(SolverFailure, ANulByteInACellShowsInTheMessageInsteadOfEndingIt) {
    setPoints({{"1", "4"},
               {"2", "8"},
               {"3", std::string("1\0"
                                 "2",
                                 3)}});
    solve();
    expectOnlyError("Points, row 3, f(x): '\u20681\uFFFD2\u2069' is not a valid floating point "
                    "value");
}

TEST_F(SolverFailure, AnXBeyondSinglePrecisionOverflows) {
    setPoints({{"1E39", "4"}});
    solve();
    expectOnlyError("Floating point overflow");
}

TEST_F(SolverFailure, APowerBeyondSinglePrecisionOverflowsInTheElimination) {
    setPoints({{"1E13", "4"}}); // 1E39 is no single-precision value
    solve();
    expectOnlyError("Floating point overflow");
    for (const Texts& row : answer())
        for (const std::string& cell : row)
            EXPECT_EQ(cell.find_first_of("iInN"), std::string::npos) << cell;
}

TEST_F(SolverFailure, APowerBeyondDoublePrecisionOverflowsInTheBuild) {
    generate("40");
    setPoints({{"1E10", "1"}});
    solve();
    EXPECT_EQ(errors, Texts{"Floating point overflow"});
    EXPECT_EQ(answerTable.cell(31, 1), "1E300");
    EXPECT_EQ(answerTable.cell(32, 1), "") << "1E310 is never written";
}

TEST_F(SolverFailure, AnOverflowInBackSubstitutionRestoresTheCoefficients) {
    // A reduced system whose solution leaves the single range.
    answerTable.setRowCount(5);
    const Grid reduced = {{"3E38", "1", "0", "0", "-3E38"},
                          {"0", "0", "1", "0", "0"},
                          {"0", "0", "0", "1", "0"},
                          {"1", "0", "0", "0", "1"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            answerTable.setCell(c, r + 1, reduced[r][c]);
    coefficientTable.setCell(1, 4, "written");
    EXPECT_THROW(backSubstitute(answerTable, coefficientTable), EMathError);
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "written"}))
        << "row 4 was solved before row 1 overflowed; the old texts are back";
}

// The solver's elimination against the reference on random systems: each
// cell a text that rounds at 15 digits, a zero, a tiny or huge magnitude, a
// text with spaces, or no number at all (mostly in column 0, where f(x) stands).
std::string randomText(std::mt19937& random, int col) {
    std::uniform_int_distribution<int> kind(0, 9), small(-9, 9);
    std::uniform_real_distribution<double> unit(-1, 1);
    char text[64];
    switch (kind(random)) {
    case 0:
        return "0";
    case 1:
        std::snprintf(text, sizeof text, "%.20f", unit(random)); // rounds at 15 digits
        return text;
    case 2:
        std::snprintf(text, sizeof text, "%dE%d", small(random),
                      30 + small(random)); // near the float limit
        return text;
    case 3:
        std::snprintf(text, sizeof text, "%dE-%d", small(random),
                      40 + small(random)); // below floats
        return text;
    case 4:
        std::snprintf(text, sizeof text, "%dE%d", small(random), 300 + small(random));
        return text;
    case 5:
        std::snprintf(text, sizeof text, "  %d ", small(random));
        return text;
    case 6:
        return kind(random) < (col == 0 ? 3 : 1) ? (kind(random) < 5 ? "abc" : "") : "1";
    default:
        std::snprintf(text, sizeof text, "%.9g", unit(random) * 100);
        return text;
    }
}

// The message of the error `eliminate` raises, or "" when none.
template <class Eliminate> std::string run(Eliminate eliminateOn, CellTable& grid) {
    try {
        eliminateOn(grid);
    } catch (const Exception& error) {
        return error.what();
    }
    return "";
}

TEST(Elimination, LeavesEveryCellAsTheTextByTextEliminationDoes) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> size(1, 7), skew(0, 5);
    int failures = 0, completions = 0;
    for (int system = 0; system < 5000; ++system) {
        const int equations = size(random);
        const int cols = equations + 1 + (skew(random) == 0 ? 1 : 0) - (skew(random) == 0 ? 1 : 0);
        CellTable grid(cols, equations + 1);
        for (int r = 1; r <= equations; ++r)
            for (int c = 0; c < cols; ++c)
                grid.setCell(c, r, randomText(random, c));
        CellTable expected = grid;
        const std::string expectedError =
            run([](CellTable& g) { referenceEliminate(g); }, expected);
        const std::string error = run([](CellTable& g) { eliminate(g); }, grid);
        ASSERT_EQ(error, expectedError) << "system " << system;
        ASSERT_EQ(dataRows(grid), dataRows(expected)) << "system " << system;
        (expectedError.empty() ? completions : failures)++;
    }
    EXPECT_GT(failures, 500) << "errors part-way are well represented";
    EXPECT_GT(completions, 500);
}

} // namespace
