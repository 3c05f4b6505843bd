#include "model/coefficient_template.h"

#include "support/cells.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

// The template's grids as the window starts: degree 3.
class GenerateTest : public ::testing::Test {
  protected:
    GenerateTest() { generate("3"); }
    GeneratedTemplate generate(const char* degreeText) {
        return generateTemplate(degreeText, coefNames, coefficients, answers);
    }

    Texts coefNames;
    CellTable coefficients{2, 2}, answers{2, 2};
};

struct WorkedExample {
    const char* degreeText;
    int degree;
    int gridSize; // rows of the coefficient grid, columns of the answer grid
    Texts letters;
    const char* expanded;
    const char* nested;
};

class GenerateExample : public GenerateTest, public ::testing::WithParamInterface<WorkedExample> {};

TEST_P(GenerateExample, WritesLettersSizesAndBothForms) {
    const WorkedExample& example = GetParam();
    const GeneratedTemplate generated = generate(example.degreeText);
    EXPECT_EQ(generated.degree, example.degree);
    EXPECT_EQ(generated.expanded, example.expanded);
    EXPECT_EQ(generated.nested, example.nested);
    EXPECT_EQ(coefNames, example.letters);
    EXPECT_EQ(coefficients.rowCount(), example.gridSize);
    EXPECT_EQ(answers.colCount(), example.gridSize);
    EXPECT_EQ(answers.rowCount(), 2);
    EXPECT_EQ(columnTexts(coefficients, 0), example.letters);
    Texts header = example.letters;
    header.insert(header.begin(), "Answer");
    EXPECT_EQ(rowTexts(answers, 0), header);
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

TEST_P(GenerateRefusesDegree, NegativeOrNonIntegerDegreesClearTheLettersAndResizeNothing) {
    const GeneratedTemplate generated = generate(GetParam().first);
    EXPECT_EQ(generated.degree, GetParam().second);
    EXPECT_EQ(generated.expanded, "");
    EXPECT_EQ(generated.nested, "");
    EXPECT_TRUE(coefNames.empty());
    EXPECT_EQ(answers.colCount(), 5);
    EXPECT_EQ(columnTexts(coefficients, 0), (Texts{"A", "B", "C", "D"}));
}

INSTANTIATE_TEST_SUITE_P(Texts, GenerateRefusesDegree,
                         ::testing::Values(std::pair{"-1", -1}, std::pair{"-5", -5},
                                           std::pair{"abc", -1}, std::pair{"", -1},
                                           std::pair{"2.0", -1}, std::pair{"99999999999", -1}));

TEST_F(GenerateTest, ChangingTheDegreeKeepsValuesInTheRowsThatRemain) {
    coefficients.setCell(1, 1, "2");
    coefficients.setCell(1, 4, "1");
    generate("2");
    EXPECT_EQ(columnTexts(coefficients, 1), (Texts{"2", "", ""}));
    generate("4");
    EXPECT_EQ(columnTexts(coefficients, 0), (Texts{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(columnTexts(coefficients, 1), (Texts{"2", "", "", "", ""}));
}

TEST_F(GenerateTest, CutsTheAnswerGridBackToOneDataRow) {
    answers.setRowCount(5);
    answers.setCell(1, 1, "kept");
    answers.setCell(1, 4, "dropped");
    generate("3");
    EXPECT_EQ(answers.rowCount(), 2);
    EXPECT_EQ(answers.cell(1, 1), "kept");
}

TEST_F(GenerateTest, DegreesPastZGoOnThroughTheCharacterCodes) {
    const GeneratedTemplate at26 = generate("26");
    EXPECT_TRUE(at26.expanded.ends_with("Yx^24 + Zx^25 + [x^26")) << at26.expanded;
    EXPECT_TRUE(at26.nested.starts_with(std::string(25, '(') + "[x + Z)x + Y)x")) << at26.nested;
    generate("57");
    EXPECT_EQ(coefNames[26] + coefNames[27] + coefNames[28] + coefNames[29] + coefNames[30] +
                  coefNames[31],
              "[\\]^_`");
    EXPECT_EQ(coefNames[32], "a");
    EXPECT_EQ(coefNames[57], "z");
}

TEST_F(GenerateTest, TheLargestDegreeEndsAtCode255) {
    EXPECT_EQ(generate("190").degree, 190);
    EXPECT_EQ(coefficients.rowCount(), 192);
    EXPECT_EQ(answers.colCount(), 192);
    EXPECT_EQ(coefficients.cell(0, 191), "\xc3\xbf"); // y with diaeresis
    EXPECT_EQ(coefficientLetter(62), "\x7f");
    EXPECT_EQ(coefficientLetter(63), "\xc2\x80");
}

TEST_F(GenerateTest, RefusesDegreesAbove190BeforeAnythingChanges) {
    const CellTable coefficientsBefore = coefficients;
    EXPECT_THROW(
        try { generate("191"); } catch (const Exception& error) {
            EXPECT_STREQ(error.what(), "Degree 191 is too large: the largest degree is 190");
            throw;
        },
        Exception);
    EXPECT_THROW(generate("2147483647"), Exception);
    EXPECT_EQ(coefNames, (Texts{"A", "B", "C", "D"}));
    EXPECT_EQ(coefficients, coefficientsBefore);
    EXPECT_EQ(answers.colCount(), 5);
}

TEST(TemplateForms, FollowTheLettersGiven) {
    EXPECT_EQ(expandedForm({}), "");
    EXPECT_EQ(nestedForm({}), "");
    EXPECT_EQ(expandedForm({"2", "3", "-2"}), "2 + 3x^1 + -2x^2");
    EXPECT_EQ(nestedForm({"p", "q", "r", "s"}), "((sx + r)x + q)x + p");
}

} // namespace
