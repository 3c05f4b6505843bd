#include "support/tarvel_test.h"

#include "fitting/solver.h"
#include "toolkit/error_display.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using Texts = std::vector<std::string>;
using Grid = std::vector<Texts>;

class Solver : public TarvelTest {
  protected:
    void setPoints(const Grid& points) {
        for (size_t r = 0; r < points.size(); ++r) {
            form.sgdResult->setCell(0, int(r) + 1, points[r][0]);
            form.sgdResult->setCell(1, int(r) + 1, points[r][1]);
        }
    }
    void generate(const char* degree) {
        form.txtDegree->setText(degree);
        form.btnGenerate->click();
    }
    void solve() { form.btnGetCoefficients->click(); }
    // Equation rows 1 .. rowCount - 1 of the answer grid.
    Grid answer() const {
        Grid rows;
        for (int r = 1; r < form.sgdAns1->cells().rowCount(); ++r)
            rows.push_back(rowTexts(form.sgdAns1->cells(), r));
        return rows;
    }
    Texts coefficients() const { return columnTexts(form.sdgCoefficients->cells(), 1); }
    std::string result() const { return form.txtResult->text().toStdString(); }

    TForm1 form;
};

TEST_F(Solver, BuildsTheSystemOfTheDefaultPoints) {
    buildSystem(form.sgdResult->cells(), form.sgdAns1->cells());
    EXPECT_EQ(answer(), (Grid{{"4", "1", "1", "1", "1"},
                              {"8", "1", "2", "4", "8"},
                              {"20", "1", "3", "9", "27"},
                              {"46", "1", "4", "16", "64"}}));
}

TEST_F(Solver, SolvesTheDefaultPointsAndShowsTheReducedSystem) {
    solve();
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(answer(), (Grid{{"4", "1", "1", "1", "1"},
                              {"4", "0", "1", "3", "7"},
                              {"4", "0", "0", "1", "6"},
                              {"1", "0", "0", "0", "1"}}));
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(result(), "2 + 3x^1 + -2x^2 + 1x^3");
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 0), (Texts{"Answer", "A", "B", "C", "D"}));
}

TEST_F(Solver, ARepeatedClickGivesTheSameGrids) {
    solve();
    const Grid first = answer();
    form.sgdAns1->cells().setRowCount(9);
    solve();
    EXPECT_EQ(answer(), first);
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), 5);
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
}

TEST_F(Solver, ShowsSinglePrecisionResultsWithFifteenDigits) {
    generate("2");
    setPoints({{"0", "0.1"}, {"1", "1.1"}, {"2", "4.1"}});
    buildSystem(form.sgdResult->cells(), form.sgdAns1->cells());
    EXPECT_EQ(answer(),
              (Grid{{"0.1", "1", "0", "0"}, {"1.1", "1", "1", "1"}, {"4.1", "1", "2", "4"}}));
    solve();
    EXPECT_EQ(answer(), (Grid{{"0.1", "1", "0", "0"}, {"1", "0", "1", "1"}, {"1", "0", "0", "1"}}));
    EXPECT_EQ(coefficients(), (Texts{"0.100000001490116", "0", "1"}));
    EXPECT_EQ(result(), "0.100000001490116 + 0x^1 + 1x^2");
}

TEST_F(Solver, ReducesXToSinglePrecisionBeforeThePowers) {
    setPoints({{"0.1", "1"}, {"1E-50", "1"}});
    buildSystem(form.sgdResult->cells(), form.sgdAns1->cells());
    EXPECT_EQ(form.sgdAns1->cells().cell(1, 1), "1");
    EXPECT_EQ(form.sgdAns1->cells().cell(2, 1), "0.100000001490116");
    EXPECT_EQ(form.sgdAns1->cells().cell(3, 1), "0.0100000002980232");
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 2), (Texts{"1", "1", "0", "0", "0"})) << "1E-50 is zero";
}

TEST_F(Solver, CopiesTheFxTextVerbatimUntilEliminationRewritesIt) {
    setPoints({{"1", "4.0"}});
    buildSystem(form.sgdResult->cells(), form.sgdAns1->cells());
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 1), "4.0");
    solve();
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 1), "4");
}

TEST_F(Solver, NormalisesByThePivotAsRead) {
    // A pivot whose text is no single-precision value leaves no exact 1.
    form.sgdAns1->cells().setColCount(2);
    form.sgdAns1->setCell(0, 1, "0.2");
    form.sgdAns1->setCell(1, 1, "0.1");
    eliminate(form.sgdAns1->cells());
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 1), (Texts{"1.99999997019768", "0.999999985098839"}));
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
    void expectOnlyError(const QString& message) {
        EXPECT_EQ(errors(), QStringList{message});
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

TEST_F(SolverFailure, ANulByteInACellShowsInTheMessageInsteadOfEndingIt) {
    setPoints({{"1", "4"}, {"2", "8"}, {"3", std::string("1\0" "2", 3)}});
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
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
    EXPECT_EQ(form.sgdAns1->cells().cell(31, 1), "1E300");
    EXPECT_EQ(form.sgdAns1->cells().cell(32, 1), "") << "1E310 is never written";
}

TEST_F(SolverFailure, AnOverflowInBackSubstitutionRestoresTheCoefficients) {
    // A reduced system whose solution leaves the single range.
    form.sgdAns1->cells().setRowCount(5);
    const Grid reduced = {{"3E38", "1", "0", "0", "-3E38"},
                          {"0", "0", "1", "0", "0"},
                          {"0", "0", "0", "1", "0"},
                          {"1", "0", "0", "0", "1"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 5; ++c)
            form.sgdAns1->setCell(c, r + 1, reduced[r][c]);
    guarded([&] { backSubstitute(form.sgdAns1->cells(), form.sdgCoefficients->cells()); });
    EXPECT_EQ(errors(), QStringList{"Floating point overflow"});
}

// The user's way: typing the points into the grid and clicking with the mouse.
TEST_F(Solver, TypedPointsAndMouseClicksGiveTheSameResult) {
    ASSERT_TRUE(showActive(form));
    QTest::mouseClick(form.btnClear, Qt::LeftButton);
    QCoreApplication::processEvents(); // as the event loop does before the next key
    StringGrid& grid = *form.sgdResult;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(0, 0)).center());
    const Texts cells = {"1", "4", "2", "8", "3", "20", "4", "46"};
    for (size_t i = 0; i < cells.size(); ++i) {
        typeIntoCell(grid, QString::fromStdString(cells[i]));
        if (i + 1 == cells.size())
            break; // the last editor stays open: the click commits it
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QTest::keyClick(&grid, i % 2 == 0 ? Qt::Key_Right : Qt::Key_Down);
        if (i % 2 == 1)
            QTest::keyClick(&grid, Qt::Key_Left);
    }
    QTest::mouseClick(form.btnGetCoefficients, Qt::LeftButton);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(coefficients(), (Texts{"2", "3", "-2", "1"}));
    EXPECT_EQ(result(), "2 + 3x^1 + -2x^2 + 1x^3");
}

} // namespace
