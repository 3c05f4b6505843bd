#include "support/tarvel_test.h"

#include "model/coefficient_template.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

using Texts = std::vector<std::string>;

class GenerateTest : public TarvelTest {
  protected:
    void generate(const char* degreeText) {
        form.txtDegree->setText(QString::fromUtf8(degreeText));
        form.btnGenerate->click();
    }
    std::string fx1() const { return form.txtFx1->text().toStdString(); }
    std::string fx2() const { return form.txtFx2->text().toStdString(); }

    TForm1 form;
};

struct WorkedExample {
    const char* degreeText;
    int degree;
    int gridSize; // rows of the point table and the coefficient grid, columns of the answer grid
    Texts letters;
    const char* expanded;
    const char* nested;
};

class GenerateExample : public GenerateTest, public ::testing::WithParamInterface<WorkedExample> {};

TEST_P(GenerateExample, WritesLettersSizesAndBothForms) {
    const WorkedExample& example = GetParam();
    generate(example.degreeText);
    EXPECT_EQ(TForm1State::degree(form), example.degree);
    EXPECT_EQ(TForm1State::coefNames(form), example.letters);
    EXPECT_EQ(fx1(), example.expanded);
    EXPECT_EQ(fx2(), example.nested);
    EXPECT_EQ(form.sgdResult->cells().rowCount(), example.gridSize);
    EXPECT_EQ(form.sdgCoefficients->cells().rowCount(), example.gridSize);
    EXPECT_EQ(form.sgdAns1->cells().colCount(), example.gridSize);
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), 2);
    EXPECT_EQ(form.sgdAns1->cells().cell(0, 0), "Answer");
    for (size_t i = 0; i < example.letters.size(); ++i) {
        EXPECT_EQ(form.sdgCoefficients->cells().cell(0, int(i) + 1), example.letters[i]);
        EXPECT_EQ(form.sgdAns1->cells().cell(int(i) + 1, 0), example.letters[i]);
    }
    EXPECT_TRUE(errors().isEmpty());
}

// Degrees 0 and 1 resize the grids too, so the solver always fits the
// degree that f(x) and the plot use.
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, GenerateExample,
    ::testing::Values(
        WorkedExample{"4",
                      4,
                      6,
                      {"A", "B", "C", "D", "E"},
                      "A + Bx^1 + Cx^2 + Dx^3 + Ex^4",
                      "(((Ex + D)x + C)x + B)x + A"},
        WorkedExample{
            "3", 3, 5, {"A", "B", "C", "D"}, "A + Bx^1 + Cx^2 + Dx^3", "((Dx + C)x + B)x + A"},
        WorkedExample{"2", 2, 4, {"A", "B", "C"}, "A + Bx^1 + Cx^2", "(Cx + B)x + A"},
        WorkedExample{"1", 1, 3, {"A", "B"}, "A + Bx^1", "(B)x + A"},
        WorkedExample{"0", 0, 2, {"A"}, "A", "A"},
        WorkedExample{" 2 ", 2, 4, {"A", "B", "C"}, "A + Bx^1 + Cx^2", "(Cx + B)x + A"}));

class GenerateRefusesDegree : public GenerateTest,
                              public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(GenerateRefusesDegree, NegativeOrNonIntegerDegreesResizeNothing) {
    generate(GetParam().first);
    EXPECT_EQ(TForm1State::degree(form), GetParam().second);
    EXPECT_TRUE(TForm1State::coefNames(form).empty());
    EXPECT_EQ(fx1(), "");
    EXPECT_EQ(fx2(), "");
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 5);
    EXPECT_EQ(form.sgdAns1->cells().colCount(), 5);
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 0), (Texts{"A", "B", "C", "D"}));
    EXPECT_TRUE(errors().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Texts, GenerateRefusesDegree,
                         ::testing::Values(std::pair{"-1", -1}, std::pair{"-5", -5},
                                           std::pair{"abc", -1}, std::pair{"", -1},
                                           std::pair{"2.0", -1}, std::pair{"99999999999", -1}));

TEST_F(GenerateTest, ChangingTheDegreeKeepsPointsAndValuesInTheRowsThatRemain) {
    form.sdgCoefficients->setCell(1, 1, "2");
    form.sdgCoefficients->setCell(1, 4, "1");
    generate("2");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"2", "", ""}));
    generate("4");
    EXPECT_EQ(columnTexts(form.sgdResult->cells(), 0), (Texts{"1", "2", "3", "", ""}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 0), (Texts{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(columnTexts(form.sdgCoefficients->cells(), 1), (Texts{"2", "", "", "", ""}));
}

TEST_F(GenerateTest, CutsTheAnswerGridBackToOneDataRow) {
    form.sgdAns1->cells().setRowCount(5);
    form.sgdAns1->sync();
    form.sgdAns1->setCell(1, 1, "kept");
    form.sgdAns1->setCell(1, 4, "dropped");
    generate("3");
    EXPECT_EQ(form.sgdAns1->cells().rowCount(), 2);
    EXPECT_EQ(form.sgdAns1->cells().cell(1, 1), "kept");
    EXPECT_EQ(rowTexts(form.sgdAns1->cells(), 0), (Texts{"Answer", "A", "B", "C", "D"}));
}

TEST_F(GenerateTest, DegreesPastZGoOnThroughTheCharacterCodes) {
    generate("26");
    EXPECT_TRUE(fx1().ends_with("Yx^24 + Zx^25 + [x^26")) << fx1();
    EXPECT_TRUE(fx2().starts_with(std::string(25, '(') + "[x + Z)x + Y)x")) << fx2();
    generate("57");
    const Texts& letters = TForm1State::coefNames(form);
    EXPECT_EQ(letters[26] + letters[27] + letters[28] + letters[29] + letters[30] + letters[31],
              "[\\]^_`");
    EXPECT_EQ(letters[32], "a");
    EXPECT_EQ(letters[57], "z");
}

TEST_F(GenerateTest, TheLargestDegreeEndsAtCode255) {
    generate("190");
    EXPECT_EQ(TForm1State::degree(form), 190);
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 192);
    EXPECT_EQ(form.sgdAns1->cells().colCount(), 192);
    EXPECT_EQ(form.sdgCoefficients->cells().cell(0, 191), "\xc3\xbf"); // y with diaeresis
    EXPECT_EQ(coefficientLetter(62), "\x7f");
    EXPECT_EQ(coefficientLetter(63), "\xc2\x80");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(GenerateTest, RefusesDegreesAbove190BeforeAnythingChanges) {
    generate("191");
    EXPECT_EQ(errors(), QStringList{"Degree 191 is too large: the largest degree is 190"});
    EXPECT_EQ(TForm1State::degree(form), 3);
    EXPECT_EQ(TForm1State::coefNames(form), (Texts{"A", "B", "C", "D"}));
    EXPECT_EQ(fx1(), "A + Bx^1 + Cx^2 + Dx^3");
    EXPECT_EQ(form.sgdResult->cells().rowCount(), 5);
    generate("2147483647");
    EXPECT_EQ(errors().size(), 2);
    EXPECT_EQ(TForm1State::degree(form), 3);
}

TEST(TemplateForms, FollowTheLettersGiven) {
    EXPECT_EQ(expandedForm({}), "");
    EXPECT_EQ(nestedForm({}), "");
    EXPECT_EQ(nestedForm({"p", "q", "r", "s"}), "((sx + r)x + q)x + p");
}

} // namespace
