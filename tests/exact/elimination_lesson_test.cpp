#include "exact/elimination_lesson.h"

#include "exact/rounded_arithmetic.h"
#include "exact/row_reduction.h"
#include "toolkit/errors.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kClassic = "0.003000 59.14 59.17\n5.291 -6.130 46.78\n";
const Arithmetic kFourDigits{Arithmetic::Kind::decimal, 4, false};
const Arithmetic kExact{};

TEST(EliminationLesson, TheClassicExampleSideBySideInFourDigitsAndExact) {
    EliminationLesson lesson(kClassic);
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    ASSERT_EQ(lesson.steps(), 2u);
    EXPECT_EQ(lesson.caption(1), "R2 ← R2 − 1764·R1");
    EXPECT_EQ(lesson.system(1, 0)[1], (std::vector<std::string>{"0", "-104300", "-104400"}));
    EXPECT_EQ(lesson.verdict(0),
              "Upper triangular: x1 = -10.00, x2 = 1.001. Against exact: 0 of 4 digits kept.");
    EXPECT_EQ(lesson.verdict(1), "Upper triangular: x1 = 10, x2 = 1.");
    EXPECT_EQ(lesson.arithmeticName(0), "4-digit rounding");
    EXPECT_LT(lesson.keptDigits(1), 4) << lesson.mostLost();
    EXPECT_NE(lesson.mostLost().find("at step 1, R2 ← R2 − 1764·R1"), std::string::npos)
        << lesson.mostLost();

    lesson.choose(kFourDigits, kExact, Pivoting::partial);
    ASSERT_EQ(lesson.steps(), 3u);
    EXPECT_EQ(lesson.caption(1), "Swap Row 1 and Row 2");
    EXPECT_EQ(lesson.verdict(0),
              "Upper triangular: x1 = 10.00, x2 = 1.000. Against exact: 4 of 4 digits kept.");
    lesson.choose(kFourDigits, std::nullopt, Pivoting::partial);
    EXPECT_EQ(lesson.verdict(1), "") << "nothing beside";
}

TEST(EliminationLesson, AStudentsOperationsRunInBothArithmeticsAndUndoOneByOne) {
    EliminationLesson lesson(kClassic);
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    EXPECT_EQ(lesson.apply("R3 <-> R1"), "There is no row 3: the system has 2 rows.");
    EXPECT_FALSE(lesson.studentRun()) << "a refusal changes nothing";
    EXPECT_EQ(lesson.apply("R1 <-> R2"), std::nullopt);
    EXPECT_TRUE(lesson.studentRun());
    EXPECT_EQ(lesson.steps(), 2u) << "the student's run starts from the system";
    EXPECT_EQ(lesson.verdict(0), "Not yet upper triangular.");
    EXPECT_EQ(lesson.apply("R2 <- R2 - 0.0005670 R1"), std::nullopt);
    EXPECT_EQ(lesson.verdict(0), "Upper triangular: x1 = 10.00, x2 = 1.000.")
        << "0.0005670 clears nothing exactly: no exact solution to hold it against";
    EXPECT_TRUE(lesson.undo());
    EXPECT_EQ(lesson.verdict(0), "Not yet upper triangular.");
    EXPECT_TRUE(lesson.undo());
    EXPECT_FALSE(lesson.undo());
    lesson.choose(kFourDigits, kExact, Pivoting::none);
    EXPECT_TRUE(lesson.studentRun()) << "a new arithmetic replays the student's steps";
}

// Beyond single precision: the change raises, and the lesson is as it was.
TEST(EliminationLesson, AnOverflowChangesNothing) {
    EliminationLesson lesson("1e30 1 2\n1e30 3 4\n");
    lesson.choose(Arithmetic{Arithmetic::Kind::singles}, kExact, Pivoting::none);
    const auto before = lesson.system(1, 0);
    EXPECT_THROW(lesson.apply("R2 <- R2 - 1e30 R1"), Exception);
    EXPECT_FALSE(lesson.studentRun());
    EXPECT_EQ(lesson.steps(), 2u);
    EXPECT_EQ(lesson.system(1, 0), before);
    EXPECT_EQ(lesson.apply("R2 <- R2 - 1 R1"), std::nullopt) << "and goes on from there";
}

TEST(EliminationLesson, ASystemThatIsNoneIsRefusedByLine) {
    for (const auto& [text, says] :
         {std::pair{"1 2 3\n4 5", "Line 2 has 2 numbers; 2 equations take 3 in each line"},
          {"1 x 3\n4 5 6", "Line 1: '\u2068x\u2069' is not a number."},
          {"\n \n", "Type the system"}}) {
        try {
            EliminationLesson lesson(text);
            ADD_FAILURE() << text;
        } catch (const Exception& error) {
            EXPECT_NE(std::string(error.what()).find(says), std::string::npos) << error.what();
        }
    }
    std::string thirteen;
    for (int r = 0; r < 13; ++r)
        thirteen += std::string(14 * 2, ' ').replace(0, 1, "1") + "\n";
    EXPECT_THROW(EliminationLesson{thirteen}, Exception);
}

// Twelve unknowns in double precision: every system fits the page's width.
TEST(EliminationLesson, LatexTakesTwelveUnknownsWithinTheWidth) {
    std::string text;
    for (int r = 1; r <= 12; ++r) {
        for (int c = 1; c <= 13; ++c)
            text += std::to_string(1.0 / (r + c)) + " ";
        text += "\n";
    }
    EliminationLesson lesson(text);
    lesson.choose(Arithmetic{Arithmetic::Kind::doubles}, kExact, Pivoting::partial);
    const std::string latex = lesson.latex();
    size_t arrays = 0;
    for (size_t at = 0;
         (at = latex.find("\\resizebox{\\ifdim\\width>\\linewidth", at)) != std::string::npos; ++at)
        ++arrays;
    EXPECT_EQ(arrays, lesson.steps());
    EXPECT_NE(latex.find("{rrrrrrrrrrrr|r}"), std::string::npos);
    EXPECT_NE(latex.find("$R_{2} \\leftarrow"), std::string::npos) << latex.substr(0, 600);
}

} // namespace
